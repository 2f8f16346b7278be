// Importing the hand-written Library.xml: every mapped field, the kinds of track, playlists
// with their kinds and entries, re-import, and files that must leave the library untouched.
#include "LibraryFixture.h"
#include "itunes/Connection.h"
#include "itunes/LibraryTrack.h"
#include "itunes/PlaylistStore.h"
#include "model/TrackGathering.h"

#include <QFile>

namespace tessel {
namespace {

using test::LibraryTest;

// Every row of every table, for comparing a library before and after.
QString dumpLibrary(const QString& path) {
    auto connection = itunes::Connection::open(path);
    return connection->locked([](sql::Database& db) {
        QString dump;
        for (const char* query :
             {"SELECT * FROM tracks ORDER BY id", "SELECT * FROM playlists ORDER BY id",
              "SELECT * FROM playlist_items ORDER BY id",
              "SELECT * FROM selection ORDER BY position"}) {
            sql::Statement statement(db, query);
            while (statement.step()) {
                for (int column = 0; column < 30; ++column)
                    dump += statement.value(column).toString() + u'|';
                dump += u'\n';
            }
        }
        return dump;
    });
}

itunes::TrackPtr trackNamed(const std::shared_ptr<itunes::LibraryApplication>& app,
                            const QString& name) {
    const auto music =
        app->sources().first()->userPlaylists(itunes::PlaylistFilter::named("Music"));
    const auto mixed =
        app->sources().first()->userPlaylists(itunes::PlaylistFilter::named("Mixed"));
    for (const auto& list : {music.first(), mixed.first()}) {
        for (const auto& track : list->tracks()) {
            if (track->property(QStringLiteral("name")).toString() == name)
                return track;
        }
    }
    throw std::runtime_error("no track " + name.toStdString());
}

TEST_F(LibraryTest, ImportsEveryMappedField) {
    const auto summary = importFixture();
    EXPECT_EQ(summary.tracksAdded, 6);
    EXPECT_EQ(summary.playlistsAdded, 7);
    EXPECT_EQ(summary.entriesSkipped, 1);

    const auto track = trackNamed(open(), QStringLiteral("Café & 🎵 Song"));
    const QList<std::pair<const char*, QVariant>> expected{
        {"artist", "The Artist"},
        {"albumArtist", "Various Artists"},
        {"composer", "A. Composer"},
        {"album", "The Album"},
        {"genre", "Jazz"},
        {"comment", "line one\nline two"},
        {"lyrics", ""},
        {"year", 1999},
        {"trackNumber", 3},
        {"trackCount", 12},
        {"discNumber", 1},
        {"discCount", 2},
        {"bpm", 120},
        {"rating", 80},
        {"playedCount", 7},
        {"skippedCount", 2},
        {"volumeAdjustment", -25},
        {"bitRate", 256},
    };
    for (const auto& [key, value] : expected) {
        const QVariant actual = track->property(QString::fromLatin1(key));
        EXPECT_EQ(actual.toString(), value.toString()) << key;
        const bool integer = value.typeId() == QMetaType::Int;
        EXPECT_EQ(actual.typeId(), integer ? QMetaType::LongLong : QMetaType::QString) << key;
    }
    EXPECT_DOUBLE_EQ(track->property(QStringLiteral("duration")).toDouble(), 215.5);
    EXPECT_EQ(track->property(QStringLiteral("title")), track->property(QStringLiteral("name")));
    EXPECT_EQ(std::dynamic_pointer_cast<itunes::LibraryTrack>(track)->persistentId(),
              QStringLiteral("AAAA000000000101"));
    // A key the export leaves out is empty or 0.
    const auto gone = trackNamed(open(), QStringLiteral("Gone Song"));
    EXPECT_EQ(gone->property(QStringLiteral("genre")), QString());
    EXPECT_EQ(gone->property(QStringLiteral("rating")), qint64(0));
}

TEST_F(LibraryTest, KindsClassNamesAndLocations) {
    importFixture();
    const auto app = open();
    struct Row {
        const char* name;
        QString className;
        std::optional<QString> location;
        std::optional<QString> stored;
    };
    const QList<Row> rows{
        {"Café & 🎵 Song", "ITunesFileTrack", livingTrack, livingTrack},
        {"Gone Song", "ITunesFileTrack", std::nullopt,
         "/Users/old/Music/Café del Mar/01 Song+%.mp3"},
        {"Windows Song", "ITunesFileTrack", std::nullopt, "C:/Users/Old/Music/Track #1.mp3"},
        {"Unix Song", "ITunesFileTrack", std::nullopt, "/home/old/Music/unix song.flac"},
        {"Radio Stream", "ITunesURLTrack", std::nullopt,
         "http://radio.example.org/stream.mp3?id=1&q=2"},
        {"Cloud Song", "ITunesSharedTrack", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        const auto track = trackNamed(app, QString::fromUtf8(row.name));
        EXPECT_EQ(track->className(), row.className) << row.name;
        EXPECT_EQ(track->location(), row.location) << row.name;
        EXPECT_EQ(std::dynamic_pointer_cast<itunes::LibraryTrack>(track)->storedLocation(),
                  row.stored)
            << row.name;
        EXPECT_EQ(MusicTrack::withTrack(track).location(), row.location) << row.name;
    }
}

TEST_F(LibraryTest, LocationAddressesBecomePaths) {
    const QList<std::pair<const char*, const char*>> rows{
        {"file://localhost/Users/a/Music/A%20B.mp3", "/Users/a/Music/A B.mp3"},
        {"file:///home/a/%C3%A9t%C3%A9.flac", "/home/a/été.flac"},
        {"file://LOCALHOST/home/a/x.mp3", "/home/a/x.mp3"},
        {"file://localhost/C:/Users/A/Music/x%231.mp3", "C:/Users/A/Music/x#1.mp3"},
        {"file:///D:/Music/x.mp3", "D:/Music/x.mp3"},
        {"file://server/share/Music/x.mp3", "//server/share/Music/x.mp3"},
        {"file:///home/a/50%25%20off%3F.mp3", "/home/a/50% off?.mp3"},
        {"http://radio.example.org/live", "http://radio.example.org/live"},
    };
    for (const auto& [address, path] : rows)
        EXPECT_EQ(itunes::pathFromLocation(QString::fromUtf8(address)), QString::fromUtf8(path))
            << address;
}

TEST_F(LibraryTest, PlaylistsKeepLibraryOrderKindsAndEntries) {
    importFixture();
    const auto app = open();
    const PlaylistMenus names = readPlaylistMenus(*app);
    EXPECT_EQ(names.playlists, (QStringList{"Music", "Collections", "Road Trip", "Road Trip",
                                            "Top Rated", "Mixed", "Empty"}));
    EXPECT_EQ(names.editablePlaylists, (QStringList{"Road Trip", "Road Trip", "Mixed", "Empty"}));
    EXPECT_TRUE(playlist(QStringLiteral("Top Rated"))->smart());
    EXPECT_TRUE(playlist(QStringLiteral("Music"))->smart());
    EXPECT_TRUE(playlist(QStringLiteral("Collections"))->smart());

    EXPECT_EQ(namesOf(playlist(QStringLiteral("Road Trip"))->tracks()),
              (QStringList{"Café & 🎵 Song", "Gone Song", "Café & 🎵 Song"}));
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Road Trip"), 1)->tracks()),
              QStringList{"Windows Song"});
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Mixed"))->tracks()),
              (QStringList{"Radio Stream", "Cloud Song", "Unix Song"}));
    EXPECT_TRUE(playlist(QStringLiteral("Empty"))->tracks().isEmpty());
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Top Rated"))->getTracks()),
              QStringList{"Café & 🎵 Song"});
}

