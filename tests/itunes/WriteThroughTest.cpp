// Setting a tag of a file track writes it into the file too; the library keeps its value when
// the file cannot take it, and says so.
#include "LibraryFixture.h"
#include "itunes/Connection.h"

#include <QFile>

#include <taglib/fileref.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

namespace tessel {
namespace {

using test::LibraryTest;

QString fileProperty(const QString& path, const char* key) {
    const TagLib::FileRef ref(QFile::encodeName(path).constData());
    const TagLib::PropertyMap map = ref.file()->properties();
    const auto found = map.find(key);
    return found == map.end() ? QString()
                              : QString::fromStdString(found->second.toString("|").to8Bit(true));
}

QStringList& warnings() {
    static QStringList lines;
    return lines;
}

void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg)
        warnings().append(message);
}

class WriteThroughTest : public LibraryTest {
  protected:
    // The tracks of a folder holding copies of the given fixtures, in file name order.
    QList<itunes::TrackPtr> tracksOf(const QStringList& fixtures) {
        for (const QString& fixture : fixtures)
            temp.copyFixture(fixture, QStringLiteral("files/") + fixture);
        auto connection = itunes::Connection::open(libraryFile);
        itunes::importFolder(*connection, temp.filePath(QStringLiteral("files")),
                             QStringLiteral("Files"));
        return playlist(QStringLiteral("Files"))->tracks();
    }
};

struct Field {
    const char* key;
    QVariant value;
    const char* property;  // where TagLib shows it
    const char* inFile;
};

TEST_F(WriteThroughTest, EveryFileFieldReachesTheFile) {
    const QList<Field> fields{
        {"name", "Neuer Titel", "TITLE", "Neuer Titel"},
        {"artist", "Ärtist", "ARTIST", "Ärtist"},
        {"album", "Album 2", "ALBUM", "Album 2"},
        {"albumArtist", "Various", "ALBUMARTIST", "Various"},
        {"composer", "Composer", "COMPOSER", "Composer"},
        {"genre", "Jazz", "GENRE", "Jazz"},
        {"comment", "A note", "COMMENT", "A note"},
        {"lyrics", "La la la", "LYRICS", "La la la"},
        {"year", "2001", "DATE", "2001"},
        {"trackNumber", 4, "TRACKNUMBER", "4"},
        {"trackCount", 12, "TRACKNUMBER", "4/12"},
        {"discCount", 2, "DISCNUMBER", "0/2"},
        {"discNumber", "1", "DISCNUMBER", "1/2"},
        {"bpm", 128, "BPM", "128"},
    };
    const QStringList fixtures{"tagged.flac", "tagged.m4a", "tagged.mp3", "tagged.ogg"};
    const auto tracks = tracksOf(fixtures);
    ASSERT_EQ(tracks.size(), fixtures.size());
    for (const auto& track : tracks) {
        const QString path = *track->location();
        for (const Field& field : fields) {
            track->setProperty(QString::fromLatin1(field.key), field.value);
            EXPECT_EQ(fileProperty(path, field.property), QString::fromUtf8(field.inFile))
                << path.toStdString() << " " << field.key;
        }
        EXPECT_EQ(track->property(QStringLiteral("trackCount")), qint64(12));
        EXPECT_EQ(track->property(QStringLiteral("lyrics")), QStringLiteral("La la la"));
        // An empty text or a 0 removes the field again.
        track->setProperty(QStringLiteral("albumArtist"), QString());
        track->setProperty(QStringLiteral("trackCount"), 0);
        EXPECT_EQ(fileProperty(path, "ALBUMARTIST"), QString()) << path.toStdString();
        EXPECT_EQ(fileProperty(path, "TRACKNUMBER"), QStringLiteral("4")) << path.toStdString();
    }
}

TEST_F(WriteThroughTest, AnMp3KeepsItsTagTypesAndVersion) {
    const auto track = tracksOf({QStringLiteral("tagged.mp3")}).first();
    track->setProperty(QStringLiteral("composer"), QStringLiteral("Someone"));
    track->setProperty(QStringLiteral("name"), QStringLiteral("Other"));
    TagLib::MPEG::File file(QFile::encodeName(*track->location()).constData());
    EXPECT_FALSE(file.hasID3v1Tag());
    EXPECT_FALSE(file.hasAPETag());
    ASSERT_TRUE(file.hasID3v2Tag());
    EXPECT_EQ(file.ID3v2Tag()->header()->majorVersion(), 3u);
    EXPECT_EQ(fileProperty(*track->location(), "COMPOSER"), QStringLiteral("Someone"));
}

TEST_F(WriteThroughTest, ACountKeptApartStaysApart) {
    const QString path = temp.copyFixture(QStringLiteral("tagged.flac"), "files/a.flac");
    {
        TagLib::FileRef ref(QFile::encodeName(path).constData());
        TagLib::PropertyMap map = ref.file()->properties();
        map.replace("TRACKTOTAL", TagLib::StringList("10"));
        ref.file()->setProperties(map);
        ASSERT_TRUE(ref.save());
    }
    const auto track = tracksOf({}).first();
    EXPECT_EQ(track->property(QStringLiteral("trackCount")), qint64(10));
    track->setProperty(QStringLiteral("trackCount"), 11);
    EXPECT_EQ(fileProperty(path, "TRACKTOTAL"), QStringLiteral("11"));
    EXPECT_EQ(fileProperty(path, "TRACKNUMBER"), QStringLiteral("3"));
}

TEST_F(WriteThroughTest, LibraryOnlyFieldsLeaveTheFileAlone) {
    const auto track = tracksOf({QStringLiteral("tagged.mp3")}).first();
    const QByteArray before = test::fileBytes(*track->location());
    for (const char* key : {"playedCount", "skippedCount", "rating", "volumeAdjustment"}) {
        track->setProperty(QString::fromLatin1(key), 42);
        EXPECT_EQ(track->property(QString::fromLatin1(key)), qint64(42)) << key;
    }
    EXPECT_EQ(test::fileBytes(*track->location()), before);
}

TEST_F(WriteThroughTest, AFileThatCannotBeWrittenFailsTheChangeAndKeepsTheLibraryValue) {
    temp.writeFile(QStringLiteral("files/broken.flac"), "not really a flac file");
    const auto track = tracksOf({}).first();
    const QVariant before = track->property(QStringLiteral("artist"));
    try {
        track->setProperty(QStringLiteral("artist"), QStringLiteral("Lost"));
        ADD_FAILURE() << "a failed write-through passed as success";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), errors::kTagWrite);
        EXPECT_TRUE(error.reason().contains(u"broken.flac")) << error.reason().toStdString();
    }
    EXPECT_EQ(track->property(QStringLiteral("artist")), before);
    EXPECT_EQ(test::fileBytes(*track->location()), QByteArray("not really a flac file"));
}

TEST_F(WriteThroughTest, ADeadTrackChangesOnlyTheLibrary) {
    const auto track = tracksOf({QStringLiteral("tagged.ogg")}).first();
    const QString path = *track->location();
    QFile::rename(path, path + QStringLiteral(".moved"));
    warnings().clear();
    const auto previous = qInstallMessageHandler(recordWarning);
    track->setProperty(QStringLiteral("name"), QStringLiteral("Library only"));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings().isEmpty());
    EXPECT_EQ(track->property(QStringLiteral("name")), QStringLiteral("Library only"));
    EXPECT_EQ(fileProperty(path + QStringLiteral(".moved"), "TITLE"), QStringLiteral("Song"));
}

}  // namespace
}  // namespace tessel
