// tessel-cli search-replace run as a separate program on copies of the fixtures.
#include "CliTestSupport.h"
#include "model/MusicTrack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace tessel {
namespace {

using test::CliRun;

class SearchReplaceCommandTest : public test::CliTest {
  protected:
    CliRun cli(const QStringList& arguments) {
        return run(QStringList{"search-replace"} + arguments);
    }
};

TEST_F(SearchReplaceCommandTest, PreviewListsTheChangesAndWritesNothing) {
    const QStringList paths = musicFolder();
    const auto before = bytesOf(paths);
    const CliRun run = cli({"--folder", folder(), "--search", "song", "--replace", "Tune"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    EXPECT_EQ(lines.first(), "Checked tracks of these 4 tracks will get their tag 'name' changed:");
    EXPECT_EQ(lines.at(1), "   1 [x] Song | Artist | Song → Tune");
    EXPECT_EQ(bytesOf(paths), before);
}

TEST_F(SearchReplaceCommandTest, ApplyWritesExactlyTheCheckedRows) {
    const QStringList paths = musicFolder();
    const auto before = bytesOf(paths);
    const CliRun run = cli({"--folder", folder(), "--search", "song", "--replace", "Tune",
                            "--uncheck", "2,4", "--apply", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = run.json();
    EXPECT_EQ(json["action"], "performSearchReplace");
    EXPECT_EQ(json["applied"], true);
    EXPECT_EQ(json["result"], "2 changes applied.");
    const QJsonArray records = json["changes"]["records"].toArray();
    ASSERT_EQ(records.size(), 4);
    for (const QJsonValue& record : records) {
        const QString path = record["location"].toString();
        ASSERT_TRUE(paths.contains(path)) << path.toStdString();
        const bool enabled = record["row"].toInt() % 2 == 1;
        EXPECT_EQ(record["enabled"], enabled);
        EXPECT_EQ(MusicTrack::withPath(path).title(), enabled ? "Tune" : "Song");
        if (!enabled) {
            EXPECT_EQ(test::fileBytes(path), before.value(path));
        }
    }
}

TEST_F(SearchReplaceCommandTest, AnInvalidPatternIsAnAlertThatStopsTheTool) {
    musicFolder();
    const CliRun run = cli({"--folder", folder(), "--search", "(", "--regex"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(
        "Invalid Search/Replace Pattern: The Search/Replace Regexp you've entered is invalid. "
        "Click on the Help icon in the lower left corner to learn more about the ICU Regexp "
        "syntax.\n"))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(SearchReplaceCommandTest, JsonOfARunWithoutChanges) {
    musicFolder();
    const CliRun run = cli({"--folder", folder(), "--search", "zzz", "--json", "--apply"});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject expected{
        {"action", "performSearchReplace"},
        {"alerts",
         QJsonArray{QJsonObject{{"title", "No Changes"},
                                {"message",
                                 "The Search/Replace Pattern you've entered doesn't lead to "
                                 "any changes in the tracks you've selected."},
                                {"buttons", QJsonArray{"OK"}},
                                {"answer", "OK"}}}},
        {"changes", QJsonValue()},
        {"applied", false},
        {"result", QJsonValue()}};
    EXPECT_EQ(run.json(), expected) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(SearchReplaceCommandTest, EveryOptionCanBeSetByItsName) {
    const QStringList paths = musicFolder();
    const CliRun run = cli({"--set", "folderPath=" + folder(), "--set", "selectedMethod=1", "--set",
                            "selectedTag=2", "--set", "searchString=album", "--set",
                            "replaceString=LP", "--set", "caseInsensitive=false", "--apply"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("No Changes") || run.err.contains("No Changes"));

    const CliRun second = cli({"--set", "folderPath=" + folder(), "--set", "selectedMethod=1",
                               "--set", "selectedTag=2", "--set", "searchString=Album", "--set",
                               "replaceString=LP", "--apply"});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    for (const QString& path : paths)
        EXPECT_EQ(MusicTrack::withPath(path).album(), "LP") << path.toStdString();
}

TEST_F(SearchReplaceCommandTest, PlaylistAndSelectionOfTheLibrary) {
    const QStringList paths = musicFolder();
    ASSERT_EQ(run({"library", "add-folder", folder(), "--playlist", "Rock"}).exitCode, 0);
    ASSERT_EQ(run({"library", "select", "--playlist", "Rock", "--rows", "2"}).exitCode, 0);

    const CliRun selection = cli({"--selection", "--search", "Song", "--replace", "X", "--json"});
    EXPECT_EQ(selection.exitCode, 0) << selection.err.toStdString();
    const QJsonObject selected = selection.json();
    EXPECT_EQ(selected["changes"]["records"].toArray().size(), 1);

    const CliRun missing = cli({"--playlist", "Jazz", "--search", "Song"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("Playlist Not Found: ")) << missing.err.toStdString();

    const CliRun applied =
        cli({"--playlist", "Rock", "--search", "Song", "--replace", "Tune", "--apply"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith("4 changes applied.\n")) << applied.out.toStdString();
    for (const QString& path : paths)  // the library writes its tags through to the files
        EXPECT_EQ(MusicTrack::withPath(path).title(), "Tune") << path.toStdString();
}

TEST_F(SearchReplaceCommandTest, UsageErrorsWriteNothing) {
    const QStringList paths = musicFolder();
    const auto before = bytesOf(paths);
    for (const QStringList& arguments :
         {QStringList{"--folder", folder(), "--search", "s", "--set", "selectedTag=x", "--apply"},
          QStringList{"--folder", folder(), "--search", "s", "--uncheck", "9", "--apply"},
          QStringList{"--folder"}}) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("tessel-cli search-replace: ")) << run.err.toStdString();
    }
    EXPECT_EQ(bytesOf(paths), before);
}

}  // namespace
}  // namespace tessel