TEST_F(LibraryTest, ReimportUpdatesByPersistentId) {
    importFixture();
    {
        const auto app = open();
        const auto gone = trackNamed(app, QStringLiteral("Gone Song"));
        gone->setProperty(QStringLiteral("artist"), QStringLiteral("Edited"));
        gone->setProperty(QStringLiteral("lyrics"), QStringLiteral("Kept words"));
        gone->setLocation(temp.copyFixture(QStringLiteral("tagged.ogg"), "relinked/gone.ogg"));
        playlist(QStringLiteral("Road Trip"))->tracks().first()->deleteTrack();
        auto connection = itunes::Connection::open(libraryFile);
        connection->locked([](sql::Database& db) {
            itunes::playliststore::create(db, QStringLiteral("Mine"),
                                          itunes::playliststore::PlaylistKind::User);
        });
    }
    auto connection = itunes::Connection::open(libraryFile);
    const auto summary = itunes::importLibraryXml(
        *connection, writeExport(QStringLiteral("Again.xml"),
                                 {{QStringLiteral("Unix Song"), QStringLiteral("Renamed Song")}}));
    EXPECT_EQ(summary.tracksAdded, 0);
    EXPECT_EQ(summary.tracksUpdated, 6);
    EXPECT_EQ(summary.playlistsAdded, 0);
    EXPECT_EQ(summary.playlistsUpdated, 7);

    const auto app = open();
    EXPECT_EQ(readPlaylistMenus(*app).playlists,
              (QStringList{"Music", "Collections", "Road Trip", "Road Trip", "Top Rated", "Mixed",
                           "Empty", "Mine"}));
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Mixed"))->tracks()),
              (QStringList{"Radio Stream", "Cloud Song", "Renamed Song"}));
    EXPECT_EQ(playlist(QStringLiteral("Road Trip"))->tracks().size(), 3);
    const auto gone = trackNamed(app, QStringLiteral("Gone Song"));
    EXPECT_EQ(gone->property(QStringLiteral("artist")), QStringLiteral("Old Artist"));
    // The export carries no lyrics, so the library's stay.
    EXPECT_EQ(gone->property(QStringLiteral("lyrics")), QStringLiteral("Kept words"));
    // A re-linked track stays linked; a dead one takes the export's path.
    EXPECT_EQ(gone->location(), temp.filePath(QStringLiteral("relinked/gone.ogg")));
    EXPECT_EQ(std::dynamic_pointer_cast<itunes::LibraryTrack>(trackNamed(app, "Renamed Song"))
                  ->storedLocation(),
              QStringLiteral("/home/old/Music/unix song.flac"));
    const qint64 count = connection->locked([](sql::Database& db) {
        sql::Statement statement(db, "SELECT count(*) FROM tracks");
        statement.step();
        return statement.integer(0);
    });
    EXPECT_EQ(count, 6);
}

