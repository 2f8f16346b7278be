// A write changes only the field it writes: an MP3 keeps exactly the tag types it had and
// its ID3v2 version.
#include "TestSupport.h"
#include "model/MusicTrack.h"

#include <QFile>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace tessel {
namespace {

struct Mp3Layout {
    bool id3v1 = false;
    bool id3v2 = false;
    bool ape = false;
    unsigned int id3v2Version = 0;
    QString id3v1Title;
    QString id3v2Title;
};

Mp3Layout layoutOf(const QString& path) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    Mp3Layout layout;
    layout.id3v1 = file.hasID3v1Tag();
    layout.id3v2 = file.hasID3v2Tag();
    layout.ape = file.hasAPETag();
    if (layout.id3v2) {
        layout.id3v2Version = file.ID3v2Tag()->header()->majorVersion();
        layout.id3v2Title = QString::fromStdString(file.ID3v2Tag()->title().to8Bit(true));
    }
    if (layout.id3v1)
        layout.id3v1Title = QString::fromStdString(file.ID3v1Tag()->title().to8Bit(true));
    return layout;
}

using Mp3WriteTest = test::TesselTest;

TEST_F(Mp3WriteTest, NoId3v1IsAddedAndVersion23IsKept) {
    const QString path = temp.copyFixture(QStringLiteral("tagged.mp3"));
    ASSERT_FALSE(layoutOf(path).id3v1);
    ASSERT_EQ(layoutOf(path).id3v2Version, 3u);
    const qint64 sizeBefore = QFile(path).size();

    MusicTrack::withPath(path).setTag(QStringLiteral("name"),
                                      QStringLiteral("A much longer title than before"));

    const Mp3Layout after = layoutOf(path);
    EXPECT_FALSE(after.id3v1);
    EXPECT_FALSE(after.ape);
    EXPECT_EQ(after.id3v2Version, 3u);
    EXPECT_EQ(after.id3v2Title, QStringLiteral("A much longer title than before"));
    // No 128-byte ID3v1 block at the end.
    EXPECT_NE(test::fileBytes(path).right(128).left(3), QByteArray("TAG"));
    EXPECT_LT(QFile(path).size(), sizeBefore + 128 + 1024);
}

TEST_F(Mp3WriteTest, AnExistingId3v1IsUpdatedAndVersion24Kept) {
    const QString path = temp.copyFixture(QStringLiteral("tagged-v1.mp3"));
    ASSERT_TRUE(layoutOf(path).id3v1);
    MusicTrack::withPath(path).setTag(QStringLiteral("title"), QStringLiteral("New"));
    const Mp3Layout after = layoutOf(path);
    EXPECT_TRUE(after.id3v1);
    EXPECT_EQ(after.id3v2Version, 4u);
    EXPECT_EQ(after.id3v1Title, QStringLiteral("New"));
    EXPECT_EQ(after.id3v2Title, QStringLiteral("New"));
}

TEST_F(Mp3WriteTest, AnUntaggedFileGetsOnlyAnId3v2Tag) {
    const QString path = temp.copyFixture(QStringLiteral("plain.mp3"));
    ASSERT_FALSE(layoutOf(path).id3v2);
    MusicTrack::withPath(path).setTag(QStringLiteral("artist"), QStringLiteral("Someone"));
    const Mp3Layout after = layoutOf(path);
    EXPECT_TRUE(after.id3v2);
    EXPECT_FALSE(after.id3v1);
    EXPECT_EQ(MusicTrack::withPath(path).artist(), QStringLiteral("Someone"));
}

TEST_F(Mp3WriteTest, TheCoverSurvivesATitleChange) {
    const QString path = temp.copyFixture(QStringLiteral("cover.mp3"));
    MusicTrack::withPath(path).setTag(QStringLiteral("name"), QStringLiteral("Covered"));
    EXPECT_EQ(MusicTrack::withPath(path).valueForTag(QStringLiteral("cover")),
              QVariant(QStringLiteral("cover")));
    EXPECT_EQ(layoutOf(path).id3v2Version, 3u);
}

}  // namespace
}  // namespace tessel
