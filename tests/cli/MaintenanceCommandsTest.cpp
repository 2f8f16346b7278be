// tessel-cli playlist, dead and relink end to end, over a library imported from the export of
// an old computer whose files now live elsewhere.
#include "CliTestSupport.h"
#include "itunes/MusicLibrary.h"
#include "model/MusicTrack.h"
#include "tags/PlayStats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QUrl>

namespace tessel {
namespace {

struct ExportTrack {
    int id;
    QString name;
    QString artist;
    QString album;
    QString location;  // a path; empty: a stream
    int rating = 0;
    int plays = 0;
};

QString trackXml(const ExportTrack& track) {
    const bool stream = track.location.isEmpty();
    const QString address =
        stream ? QStringLiteral("http://radio.example/live")
               : QString::fromLatin1(QUrl::fromLocalFile(track.location).toEncoded());
    return QStringLiteral(
               "<key>%1</key><dict><key>Track ID</key><integer>%1</integer>"
               "<key>Name</key><string>%2</string><key>Artist</key><string>%3</string>"
               "<key>Album</key><string>%4</string>"
               "<key>Rating</key><integer>%5</integer><key>Play Count</key><integer>%6</integer>"
               "<key>Persistent ID</key><string>00000000000000C%1</string>"
               "<key>Track Type</key><string>%7</string>"
               "<key>Location</key><string>%8</string></dict>")
        .arg(track.id)
        .arg(track.name, track.artist, track.album)
        .arg(track.rating)
        .arg(track.plays)
        .arg(stream ? QStringLiteral("URL") : QStringLiteral("File"), address);
}

QString playlistXml(const QString& name, const QString& id, const QList<int>& tracks) {
    QString items;
    for (int track : tracks)
        items += QStringLiteral("<dict><key>Track ID</key><integer>%1</integer></dict>").arg(track);
    return QStringLiteral(
               "<dict><key>Name</key><string>%1</string>"
               "<key>Playlist Persistent ID</key><string>%2</string>"
               "<key>Playlist Items</key><array>%3</array></dict>")
        .arg(name, id, items);
}

QString exportXml(const QList<ExportTrack>& tracks, const QStringList& playlists) {
    QString trackDicts;
    for (const ExportTrack& track : tracks)
        trackDicts += trackXml(track);
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
               "<key>Tracks</key><dict>%1</dict><key>Playlists</key><array>%2</array>"
               "</dict></plist>")
        .arg(trackDicts, playlists.join(QString()));
}

class MaintenanceCommandsTest : public test::CliTest {
  protected:
    void import(const QList<ExportTrack>& tracks, const QStringList& playlists) {
        temp.writeFile("Library.xml", exportXml(tracks, playlists).toUtf8());
        const test::CliRun imported = run({"library", "import-xml", temp.filePath("Library.xml")});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    }