TEST_F(LibraryTest, AcceptsBothDocumentTypesAndNone) {
    const QList<std::pair<QString, QString>> variants{
        {QStringLiteral("-//Apple Computer//DTD PLIST 1.0//EN"),
         QStringLiteral("-//Apple//DTD PLIST 1.0//EN")},
        {QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
                        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"),
         QString()},
    };
    for (const auto& variant : variants) {
        test::TempFolder folder;
        auto connection = itunes::Connection::open(folder.filePath(QStringLiteral("l.sqlite")));
        const auto summary = itunes::importLibraryXml(*connection, writeExport("v.xml", {variant}));
        EXPECT_EQ(summary.tracksAdded, 6) << variant.second.toStdString();
    }
}

struct BrokenExport {
    const char* name;
    QList<std::pair<QString, QString>> replacements;
    QString expected;  // part of the error's reason
};

TEST_F(LibraryTest, BrokenExportsLeaveTheLibraryAsItWas) {
    importFixture();
    playlist(QStringLiteral("Mixed"))->tracks().first()->deleteTrack();
    const QString before = dumpLibrary(libraryFile);
    const QString ending = QStringLiteral(
        "\t<key>Music Folder</key><string>file://localhost/Users/"
        "old/Music/</string>\n</dict>\n</plist>\n");
    const QList<BrokenExport> rows{
        {"truncated", {{ending, QString()}}, "“broken.xml”, line 205: Premature end of document."},
        {"cut in a value",
         {{"line two</string>", "line tw"}},
         "line 28: unexpected element <key> inside a value."},
        {"bad integer",
         {{"<integer>1999</integer>", "<integer>19x9</integer>"}},
         "line 28: an integer value is not a whole number"},
        {"unknown element",
         {{"<string>Jazz</string>", "<text>Jazz</text>"}},
         "line 24: unexpected element <text>"},
        {"key without value",
         {{"<key>BPM</key><integer>120</integer>", "<key>BPM</key>"}},
         "line 34: the key “BPM” has no value"},
        {"unclosed tag", {{"<string>The Album</string>", "<string>The Album"}}, "line 24"},
        {"undeclared entity",
         {{"Caf&#233; &amp;", "Caf&#233; &nbsp;"}},
         "line 19: unknown entity “&nbsp;”"},
        {"not a library",
         {{"<key>Tracks</key>", "<key>Other</key>"}, {"<key>Playlists</key>", "<key>Lists</key>"}},
         "not the export"},
        {"html", {{"<plist version=\"1.0\">", "<html>"}}, "not a property list"},
    };
    for (const BrokenExport& row : rows) {
        const QString path = writeExport(QStringLiteral("broken.xml"), row.replacements);
        auto connection = itunes::Connection::open(libraryFile);
        try {
            itunes::importLibraryXml(*connection, path);
            ADD_FAILURE() << row.name << " was imported";
        } catch (const TesselError& error) {
            EXPECT_EQ(error.name(), QStringLiteral("Import Failed")) << row.name;
            EXPECT_TRUE(error.reason().contains(row.expected))
                << row.name << ": " << error.reason().toStdString();
        }
        EXPECT_EQ(dumpLibrary(libraryFile), before) << row.name;
    }
}

