#include "TestSupport.h"
#include "changes/Progress.h"
#include "support/Settings.h"
#include "support/Tasks.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>

namespace tessel {
namespace {

using ProgressTest = test::TesselTest;

TEST_F(ProgressTest, BeginShowsTheTitleAndClearsAnEarlierDetailLine) {
    Progress progress(presenter());
    progress.setProgress(QStringLiteral("3/9 - Old"));
    QCoreApplication::processEvents();
    ASSERT_EQ(progress.detail(), QStringLiteral("3/9 - Old"));

    QStringList seen;
    QObject::connect(&progress, &Progress::detailChanged, [&] { seen.append(progress.detail()); });
    progress.begin(QStringLiteral("Collecting changes…"));
    EXPECT_TRUE(progress.detail().isEmpty());  // the sheet never shows the last run's line
    progress.setProgress(QStringLiteral("1/2 - New"));
    EXPECT_EQ(presenter().progressShown, 1);
    EXPECT_EQ(progress.title(), QStringLiteral("Collecting changes…"));
    ASSERT_TRUE(test::spinUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen, (QStringList{"", "1/2 - New"}));
}

TEST_F(ProgressTest, UpdatesFromAWorkerLandOnTheMainThreadInOrder) {
    Progress progress(presenter());
    QStringList seen;
    bool allOnMain = true;
    QObject::connect(&progress, &Progress::detailChanged, [&] {
        seen.append(progress.detail());
        allOnMain = allOnMain && isMainThread();
    });
    std::atomic<bool> sent{false};
    runInBackground([&] {
        for (int i = 1; i <= 300; ++i)
            progress.setProgress(QStringLiteral("%1/300").arg(i));
        sent = true;
    });
    ASSERT_TRUE(test::spinUntil([&] { return sent && seen.size() == 300; }));
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(seen.at(i), QStringLiteral("%1/300").arg(i + 1));
    EXPECT_TRUE(allOnMain);
}

TEST_F(ProgressTest, ALineThatCountsGivesThePositionAndTheCount) {
    Progress progress(presenter());
    progress.begin(QStringLiteral("Applying changes…"));
    const struct {
        const char* line;
        int step;
        int steps;
    } cases[] = {
        {"13810/20000 - 12/12 Song", 13810, 20000},
        {"3/12 ", 3, 12},
        {"4/12 Title", 4, 12},
        {"Preparation", 0, 0},
        {"", 0, 0},
        {"12/5 odd", 5, 5},
        {"1/0 - x", 0, 0},
    };
    for (const auto& c : cases) {
        progress.setProgress(QString::fromUtf8(c.line));
        progress.end();  // applies the line now
        EXPECT_EQ(progress.step(), c.step) << c.line;
        EXPECT_EQ(progress.steps(), c.steps) << c.line;
    }
}

TEST_F(ProgressTest, EndAppliesTheUpdatesStillWaiting) {
    Progress progress(presenter());
    progress.begin(QStringLiteral("Applying changes…"));
    progress.setProgress(QStringLiteral("1/2 A"));
    progress.setProgress(QStringLiteral("2/2 B"));
    progress.end();
    EXPECT_EQ(progress.detail(), QStringLiteral("2/2 B"));
}

TEST_F(ProgressTest, EndHidesTheSheetAndCountsOneUsageOfThisVersionOnly) {
    const QString key = Progress::usageCounterKey();
    EXPECT_EQ(key, QStringLiteral("tessellib_%1_usages").arg(env.lib().appVersionString()));
    setDefaultInt(QStringLiteral("tessellib_0.1_usages"), 40);

    Progress progress(presenter());
    progress.begin(QStringLiteral("Applying changes…"));
    progress.end();
    EXPECT_EQ(presenter().progressHidden, 1);
    EXPECT_EQ(defaultInt(key), 1);
    progress.begin(QStringLiteral("Applying changes…"));
    progress.end();
    EXPECT_EQ(defaultInt(key), 2);
    EXPECT_EQ(defaultInt(QStringLiteral("tessellib_0.1_usages")), 40);
}

}  // namespace
}  // namespace tessel
