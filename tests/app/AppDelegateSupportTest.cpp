#include "MemoryLibrary.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "support/RatingPrompt.h"
#include "support/SupportLinks.h"

namespace tessel {
namespace {

class AppDelegateSupportTest : public test::TesselTest {
  protected:
    AppDelegateSupportTest() : delegate(library.provider(), presenter()) {}

    QString version() { return env.lib().appVersionString(); }
    qint64 setting(const QString& key) { return env.lib().settings().intValue(key); }

    test::MemoryLibrary library;
    AppDelegate delegate;
};

TEST_F(AppDelegateSupportTest, LaunchAsksForARatingOnceAfterTwentyOperations) {
    struct Row {
        const char* name;
        qint64 usages;
        QList<int> answers;
        int alerts;
        QString opened;  // empty: nothing
    };
    const QString storeApp = VendorAddresses::configured().storeAppPage;
    const QString updates = VendorAddresses::configured().updatesProductPage;
    const Row rows[] = {
        {"twenty operations", 20, {}, 0, {}},
        {"twenty-one, don't rate", 21, {kAlertAlternate}, 1, {}},
        {"twenty-one, rate in the store", 21, {kAlertDefault}, 1, storeApp},
        {"many, rate on the update site", 99, {kAlertOther}, 1, updates},
    };
    for (const Row& row : rows) {
        test::TestEnvironment launchEnv;
        AppDelegate launched(library.provider(), launchEnv.presenter);
        launchEnv.lib().settings().setIntValue(usagesKey(version()), row.usages);
        launchEnv.presenter.answers = row.answers;
        launched.applicationDidFinishLaunching();
        EXPECT_EQ(launchEnv.presenter.alerts.size(), row.alerts) << row.name;
        if (row.alerts > 0) {
            EXPECT_EQ(launchEnv.presenter.alerts.first().title, QStringLiteral("Rate Tessel?"));
        }
        EXPECT_EQ(launchEnv.lib().settings().intValue(askedKey(version())), row.alerts) << row.name;
        const QString opened = launchEnv.presenter.openedURLs.isEmpty()
                                   ? QString()
                                   : launchEnv.presenter.openedURLs.first().toString();
        EXPECT_EQ(opened, row.opened) << row.name;

        // The next launch of this version does not ask again.
        AppDelegate next(library.provider(), launchEnv.presenter);
        next.applicationDidFinishLaunching();
        EXPECT_EQ(launchEnv.presenter.alerts.size(), row.alerts) << row.name;
    }
}

TEST_F(AppDelegateSupportTest, AProgramThatRunsUnattendedNeverAsks) {
    env.lib().settings().setIntValue(usagesKey(version()), 50);
    delegate.setAsksForRating(false);
    delegate.applicationDidFinishLaunching();
    EXPECT_TRUE(presenter().alerts.isEmpty());
    EXPECT_EQ(setting(askedKey(version())), 0);
    EXPECT_TRUE(delegate.isRateable());
}

TEST_F(AppDelegateSupportTest, LinkButtonsOpenTheLinkOfTheLow8BitsOfTheirTag) {
    delegate.applicationDidFinishLaunching();
    const VendorAddresses addresses = VendorAddresses::configured();
    const QString supportMail =
        QStringLiteral("mailto:") + addresses.feedbackEmail + QStringLiteral("?subject=Tessel%20v");
    struct Row {
        int tag;
        QString opened;  // the start of the address; empty: nothing opens
    };
    const Row rows[] = {
        {0, {}},
        {1, supportMail},
        {2, QStringLiteral("mailto:") + addresses.feedbackEmail +
                QStringLiteral("?subject=Tessel%20Beta%20Versions")},
        {4, addresses.storeProductPage},
        {6, addresses.updatesProductPage},
        {7, {}},
        {256, {}},
        {257, supportMail},
        {-1, {}},
    };
    for (const Row& row : rows) {
        presenter().openedURLs.clear();
        delegate.openURL(row.tag);
        ASSERT_EQ(presenter().openedURLs.size(), row.opened.isEmpty() ? 0 : 1) << row.tag;
        if (!row.opened.isEmpty()) {
            EXPECT_TRUE(
                presenter().openedURLs.first().toString(QUrl::FullyEncoded).startsWith(row.opened))
                << row.tag;
        }
    }
}

}  // namespace
}  // namespace tessel