TEST_F(LibraryTest, HostileDocumentsFailWithoutReachingOut) {
    const QString secret = temp.writeFile(QStringLiteral("secret.txt"), "TOP-SECRET");
    const QString external =
        QStringLiteral("<!DOCTYPE plist [<!ENTITY x SYSTEM \"file://%1\">]>").arg(secret);
    QString laughs = QStringLiteral("<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaa\">");
    for (char level = 'b'; level <= 'k'; ++level)
        laughs += QStringLiteral("<!ENTITY %1 \"%2\">")
                      .arg(QChar(level))
                      .arg(QStringLiteral("&%1;").arg(QChar(level - 1)).repeated(10));
    laughs += u"]>";
    const QString nested = QStringLiteral("<array>").repeated(5000) +
                           QStringLiteral("</array>").repeated(5000) + QStringLiteral("</plist>");
    const QList<std::pair<QString, QString>> documents{
        {external, QStringLiteral("<plist><dict><key>Tracks</key><dict><key>1</key><dict>"
                                  "<key>Name</key><string>&x;</string></dict></dict></dict>"
                                  "</plist>")},
        {laughs, QStringLiteral("<plist><dict><key>Tracks</key><dict><key>1</key><dict>"
                                "<key>Name</key><string>&k;</string></dict></dict></dict>"
                                "</plist>")},
        {QString(), QStringLiteral("<plist>") + nested},
    };
    auto connection = itunes::Connection::open(libraryFile);
    for (const auto& [doctype, body] : documents) {
        const QString path = temp.writeFile(
            QStringLiteral("hostile.xml"),
            (QStringLiteral("<?xml version=\"1.0\"?>\n") + doctype + u'\n' + body).toUtf8());
        EXPECT_THROW(itunes::importLibraryXml(*connection, path), TesselError)
            << doctype.toStdString();
    }
    EXPECT_FALSE(dumpLibrary(libraryFile).contains(QStringLiteral("TOP-SECRET")));
}

// The import writes without the schema's check of kinds; the connection checks them again once
// the import has ended, whether it succeeded or failed.
TEST_F(LibraryTest, KindsAreCheckedAgainAfterAnImport) {
    auto connection = itunes::Connection::open(libraryFile);
    const auto refusesUnknownKind = [&] {
        return connection->locked([](sql::Database& db) {
            try {
                db.exec("INSERT INTO tracks (persistent_id, kind) VALUES ('ODD', 'tape')");
            } catch (const TesselError&) {
                return true;
            }
            db.exec("DELETE FROM tracks WHERE persistent_id = 'ODD'");
            return false;
        });
    };
    itunes::importLibraryXml(*connection, writeExport());
    EXPECT_TRUE(refusesUnknownKind());
    const QString broken = writeExport(
        QStringLiteral("broken.xml"),
        {{QStringLiteral("<integer>1999</integer>"), QStringLiteral("<integer>19x9</integer>")}});
    EXPECT_THROW(itunes::importLibraryXml(*connection, broken), TesselError);
    EXPECT_TRUE(refusesUnknownKind());
}

class ThrowingSink : public ProgressSink {
  public:
    void setProgress(const QString& detail) override {
        if (detail.startsWith(u"Playlists"))
            throw TesselError(QStringLiteral("Stopped"), detail);
    }
};

TEST_F(LibraryTest, AFailureHalfwayRollsTheWholeImportBack) {
    auto connection = itunes::Connection::open(libraryFile);
    const QString before = dumpLibrary(libraryFile);
    ThrowingSink sink;
    EXPECT_THROW(itunes::importLibraryXml(*connection, writeExport(), &sink), TesselError);
    EXPECT_EQ(dumpLibrary(libraryFile), before);
    EXPECT_EQ(importFixture().tracksAdded, 6);
}

