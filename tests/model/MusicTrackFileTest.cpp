// The file backend of MusicTrack on real files of every format, read back through TagLib's
// C++ interface (a path independent of the C interface the backend uses).
#include "TestSupport.h"
#include "model/MusicTrack.h"
#include "tags/TagValue.h"

#include <QFile>

#include <unistd.h>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace tessel {
namespace {

struct Independent {
    QString title, artist, album, comment, genre;
    unsigned int year = 0;
};

Independent readIndependently(const QString& path) {
    TagLib::FileRef file(QFile::encodeName(path).constData());
    Independent result;
    if (file.isNull() || !file.tag())
        return result;
    const auto text = [](const TagLib::String& s) {
        return QString::fromStdString(s.to8Bit(true));
    };
    result.title = text(file.tag()->title());
    result.artist = text(file.tag()->artist());
    result.album = text(file.tag()->album());
    result.comment = text(file.tag()->comment());
    result.genre = text(file.tag()->genre());
    result.year = file.tag()->year();
    return result;
}

class MusicTrackFileTest : public test::TesselTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(MusicTrackFileTest, ReadsTheTextTagsAndYear) {
    const MusicTrack track =
        MusicTrack::withPath(temp.copyFixture(QString::fromLatin1(GetParam())));
    EXPECT_EQ(track.title(), QStringLiteral("Song"));
    EXPECT_EQ(track.valueForTag(QStringLiteral("title")), QVariant(QStringLiteral("Song")));
    EXPECT_EQ(track.artist(), QStringLiteral("Artist"));
    EXPECT_EQ(track.album(), QStringLiteral("Album"));
    EXPECT_EQ(track.valueForTag(QStringLiteral("comment")), QVariant(QStringLiteral("Note")));
    EXPECT_EQ(track.valueForTag(QStringLiteral("genre")), QVariant(QStringLiteral("Rock")));
    EXPECT_EQ(track.valueForTag(QStringLiteral("year")), QVariant(QStringLiteral("1999")));
    EXPECT_EQ(track.valueForTag(QStringLiteral("number")), QVariant(QStringLiteral("3")));
    EXPECT_TRUE(presenter().alerts.isEmpty());
}

TEST_P(MusicTrackFileTest, TitleAndNameWriteTheSameField) {
    const QString path = temp.copyFixture(QString::fromLatin1(GetParam()));
    const MusicTrack track = MusicTrack::withPath(path);

    track.setTag(QStringLiteral("title"), QStringLiteral("Über – 日本"));
    EXPECT_EQ(readIndependently(path).title, QStringLiteral("Über – 日本"));
    EXPECT_EQ(track.valueForTag(QStringLiteral("name")), QVariant(QStringLiteral("Über – 日本")));

    track.setTag(QStringLiteral("name"), QStringLiteral("Second"));
    EXPECT_EQ(readIndependently(path).title, QStringLiteral("Second"));
    EXPECT_EQ(track.title(), QStringLiteral("Second"));
    EXPECT_EQ(readIndependently(path).artist, QStringLiteral("Artist"));
}

TEST_P(MusicTrackFileTest, WritesEveryWritableField) {
    const QString path = temp.copyFixture(QString::fromLatin1(GetParam()));
    const MusicTrack track = MusicTrack::withPath(path);
    track.setTag(QStringLiteral("artist"), QStringLiteral("A2"));
    track.setTag(QStringLiteral("album"), QStringLiteral("B2"));
    track.setTag(QStringLiteral("comment"), QStringLiteral("C2"));
    track.setTag(QStringLiteral("genre"), QStringLiteral("Jazz"));
    track.setTag(QStringLiteral("year"), QStringLiteral("2001"));

    const Independent back = readIndependently(path);
    EXPECT_EQ(back.artist, QStringLiteral("A2"));
    EXPECT_EQ(back.album, QStringLiteral("B2"));
    EXPECT_EQ(back.comment, QStringLiteral("C2"));
    EXPECT_EQ(back.genre, QStringLiteral("Jazz"));
    EXPECT_EQ(back.year, 2001u);
    EXPECT_EQ(back.title, QStringLiteral("Song"));
}

INSTANTIATE_TEST_SUITE_P(Formats, MusicTrackFileTest,
                         ::testing::Values("tagged.mp3", "tagged-v1.mp3", "tagged-v1-only.mp3",
                                           "tagged.m4a", "tagged.ogg", "tagged.flac", "tagged.wav",
                                           "tagged.aiff"));

using FileBackendTest = test::TesselTest;

TEST_F(FileBackendTest, YearZeroReadsAsAbsentAndTextWithoutDigitsStoresZero) {
    const QString path = temp.copyFixture(QStringLiteral("tagged.ogg"));
    const MusicTrack track = MusicTrack::withPath(path);
    track.setTag(QStringLiteral("year"), QStringLiteral("abc"));
    EXPECT_EQ(readIndependently(path).year, 0u);
    EXPECT_TRUE(isAbsent(track.valueForTag(QStringLiteral("year"))));

    track.setTag(QStringLiteral("year"), QStringLiteral("2001 remaster"));
    EXPECT_EQ(readIndependently(path).year, 2001u);
    track.setTag(QStringLiteral("year"), 1999);
    EXPECT_EQ(track.valueForTag(QStringLiteral("year")), QVariant(QStringLiteral("1999")));
}

TEST_F(FileBackendTest, UnsupportedTagsRaiseWithTheirMessageAndLeaveTheFileAlone) {
    const QString path = temp.copyFixture(QStringLiteral("tagged.mp3"));
    const QByteArray before = test::fileBytes(path);
    const MusicTrack track = MusicTrack::withPath(path);
    const QStringList refused{"lyrics",       "composer",   "albumArtist", "playedCount",
                              "skippedCount", "bpm",        "rating",      "volumeAdjustment",
                              "trackNumber",  "trackCount", "discNumber",  "discCount"};
    for (const QString& tag : refused) {
        try {
            track.valueForTag(tag);
            ADD_FAILURE() << "no error for " << tag.toStdString();
        } catch (const TesselError& error) {
            EXPECT_EQ(error.name(), QStringLiteral("Unsupported Tag"));
            EXPECT_EQ(error.reason(), unsupported::kFolderMessage);
        }
    }
    for (const QString& tag : QStringList{"cover", "location", "lyrics", "number", "duration"})
        EXPECT_THROW(track.setTag(tag, QStringLiteral("x")), TesselError) << tag.toStdString();
    EXPECT_EQ(test::fileBytes(path), before);
}

TEST_F(FileBackendTest, LocationDurationAndBitRate) {
    const QString missing = temp.filePath(QStringLiteral("gone/away.mp3"));
    EXPECT_EQ(MusicTrack::withPath(missing).location(), std::optional<QString>(missing));
    EXPECT_TRUE(isAbsent(MusicTrack::withPath(missing).valueForTag(QStringLiteral("name"))));

    const MusicTrack flac = MusicTrack::withPath(temp.copyFixture(QStringLiteral("tagged.flac")));
    const QVariant duration = flac.valueForTag(QStringLiteral("duration"));
    EXPECT_EQ(duration.typeId(), QMetaType::Int);
    EXPECT_EQ(duration.toInt(), 1);
    const QVariant bitRate = MusicTrack::withPath(temp.copyFixture(QStringLiteral("tagged.mp3")))
                                 .valueForTag(QStringLiteral("bitRate"));
    EXPECT_EQ(bitRate.typeId(), QMetaType::Int);
    EXPECT_GT(bitRate.toInt(), 0);
}

TEST_F(FileBackendTest, ReadsSeveralTagsInOneCall) {
    const QString path = temp.copyFixture(QStringLiteral("cover.mp3"));
    const QVariantMap values = MusicTrack::withPath(path).valuesForTags(
        {"name", "artist", "location", "cover", "year", "duration"});
    EXPECT_EQ(values.value("name"), QVariant(QStringLiteral("Song")));
    EXPECT_EQ(values.value("artist"), QVariant(QStringLiteral("Artist")));
    EXPECT_EQ(values.value("location"), QVariant(path));
    EXPECT_EQ(values.value("cover"), QVariant(QStringLiteral("cover")));
    EXPECT_EQ(values.value("year"), QVariant(QStringLiteral("1999")));
    EXPECT_EQ(values.value("duration").typeId(), QMetaType::Int);
    EXPECT_THROW(MusicTrack::withPath(path).valuesForTags({"name", "composer"}), TesselError);
}

TEST_F(FileBackendTest, CoverTestLooksForAPictureType) {
    EXPECT_EQ(
        MusicTrack::withPath(temp.copyFixture(QStringLiteral("cover.mp3"))).valueForTag("cover"),
        QVariant(QStringLiteral("cover")));
    EXPECT_TRUE(isAbsent(
        MusicTrack::withPath(temp.copyFixture(QStringLiteral("tagged.mp3"))).valueForTag("cover")));
    EXPECT_TRUE(isAbsent(
        MusicTrack::withPath(temp.filePath(QStringLiteral("none.mp3"))).valueForTag("cover")));

    // A needle split across two reads, and bytes above 127 around it.
    QByteArray bytes((1 << 16) - 3, '\xff');
    bytes += "image/png";
    const QString straddling = temp.writeFile(QStringLiteral("straddling.mp3"), bytes);
    EXPECT_EQ(MusicTrack::withPath(straddling).valueForTag("cover"),
              QVariant(QStringLiteral("cover")));
    const QString almost =
        temp.writeFile(QStringLiteral("almost.mp3"), QByteArray("imag\xc3\xa9/ image") + '\0');
    EXPECT_TRUE(isAbsent(MusicTrack::withPath(almost).valueForTag("cover")));
}

TEST_F(FileBackendTest, UnreadableFilesReadAbsentAndRefuseWrites) {
    const QString garbage = temp.writeFile(QStringLiteral("garbage.m4a"), QByteArray(4096, 'x'));
    const QByteArray before = test::fileBytes(garbage);
    const MusicTrack track = MusicTrack::withPath(garbage);
    EXPECT_TRUE(isAbsent(track.valueForTag(QStringLiteral("name"))));
    EXPECT_TRUE(isAbsent(track.valueForTag(QStringLiteral("duration"))));
    EXPECT_THROW(track.setTag(QStringLiteral("name"), QStringLiteral("x")), TesselError);

    const QString missing = temp.filePath(QStringLiteral("missing.flac"));
    try {
        MusicTrack::withPath(missing).setTag(QStringLiteral("name"), QStringLiteral("x"));
        ADD_FAILURE() << "a write to a missing file passed";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), errors::kTagWrite);
        EXPECT_TRUE(error.reason().contains(missing));
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_THROW(
        MusicTrack::withPath(temp.writeFile("noise.ogg", QByteArray(100, 'y'))).setTag("name", "x"),
        TesselError);
    EXPECT_TRUE(presenter().alerts.isEmpty());
    EXPECT_EQ(test::fileBytes(garbage), before);
}

TEST_F(FileBackendTest, AFailedSaveIsReportedNotHidden) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not stop root";
    const QString path = temp.copyFixture(QStringLiteral("tagged.flac"));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const QByteArray before = test::fileBytes(path);
    EXPECT_THROW(MusicTrack::withPath(path).setTag(QStringLiteral("name"), QStringLiteral("x")),
                 TesselError);
    EXPECT_EQ(test::fileBytes(path), before);
}

}  // namespace
}  // namespace tessel
