#include "TestSupport.h"
#include "support/RatingPrompt.h"
#include "support/SupportLinks.h"

namespace tessel {
namespace {

struct Launch {
    QString version = QStringLiteral("1.0");
    int answer = kAlertDefault;
};

// Runs the prompt on store and returns the link it opens; asked counts the alerts shown.
quint8 launch(SettingsStore& store, const Launch& at, int& asked) {
    return runRatingPrompt(store, QStringLiteral("Tessel"), at.version, [&](const AlertRequest&) {
        ++asked;
        return at.answer;
    });
}

TEST(RatingPromptTest, AsksOnceAfterTheTwentiethOperationOfAVersion) {
    struct Row {
        const char* name;
        qint64 usages;
        int answer;
        bool shown;
        quint8 link;
    };
    const Row rows[] = {
        {"twenty operations", 20, kAlertDefault, false, 0},
        {"no operation", 0, kAlertDefault, false, 0},
        {"twenty-one, rate in the store", 21, kAlertDefault, true, kLinkStoreApp},
        {"twenty-one, don't rate", 21, kAlertAlternate, true, 0},
        {"many, rate on the update site", 500, kAlertOther, true, kLinkUpdatesPage},
    };
    for (const Row& row : rows) {
        MemorySettingsStore store;
        store.setIntValue(usagesKey("1.0"), row.usages);
        int asked = 0;
        EXPECT_EQ(launch(store, {"1.0", row.answer}, asked), row.link) << row.name;
        EXPECT_EQ(asked, row.shown ? 1 : 0) << row.name;
        EXPECT_EQ(store.intValue(askedKey("1.0")), row.shown ? 1 : 0) << row.name;
        // The next launch of the same version never asks again.
        EXPECT_EQ(launch(store, {"1.0", row.answer}, asked), 0) << row.name;
        EXPECT_EQ(asked, row.shown ? 1 : 0) << row.name;
    }
}

TEST(RatingPromptTest, ANewVersionCountsAndAsksAfresh) {
    MemorySettingsStore store;
    store.setIntValue(usagesKey("1.0"), 30);
    store.setIntValue(askedKey("1.0"), 1);
    int asked = 0;
    EXPECT_EQ(launch(store, {"1.1", kAlertDefault}, asked), 0);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(store.intValue(usagesKey("1.1")), 0);
    EXPECT_EQ(store.intValue(askedKey("1.1")), 0);
    store.setIntValue(usagesKey("1.1"), 21);
    launch(store, {"1.1", kAlertAlternate}, asked);
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace tessel