// An export of numbered tracks and one playlist of them all, the playlists written first when
// asked (the tracks of its entries then come later in the file).
QByteArray numberedExport(int tracks, bool playlistsFirst) {
    QByteArray trackDicts = "<key>Tracks</key><dict>\n";
    for (int id = 1; id <= tracks; ++id)
        trackDicts += QStringLiteral(
                          "<key>%1</key><dict><key>Track ID</key><integer>%1</integer>"
                          "<key>Name</key><string>Track %1</string>"
                          "<key>Persistent ID</key><string>%2</string>"
                          "<key>Location</key><string>http://radio/%1</string>"
                          "<key>Date Added</key><date>2019-02-28T10:00:00Z</date>"
                          "</dict>\n")
                          .arg(id)
                          .arg(id, 16, 16, QChar(u'0'))
                          .toUtf8();
    trackDicts += "</dict>\n";
    // Every track in reverse order, between entries naming no track of the file.
    QByteArray items;
    for (int id = tracks; id >= 1; --id)
        items += QByteArrayLiteral("<dict><key>Track ID</key><integer>") + QByteArray::number(id) +
                 "</integer></dict>\n";
    const QByteArray playlists =
        "<key>Playlists</key><array>\n<dict><key>Name</key><string>All</string>"
        "<key>Playlist Persistent ID</key><string>ALL0000000000001</string>"
        "<key>Playlist Items</key><array>\n<dict><key>Track ID</key><integer>999999</integer>"
        "</dict><string>no entry</string>\n" +
        items + "</array></dict>\n</array>\n";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n" +
           (playlistsFirst ? playlists + trackDicts : trackDicts + playlists) + "</dict></plist>\n";
}

class RecordingSink : public ProgressSink {
  public:
    void setProgress(const QString& detail) override {
        lines.append(detail);
        if (detail == stopAt)
            stop = true;
    }
    bool cancelled() const override { return stop; }

    QStringList lines;
    QString stopAt;
    bool stop = false;
};

TEST_F(LibraryTest, PlaylistEntriesFindTracksWrittenAfterThemAndSkipTheMissing) {
    for (const bool playlistsFirst : {true, false}) {
        test::TempFolder folder;
        auto connection = itunes::Connection::open(folder.filePath(QStringLiteral("l.sqlite")));
        const QString path =
            temp.writeFile(QStringLiteral("numbered.xml"), numberedExport(1200, playlistsFirst));
        RecordingSink sink;
        const auto summary = itunes::importLibraryXml(*connection, path, &sink);
        EXPECT_EQ(summary.tracksAdded, 1200);
        EXPECT_EQ(summary.entriesSkipped, 2) << playlistsFirst;
        const QStringList tracks{"Tracks 500/1200", "Tracks 1000/1200", "Tracks 1200/1200"};
        const QStringList lines = QStringList{"Reading “numbered.xml”…"} +
                                  (playlistsFirst ? QStringList{"Playlists 1/1"} + tracks
                                                  : tracks + QStringList{"Playlists 1/1"});
        EXPECT_EQ(sink.lines, lines);
        const QStringList names = connection->locked([](sql::Database& db) {
            sql::Statement statement(db,
                                     "SELECT t.name FROM playlist_items i JOIN tracks t ON "
                                     "t.id = i.track_id ORDER BY i.position, i.id");
            QStringList result;
            while (statement.step())
                result.append(statement.text(0));
            return result;
        });
        ASSERT_EQ(names.size(), 1200) << playlistsFirst;
        EXPECT_EQ(names.first(), QStringLiteral("Track 1200"));
        EXPECT_EQ(names.at(700), QStringLiteral("Track 500"));
        EXPECT_EQ(names.last(), QStringLiteral("Track 1"));
    }
}

// The file is read on a thread of its own while the tracks read so far are stored: a stop or
// a broken end after many stored tracks still leaves the library as it was.
TEST_F(LibraryTest, AStoppedOrBrokenLargeImportLeavesTheLibraryAsItWas) {
    importFixture();
    const QString before = dumpLibrary(libraryFile);
    const QByteArray whole = numberedExport(3000, false);
    const QString truncated =
        temp.writeFile(QStringLiteral("truncated.xml"), whole.left(whole.indexOf("Track 2500")));
    const QString complete = temp.writeFile(QStringLiteral("numbered.xml"), whole);
    auto connection = itunes::Connection::open(libraryFile);

    RecordingSink stopping;
    stopping.stopAt = QStringLiteral("Tracks 1500/3000");
    try {
        itunes::importLibraryXml(*connection, complete, &stopping);
        ADD_FAILURE() << "the stopped import went on";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), itunes::kImportCancelled);
    }
    EXPECT_EQ(stopping.lines.last(), QStringLiteral("Tracks 1500/3000"));
    EXPECT_EQ(dumpLibrary(libraryFile), before);

    RecordingSink reading;
    try {
        itunes::importLibraryXml(*connection, truncated, &reading);
        ADD_FAILURE() << "the truncated export was imported";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), QStringLiteral("Import Failed"));
        EXPECT_TRUE(error.reason().contains(u"line 2503: Premature end of document."))
            << error.reason().toStdString();
    }
    EXPECT_TRUE(reading.lines.contains(u"Tracks 2000/2500"));
    EXPECT_EQ(dumpLibrary(libraryFile), before);
}

}  // namespace
}  // namespace tessel
