// The About page's link buttons, through the desktop's URL handling (intercepted here, so no
// mail program or browser starts).
#include "GuiTestSupport.h"
#include "support/TesselLib.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

namespace tessel::gui::test {
namespace {

class UrlRecorder : public QObject {
    Q_OBJECT

  public:
    UrlRecorder() {
        for (const char* scheme : {"mailto", "https", "appstream"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlRecorder() override {
        for (const char* scheme : {"mailto", "https", "appstream"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> urls;

  public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class AboutPageTest : public GuiTest {
  protected:
    QPushButton* button(int tag) const {
        for (QPushButton* b : window->pageView(kAboutPage)->findChildren<QPushButton*>()) {
            if (b->property("tag").toInt() == tag)
                return b;
        }
        return nullptr;
    }
    UrlRecorder recorder;
};

TEST_F(AboutPageTest, TheSupportMailCarriesThePreferencesOnlyWithAlt) {
    // The user's own defaults, so there is a preferences file to attach.
    TesselLib withFile;
    withFile.settings().setIntValue(QStringLiteral("Launches"), 3);
    const QByteArray preferences = tessel::test::fileBytes(withFile.prefsPath());
    ASSERT_FALSE(preferences.isEmpty());
    window->showTab(kAboutPage);
    for (const int tag : {1, 2, 3, 4})
        ASSERT_NE(button(tag), nullptr) << tag;

    QTest::mouseClick(button(1), Qt::LeftButton);
    QTest::mouseClick(button(1), Qt::LeftButton, Qt::AltModifier);
    ASSERT_EQ(recorder.urls.size(), 2);
    EXPECT_EQ(recorder.urls.first().scheme(), QStringLiteral("mailto"));
    const auto body = [](const QUrl& url) {
        return QUrlQuery(url).queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded);
    };
    EXPECT_TRUE(body(recorder.urls.at(0)).endsWith(u'\n'));
    EXPECT_TRUE(
        body(recorder.urls.at(1)).endsWith(u'\n' + QString::fromLatin1(preferences.toBase64())));
}

}  // namespace
}  // namespace tessel::gui::test

#include "AboutPageTest.moc"
