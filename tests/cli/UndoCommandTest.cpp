// tessel-cli history and undo end to end, over the four fixture formats.
#include "CliTestSupport.h"
#include "model/MusicTrack.h"

namespace tessel {
namespace {

using test::CliRun;

class UndoCommandTest : public test::CliTest {};

TEST_F(UndoCommandTest, HistoryListsTheRunAndUndoPreviewsThenTakesItBack) {
    const QStringList paths = musicFolder();
    CliRun ran = run({"search-replace", "--folder", folder(), "--search", "Song", "--replace",
                      "Tune", "--uncheck", "4", "--apply"});
    ASSERT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    MusicTrack::withPath(paths.at(1)).setTag("name", "Mine");

    CliRun history = run({"history"});
    ASSERT_EQ(history.exitCode, 0) << history.err.toStdString();
    ASSERT_EQ(history.lines().size(), 2) << history.out.toStdString();
    EXPECT_TRUE(history.lines().at(1).contains(
        QRegularExpression("^    1  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  Search & Replace "
                           "+3$")))
        << history.out.toStdString();

    const CliRun preview = run({"undo"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QStringList lines = preview.lines();
    ASSERT_EQ(lines.size(), 6) << preview.out.toStdString();
    EXPECT_TRUE(lines.at(0).startsWith("Taking back run 1 (Search & Replace, "));
    EXPECT_EQ(lines.at(1), "Passed over: 1 value changed since the run.");
    EXPECT_EQ(lines.at(2), "   1 [x] Tune | Artist | Tune → Song");
    EXPECT_EQ(lines.at(4), "Left alone:");
    EXPECT_TRUE(lines.at(5).endsWith("“name” is now “Mine”, not “Tune” as the run wrote"));
    EXPECT_EQ(MusicTrack::withPath(paths.at(0)).title(), "Tune") << "a preview writes nothing";

    const CliRun undo = run({"undo", "--apply"});
    ASSERT_EQ(undo.exitCode, 0) << undo.err.toStdString();
    EXPECT_TRUE(undo.out.contains("2 changes applied."));
    for (const QString& path : {paths.at(0), paths.at(2), paths.at(3)})
        EXPECT_EQ(MusicTrack::withPath(path).title(), "Song") << path.toStdString();
    EXPECT_EQ(MusicTrack::withPath(paths.at(1)).title(), "Mine");
    EXPECT_TRUE(run({"history"}).lines().at(1).endsWith("  undone"));

    const CliRun again = run({"undo", "--apply"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("Nothing to Undo: No applied run is left to take back."));
    EXPECT_EQ(run({"undo", "--run", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace tessel