    // The names of a playlist's tracks, read from the library.
    QStringList namesIn(const QString& playlistId) {
        const auto application = itunes::libraryProvider(libraryFile())();
        QStringList names;
        const auto playlists = application->sources().first()->userPlaylists(
            itunes::PlaylistFilter::withId(playlistId));
        for (const itunes::TrackPtr& track : playlists.first()->tracks())
            names.append(track->property("name").toString());
        return names;
    }
};

TEST_F(MaintenanceCommandsTest, PlaylistAddsTheMatchingTracksToTheTargetChosenById) {
    const QString song = temp.copyFixture("tagged.mp3", "music/song.mp3");
    import({{1, "Alive (LIVE)", "A", "X", song},
            {2, "Studio", "A", "X", song},
            { 3,
              "Live Wire",
              "A",
              "X",
              song }},
           {playlistXml("Concerts", "00000000000000D1", {1, 2, 3}),
            playlistXml("Best", "00000000000000D2", {}),
            playlistXml("Best", "00000000000000D3", {3})});
    const QStringList add{"playlist", "--playlist", "Concerts", "--text", "live"};
    const test::CliRun ambiguous = run(add + QStringList{"--target", "Best"});
    EXPECT_EQ(ambiguous.exitCode, 2);
    EXPECT_TRUE(ambiguous.err.contains("--target: 2 playlists are named 'Best'"))
        << ambiguous.err.toStdString();

    const test::CliRun preview = run(add + QStringList{"--target", "00000000000000d3", "--json"});
    EXPECT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QJsonObject changes = preview.json()["changes"].toObject();
    EXPECT_EQ(changes["info"].toString(),
              "Checked tracks of these 2 tracks will added to the playlist 'Best':");
    EXPECT_EQ(changes["records"].toArray().size(), 2);
    EXPECT_EQ(namesIn("00000000000000D3"), QStringList({"Live Wire"}));

    const test::CliRun applied = run(add + QStringList{"--target", "00000000000000D3", "--apply"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_EQ(namesIn("00000000000000D3"), QStringList({"Live Wire", "Alive (LIVE)"}));
    EXPECT_TRUE(namesIn("00000000000000D2").isEmpty());

    const test::CliRun removed = run({"playlist", "--playlist", "00000000000000D1", "--condition",
                                      "is", "--text", "studio", "--action", "remove", "--apply"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_EQ(namesIn("00000000000000D1"), QStringList({"Alive (LIVE)", "Live Wire"}));
    EXPECT_TRUE(QFile::exists(song));

    const test::CliRun refused = run({"playlist", "--playlist", "Concerts", "--condition", "longer",
                                      "--text", "abc", "--action", "remove"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Invalid Data")) << refused.err.toStdString();
}

// What the library holds of a playlist's tracks: name, location, rating and play count.
QStringList playlistState(const QString& library, const QString& playlistId) {
    const auto application = itunes::libraryProvider(library)();
    const auto playlists =
        application->sources().first()->userPlaylists(itunes::PlaylistFilter::withId(playlistId));
    QStringList rows;
    for (const itunes::TrackPtr& track : playlists.first()->tracks()) {
        rows.append(QStringLiteral("%1 | %2 | %3 | %4")
                        .arg(track->property("name").toString(),
                             track->location().value_or(QStringLiteral("-")),
                             track->property("rating").toString(),
                             track->property("playedCount").toString()));
    }
    return rows;
}

TEST_F(MaintenanceCommandsTest, RelinkRepairsALibraryFromAnOldComputerAndDeadRemovesTheRest) {
    // The files now live below music/, with the tags the old library knew them by.
    const auto copy = [&](const QString& fixture, const QString& as, const QString& title) {
        const QString path = temp.copyFixture(fixture, "music/" + as);
        MusicTrack::withPath(path).setTag("name", title);
        return path;
    };
    const QString one = copy("tagged.mp3", "a/one.mp3", "One");
    const QString two = copy("tagged.flac", "b/two.flac", "Two");
    copy("tagged.ogg", "c/twin-1.ogg", "Twin");
    copy("tagged.m4a", "c/twin-2.m4a", "Twin");
    const QString old = QStringLiteral("/Users/someone/Music/iTunes/");
    import({{1, "One", "Artist", "Album", old + "One.mp3", 80, 12},
            {2, "Two", "Artist", "Album", old + "Two.flac", 60, 3},
            {3, "Twin", "Artist", "Album", old + "Twin.ogg", 20, 1},
            {4, "Gone", "Artist", "Album", old + "Gone.mp3", 100, 40},
            { 5,
              "Radio",
              "Station",
              "",
              QString() }},
           {playlistXml("Old Favourites", "00000000000000E1", {4, 1, 2, 3, 5, 1}),
            playlistXml("Road", "00000000000000E2", {2, 4})});
    const QStringList before = playlistState(libraryFile(), "00000000000000E1");
    const QStringList road = playlistState(libraryFile(), "00000000000000E2");

    const QStringList relink{"relink", "--playlist", "Old Favourites", "--choose",
                             temp.filePath("music")};
    const test::CliRun preview = run(relink + QStringList{"--json"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QJsonArray records = preview.json()["changes"].toObject()["records"].toArray();
    // One is listed twice in the playlist: each entry is searched and proposed.
    ASSERT_EQ(records.size(), 3);
    QStringList proposed;
    for (const QJsonValue& record : records)
        proposed.append(record["title"].toString() + " → " + record["newTag"].toString());
    proposed.sort();
    EXPECT_EQ(proposed, QStringList({"One → " + one, "One → " + one, "Two → " + two}));
    EXPECT_EQ(playlistState(libraryFile(), "00000000000000E1"), before);
    EXPECT_TRUE(preview.err.contains("result at 0 - ")) << preview.err.toStdString();

    const test::CliRun applied = run(relink + QStringList{"--apply"});
    ASSERT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith("3 changes applied.\n")) << applied.out.toStdString();
    // Every entry stays in place with its rating and play count; only the locations changed.
    const QStringList after = playlistState(libraryFile(), "00000000000000E1");
    EXPECT_EQ(after.size(), 6);
    EXPECT_TRUE(after.at(1).startsWith("One | " + one + " | ")) << after.at(1).toStdString();
    for (int i : {1, 2, 5})
        EXPECT_EQ(after.at(i).section(" | ", 2), before.at(i).section(" | ", 2));
    EXPECT_EQ(after.at(0), before.at(0));  // Gone: no file anywhere
    EXPECT_EQ(after.at(3), before.at(3));  // Twin: two files fit, none chosen
    EXPECT_EQ(playlistState(libraryFile(), "00000000000000E2").at(0),
              "Two | " + two + " | " + road.at(0).section(" | ", 2));

    // What could not be re-linked is removed from the chosen playlist only.
    const test::CliRun dead = run({"dead", "--playlist", "00000000000000E1", "--apply"});
    ASSERT_EQ(dead.exitCode, 0) << dead.err.toStdString();
    EXPECT_TRUE(dead.out.endsWith("2 changes applied.\n")) << dead.out.toStdString();
    QStringList names;
    for (const QString& row : playlistState(libraryFile(), "00000000000000E1"))
        names.append(row.section(" | ", 0, 0));
    EXPECT_EQ(names, QStringList({"One", "Two", "Radio", "One"}));
    EXPECT_EQ(playlistState(libraryFile(), "00000000000000E2").size(), 2);

    const test::CliRun none = run({"dead", "--playlist", "00000000000000E1"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.err.contains("No Dead Tracks")) << none.err.toStdString();
    const test::CliRun typo = run({"relink", "--choose", temp.filePath("musik")});
    EXPECT_EQ(typo.exitCode, 2);
    EXPECT_TRUE(typo.err.contains("is not a folder")) << typo.err.toStdString();
    const test::CliRun unanswered = run({"relink", "--playlist", "00000000000000E1"});
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_TRUE(unanswered.out.isEmpty()) << unanswered.out.toStdString();
}

// The library of an old computer, re-linked, then every playlist handed to another player as
// M3U8 relative to its music folder: each entry resolves to a file there, the dead one and the
// stream aside, and the two playlists called "Mix" get a file each.
TEST_F(MaintenanceCommandsTest, AllPlaylistsExportAfterRelinkingResolveInTheMusicFolder) {
    const auto copy = [&](const QString& fixture, const QString& as, const QString& title) {
        const QString path = temp.copyFixture(fixture, "music/" + as);
        MusicTrack::withPath(path).setTag("name", title);
        return path;
    };
    copy("tagged.mp3", "Björk #1/one.mp3", "One");
    copy("tagged.flac", "b/two.flac", "Two");
    const QString old = QStringLiteral("/Users/someone/Music/iTunes/");
    import({{1, "One", "Artist", "Album", old + "One.mp3"},
            {2, "Two", "Artist", "Album", old + "Two.flac"},
            {4, "Gone", "Artist", "Album", old + "Gone.mp3"},
            { 5,
              "Radio",
              "Station",
              "",
              QString() }},
           {playlistXml("Mix", "00000000000000F1", {1, 4, 2}),
            playlistXml("Mix", "00000000000000F2", {2, 5}),
            playlistXml(".hidden/odd", "00000000000000F3", {1})});
    // One run re-links the tracks; every playlist holding them follows.
    const test::CliRun relinked = run({"relink", "--playlist", "00000000000000F1", "--choose",
                                       temp.filePath("music"), "--apply"});
    ASSERT_EQ(relinked.exitCode, 0) << relinked.err.toStdString();

    const QString lists = temp.filePath("lists");
    ASSERT_TRUE(QDir().mkpath(lists));
    const test::CliRun exported =
        run({"export", "--all-playlists", "--format", "m3u8", "--relative-to",
             temp.filePath("music"), "--save-to", lists});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, "3 playlists exported to " + lists + ": 5 entries, 1 dead left out.\n");
    EXPECT_TRUE(exported.err.contains("saved to “" + lists +
                                      "”. 1 track whose file cannot be found was left out."))
        << exported.err.toStdString();
    EXPECT_EQ(QDir(lists).entryList(QDir::Files, QDir::Name),
              QStringList({"Mix (2).m3u8", "Mix.m3u8", "hidden-odd.m3u8"}));
    int files = 0;
    for (const QString& list : QDir(lists).entryList(QDir::Files)) {
        const QStringList lines =
            QString::fromUtf8(test::fileBytes(QDir(lists).filePath(list))).split(u'\n');
        EXPECT_EQ(lines.first(), "#EXTM3U");
        for (const QString& line : lines) {
            if (line.isEmpty() || line.startsWith(u'#') || line.startsWith("http://"))
                continue;
            EXPECT_TRUE(QFileInfo(QDir(temp.filePath("music")).filePath(line)).isFile())
                << line.toStdString();
            ++files;
        }
    }
    EXPECT_EQ(files, 4);  // One and Two, Two, One
}

// Ratings and play counts of an imported library go into the files on --apply; a second run
// finds nothing to do, and a library filled from those files takes them back.
TEST_F(MaintenanceCommandsTest, WriteStatsPutsRatingsIntoFilesAndAddingTheFolderReadsThemBack) {
    const QString mp3 = temp.copyFixture("tagged.mp3", "music/one.mp3");
    const QString flac = temp.copyFixture("tagged.flac", "music/two.flac");
    import({{1, "One", "Artist", "Album", mp3, 80, 12},
            {2, "Two", "Artist", "Album", flac, 0, 0},
            { 3,
              "Gone",
              "Artist",
              "Album",
              temp.filePath("gone.mp3"),
              100,
              40 }},
           {playlistXml("Rated", "00000000000000A1", {1, 2, 3})});
    const QStringList stats{"write-stats", "--playlist", "Rated"};
    const test::CliRun preview = run(stats + QStringList{"--json"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QJsonArray records = preview.json()["changes"].toObject()["records"].toArray();
    ASSERT_EQ(records.size(), 1);  // Two has none, Gone has no file
    EXPECT_EQ(records.first()["newTag"].toString(), "FMPS_RATING 0.8, FMPS_PLAYCOUNT 12");
    EXPECT_EQ(filetags::readPlayStats(mp3), filetags::PlayStats());

    ASSERT_EQ(run(stats + QStringList{"--apply"}).exitCode, 0);
    EXPECT_EQ(filetags::readPlayStats(mp3), filetags::PlayStats({80, 12}));
    const test::CliRun again = run(stats);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains("No Changes")) << again.err.toStdString();

    // A fresh library takes the file's values for a track that has none.
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(libraryFile() + QLatin1String(suffix));
    ASSERT_EQ(run({"library", "add-folder", temp.filePath("music"), "--playlist", "New"}).exitCode,
              0);
    const auto application = itunes::libraryProvider(libraryFile())();
    int rated = 0;
    for (const auto& playlist : application->sources().first()->userPlaylists()) {
        for (const itunes::TrackPtr& track : playlist->tracks()) {
            if (track->location() == std::optional<QString>(mp3)) {
                EXPECT_EQ(track->property("rating").toLongLong(), 80);
                EXPECT_EQ(track->property("playedCount").toLongLong(), 12);
                ++rated;
            }
        }
    }
    EXPECT_EQ(rated, 1);
}

}  // namespace
}  // namespace tessel
