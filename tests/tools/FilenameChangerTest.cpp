#include "ToolTestSupport.h"
#include "foundation/FileHelpers.h"
#include "tags/FileTags.h"
#include "tools/FilenameChanger.h"

#include <QDir>
#include <QHash>

#include <sys/stat.h>

namespace tessel::test {
namespace {

using Changer = FilenameChanger;

// A tagged music file at folder/as with a track number (0: none), a title and an artist.
QString musicFile(const TempFolder& folder, const QString& as, int number, const QString& title,
                  const QString& artist = "Artist") {
    const QString path = folder.copyFixture("tagged.mp3", as);
    filetags::writeField(path, "trackNumber", qint64(number));
    const MusicTrack track = MusicTrack::withPath(path);
    track.setTag("name", title);
    track.setTag("artist", artist);
    return path;
}

void moveFile(const QString& from, const QString& to) {
    if (const std::optional<QString> why = moveWithoutReplacing(from, to))
        throw TesselError("Rename Failed", *why);
}

QList<Rename> renameIn(const QString& folder, Changer::Options options, bool apply = true) {
    options.folderPath = QUrl::fromLocalFile(folder);
    const Changer tool(options);
    RecordingProgress progress;
    return tool.run(tool.musicFiles(), apply ? FileMover(moveFile) : FileMover(), progress);
}

Changer::Options pattern(const QString& text, int padding = Changer::kAutomatic) {
    Changer::Options options;
    options.filenameString = text;
    options.selectedTrailingZeroes = padding;
    return options;
}

Changer inFolder(const QString& folder, const QString& text = {}) {
    Changer::Options options = pattern(text);
    if (!folder.isEmpty())
        options.folderPath = QUrl::fromLocalFile(folder);
    return Changer(options);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST(FilenameChangerTest, PadsOneDigitNumbersByTheCountOfTheFilesFolder) {
    for (const int files : {12, 9}) {
        TempFolder folder;
        for (int n = 1; n <= files; ++n)
            musicFile(folder, QString("f%1.mp3").arg(n), n,
                      n == 3 ? "Intro" : QString("T%1").arg(n));
        renameIn(folder.path(), pattern("#n - #t"));
        const QStringList names = filesIn(folder.path());
        EXPECT_TRUE(names.contains(files == 12 ? "03 - Intro.mp3" : "3 - Intro.mp3")) << files;
        EXPECT_EQ(names.size(), files);
    }
    struct Row {
        const char* number;
        int padding, folderCount;
        const char* shown;
    };
    const Row rows[] = {{"3", Changer::kAlways, 9, "03"},
                        {"3", Changer::kAlways, 12, "03"},
                        {"3", Changer::kNever, 12, "3"},
                        {"3", Changer::kAutomatic, 10, "03"},
                        {"3", Changer::kAutomatic, 9, "3"},
                        {"12", Changer::kAlways, 1, "12"},
                        {"7", 5, 99, "7"}};
    for (const Row& row : rows)
        EXPECT_EQ(Changer::paddedNumber(row.number, row.padding, row.folderCount), row.shown)
            << row.number << " " << row.padding << " " << row.folderCount;
}

TEST(FilenameChangerTest, RecursiveScanCountsEachFolderApart) {
    TempFolder folder;
    for (int n = 1; n <= 5; ++n)
        musicFile(folder, QString("small/s%1.mp3").arg(n), n, "Small");
    for (int n = 1; n <= 15; ++n)
        musicFile(folder, QString("big/b%1.mp3").arg(n), n, "Big");
    // Without the recursive scan the folder holds no music file of its own.
    EXPECT_TRUE(inFolder(folder.path()).musicFiles().isEmpty());

    Changer::Options options = pattern("#n #t");
    options.renameRecursiveScan = true;
    const QList<Rename> renames = renameIn(folder.path(), options);
    EXPECT_EQ(renames.size(), 20);
    EXPECT_TRUE(filesIn(folder.filePath("small")).contains("4 Small.mp3"));
    EXPECT_TRUE(filesIn(folder.filePath("big")).contains("04 Big.mp3"));
    EXPECT_TRUE(filesIn(folder.filePath("big")).contains("15 Big.mp3"));
}

TEST(FilenameChangerTest, MissingTagsLeaveTheirTokensOrSkipTheFile) {
    TempFolder folder;
    const QString unnumbered = musicFile(folder, "a.mp3", 0, "Intro");
    const QString hashed = musicFile(folder, "b.mp3", 5, "Best #a", "Band");
    const QString junk = folder.writeFile("c.mp3", "not music at all");

    Changer::Options skip = pattern("#n - #t");
    skip.renameSkipMissing = true;
    for (const Rename& rename : renameIn(folder.path(), skip))
        EXPECT_EQ(rename.outcome, Rename::TokenLeft) << rename.from.toStdString();
    EXPECT_EQ(filesIn(folder.path()), QStringList({"a.mp3", "b.mp3", "c.mp3"}));

    renameIn(folder.path(), pattern("#n - #t"));
    // The title's own "#a" is not expanded again; an unreadable file keeps every token.
    EXPECT_EQ(filesIn(folder.path()),
              QStringList({"#n - #t.mp3", "#n - Intro.mp3", "5 - Best #a.mp3"}));
    EXPECT_EQ(Changer::expandedName("#t by #a, #a", {{"#t", "#a"}, {"#a", "Band"}}),
              "#a by Band, Band");
}

TEST(FilenameChangerTest, KeepsTheExtensionAndRefusesUnusableNames) {
    TempFolder folder;
    musicFile(folder, "a.MP3", 1, "Song");
    renameIn(folder.path(), pattern("#t"));
    EXPECT_EQ(filesIn(folder.path()), QStringList({"Song.MP3"}));

    for (const char* title : {"AC/DC", "", "..", "."}) {
        TempFolder other;
        const QString path = musicFile(other, "x.mp3", 1, title);
        const QList<Rename> renames = renameIn(other.path(), pattern("#t"));
        ASSERT_EQ(renames.size(), 1);
        EXPECT_EQ(renames.first().outcome, Rename::UnsafeName) << title;
        EXPECT_EQ(filesIn(other.path()), QStringList({"x.mp3"})) << title;
        EXPECT_TRUE(QDir(other.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }
}

TEST(FilenameChangerTest, NeverRenamesOverAnotherFile) {
    TempFolder folder;
    musicFile(folder, "one.mp3", 1, "Same");
    musicFile(folder, "two.mp3", 2, "Same");
    const QString taken = musicFile(folder, "three.mp3", 3, "Taken");
    // Already named as the pattern says: it stays, and its name stays taken.
    const QString owner = musicFile(folder, "Taken.mp3", 4, "Taken", "Owner");
    const QByteArray ownerBytes = fileBytes(owner);

    // The dry run tells the same story and moves nothing.
    const QList<Rename> planned = renameIn(folder.path(), pattern("#t"), false);
    EXPECT_EQ(filesIn(folder.path()),
              QStringList({"Taken.mp3", "one.mp3", "three.mp3", "two.mp3"}));
    const QList<Rename> done = renameIn(folder.path(), pattern("#t"));
    ASSERT_EQ(done.size(), planned.size());
    QHash<QString, Rename::Outcome> outcomes;
    qsizetype one = -1, two = -1;
    for (qsizetype i = 0; i < done.size(); ++i) {
        EXPECT_EQ(done.at(i).outcome, planned.at(i).outcome);
        const QString name = QFileInfo(done.at(i).from).fileName();
        outcomes.insert(name, done.at(i).outcome);
        if (name == "one.mp3")
            one = i;
        if (name == "two.mp3")
            two = i;
    }
    // Of the two that expand to "Same", the first in listing order gets the name.
    EXPECT_EQ(outcomes.value(one < two ? "one.mp3" : "two.mp3"), Rename::Renamed);
    EXPECT_EQ(outcomes.value(one < two ? "two.mp3" : "one.mp3"), Rename::NameTaken);
    EXPECT_EQ(outcomes.value("three.mp3"), Rename::NameTaken);
    EXPECT_EQ(outcomes.value("Taken.mp3"), Rename::SameName);
    EXPECT_EQ(fileBytes(owner), ownerBytes);
    EXPECT_TRUE(QFileInfo::exists(taken));
    EXPECT_EQ(filesIn(folder.path()).size(), 4);
}

TEST(FilenameChangerTest, ChecksAndListingBeforeAnyRename) {
    EXPECT_EQ(inFolder({}).validate()->title, "No Folder");
    TempFolder folder;
    const QString managed = folder.filePath("Music/iTunes/iTunes Music/Album");
    ASSERT_TRUE(QDir().mkpath(managed));
    const auto warning = inFolder(managed).managedFolderWarning();
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->defaultButton, "Cancel");
    EXPECT_EQ(warning->alternateButton, "Continue");
    EXPECT_FALSE(inFolder(folder.path()).managedFolderWarning());

    // A pipe named like music is no music file: reading it would block.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath("pipe.mp3")).constData(), 0600), 0);
    folder.writeFile("notes.txt", "x");
    const QString song = folder.copyFixture("tagged.flac", "song.flac");
    EXPECT_EQ(inFolder(folder.path()).musicFiles(), QStringList({song}));

    RecordingProgress progress;
    inFolder(folder.path(), "#t").run({song}, FileMover(), progress);
    EXPECT_EQ(progress.lines,
              QStringList({"Preparing changes…", "1/1 - " + QUrl::fromLocalFile(song).toString()}));
}

}  // namespace
}  // namespace tessel::test
