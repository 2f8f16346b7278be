// A write changes only the field it writes: an MP3 keeps the tag types it had and its ID3v2
// version, and one without an ID3v2 tag gets one that holds the value whole.
#include "TestSupport.h"
#include "tags/FileTags.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

#include <optional>

namespace tessel {
namespace {

struct Mp3Layout {
    bool id3v1 = false;
    bool id3v2 = false;
    bool ape = false;
    unsigned int id3v2Version = 0;
    QString id3v1Title;
    QString id3v1Artist;
    QString id3v2Title;
    QString id3v2Genre;
    TagLib::PropertyMap id3v2Properties;
};

QString fromTagString(const TagLib::String& text) {
    return QString::fromStdString(text.to8Bit(true));
}

Mp3Layout layoutOf(const QString& path) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    Mp3Layout layout;
    layout.id3v1 = file.hasID3v1Tag();
    layout.id3v2 = file.hasID3v2Tag();
    layout.ape = file.hasAPETag();
    if (layout.id3v2) {
        layout.id3v2Version = file.ID3v2Tag()->header()->majorVersion();
        layout.id3v2Title = fromTagString(file.ID3v2Tag()->title());
        layout.id3v2Genre = fromTagString(file.ID3v2Tag()->genre());
        layout.id3v2Properties = file.ID3v2Tag()->properties();
    }
    if (layout.id3v1) {
        layout.id3v1Title = fromTagString(file.ID3v1Tag()->title());
        layout.id3v1Artist = fromTagString(file.ID3v1Tag()->artist());
    }
    return layout;
}

QString propertyOf(const Mp3Layout& layout, const char* key) {
    const auto found = layout.id3v2Properties.find(key);
    return found == layout.id3v2Properties.end() ? QString()
                                                 : fromTagString(found->second.toString(" | "));
}

// The ID3v2 version and the given frames' text as mutagen (python3) reads them, a reader
// independent of TagLib; absent when no python3 on the path or in /usr/bin has mutagen.
std::optional<QStringList> mutagenFrames(const QString& path, const QStringList& frames) {
    static const QString script = QStringLiteral(R"(
import sys
try:
    from mutagen.id3 import ID3
except ImportError:
    sys.exit(3)
tag = ID3(sys.argv[1], translate=False)
lines = ["2.%d" % tag.version[1]] + [str(tag[f]) if f in tag else "" for f in sys.argv[2:]]
sys.stdout.buffer.write("\n".join(lines).encode("utf-8"))
)");
    for (const QString& python : {QStandardPaths::findExecutable(QStringLiteral("python3")),
                                  QStringLiteral("/usr/bin/python3")}) {
        if (python.isEmpty() || !QFile::exists(python))
            continue;
        QProcess process;
        process.start(python, QStringList{"-c", script, path} + frames);
        if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() == 3)
            continue;
        if (process.exitCode() != 0)
            return QStringList{QString::fromUtf8(process.readAllStandardError())};
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    }
    return std::nullopt;
}

// Longer than ID3v1's 30 bytes, and mostly outside Latin-1.
const QString kLongTitle = QStringLiteral(
    "Ünïcödé – 日本語のとても長いタイトルです – Ελληνικά – Кириллица – 한국어 노래 ✓!");
// Not one of ID3v1's numbered genres.
const QString kOtherGenre = QStringLiteral("Chillwave – ジャズ");

using Mp3WriteTest = test::TesselTest;

QVariant valueOf(const QString& path, const char* tag) {
    return filetags::read(path, {QString::fromLatin1(tag)}).value(QString::fromLatin1(tag));
}

TEST_F(Mp3WriteTest, NoId3v1IsAddedAndVersion23IsKept) {
    const QString path = temp.copyFixture(QStringLiteral("tagged.mp3"));
    ASSERT_FALSE(layoutOf(path).id3v1);
    ASSERT_EQ(layoutOf(path).id3v2Version, 3u);
    const qint64 sizeBefore = QFile(path).size();

    filetags::write(path, QStringLiteral("name"),
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
    filetags::write(path, QStringLiteral("title"), QStringLiteral("New"));
    const Mp3Layout after = layoutOf(path);
    EXPECT_TRUE(after.id3v1);
    EXPECT_EQ(after.id3v2Version, 4u);
    EXPECT_EQ(after.id3v1Title, QStringLiteral("New"));
    EXPECT_EQ(after.id3v2Title, QStringLiteral("New"));
}

TEST_F(Mp3WriteTest, AnUntaggedFileGetsOnlyAnId3v2Tag) {
    const QString path = temp.copyFixture(QStringLiteral("plain.mp3"));
    ASSERT_FALSE(layoutOf(path).id3v2);
    filetags::write(path, QStringLiteral("artist"), QStringLiteral("Someone"));
    const Mp3Layout after = layoutOf(path);
    EXPECT_TRUE(after.id3v2);
    EXPECT_FALSE(after.id3v1);
    EXPECT_EQ(valueOf(path, "artist"), QVariant(QStringLiteral("Someone")));
}

TEST_F(Mp3WriteTest, AnId3v1OnlyFileGetsAnId3v24TagThatHoldsTheWholeValue) {
    const QString path = temp.copyFixture(QStringLiteral("tagged-v1-only.mp3"));
    ASSERT_FALSE(layoutOf(path).id3v2);
    ASSERT_TRUE(layoutOf(path).id3v1);
    ASSERT_EQ(kLongTitle.size(), 60);
    filetags::write(path, QStringLiteral("name"), kLongTitle);
    filetags::write(path, QStringLiteral("genre"), kOtherGenre);

    const Mp3Layout after = layoutOf(path);
    ASSERT_TRUE(after.id3v2);
    EXPECT_EQ(after.id3v2Version, 4u);
    EXPECT_EQ(after.id3v2Title, kLongTitle);
    EXPECT_EQ(after.id3v2Genre, kOtherGenre);
    EXPECT_FALSE(after.ape);
    // The ID3v1 tag stays, with what it held before.
    EXPECT_TRUE(after.id3v1);
    EXPECT_EQ(after.id3v1Artist, QStringLiteral("Artist"));
    // The new tag starts with the old one's values, for readers that look at ID3v2 only.
    EXPECT_EQ(propertyOf(after, "ARTIST"), QStringLiteral("Artist"));
    EXPECT_EQ(propertyOf(after, "ALBUM"), QStringLiteral("Album"));
    EXPECT_EQ(propertyOf(after, "DATE"), QStringLiteral("1999"));
    EXPECT_EQ(propertyOf(after, "TRACKNUMBER"), QStringLiteral("3"));

    EXPECT_EQ(valueOf(path, "name"), QVariant(kLongTitle));
    EXPECT_EQ(valueOf(path, "genre"), QVariant(kOtherGenre));
    EXPECT_EQ(valueOf(path, "artist"), QVariant(QStringLiteral("Artist")));
}

TEST_F(Mp3WriteTest, AnIndependentReaderSeesTheWholeValueInTheNewTag) {
    const QString path = temp.copyFixture(QStringLiteral("tagged-v1-only.mp3"));
    if (!mutagenFrames(path, {}))
        GTEST_SKIP() << "python3 with mutagen is not installed";
    filetags::write(path, QStringLiteral("name"), kLongTitle);
    filetags::write(path, QStringLiteral("genre"), kOtherGenre);
    EXPECT_EQ(mutagenFrames(path, {"TIT2", "TCON", "TPE1"}),
              (QStringList{"2.4", kLongTitle, kOtherGenre, "Artist"}));
    EXPECT_EQ(test::fileBytes(path).right(128).left(3), QByteArray("TAG"));
}

TEST_F(Mp3WriteTest, AFieldWrittenThroughAnId3v1OnlyFileLandsInANewId3v2Tag) {
    const QString path = temp.copyFixture(QStringLiteral("tagged-v1-only.mp3"));

    filetags::writeField(path, QStringLiteral("composer"), kLongTitle);
    filetags::writeField(path, QStringLiteral("albumArtist"), kOtherGenre);
    filetags::writeField(path, QStringLiteral("trackCount"), 12);

    const Mp3Layout after = layoutOf(path);
    ASSERT_TRUE(after.id3v2);
    EXPECT_EQ(after.id3v2Version, 4u);
    EXPECT_TRUE(after.id3v1);
    EXPECT_EQ(propertyOf(after, "COMPOSER"), kLongTitle);
    EXPECT_EQ(propertyOf(after, "ALBUMARTIST"), kOtherGenre);
    EXPECT_EQ(propertyOf(after, "TRACKNUMBER"), QStringLiteral("3/12"));
    const QVariantMap library = filetags::readForLibrary(path);
    EXPECT_EQ(library.value("composer"), QVariant(kLongTitle));
    EXPECT_EQ(library.value("artist"), QVariant(QStringLiteral("Artist")));
    EXPECT_EQ(library.value("trackCount"), QVariant(qint64(12)));
}

TEST_F(Mp3WriteTest, AFieldWrittenThroughKeepsVersion23AndAddsNoId3v1) {
    const QString path = temp.copyFixture(QStringLiteral("tagged.mp3"));
    filetags::writeField(path, QStringLiteral("composer"), kLongTitle);
    const Mp3Layout after = layoutOf(path);
    EXPECT_EQ(after.id3v2Version, 3u);
    EXPECT_FALSE(after.id3v1);
    EXPECT_FALSE(after.ape);
    EXPECT_EQ(propertyOf(after, "COMPOSER"), kLongTitle);
}

TEST_F(Mp3WriteTest, TheCoverSurvivesATitleChange) {
    const QString path = temp.copyFixture(QStringLiteral("cover.mp3"));
    filetags::write(path, QStringLiteral("name"), QStringLiteral("Covered"));
    EXPECT_EQ(valueOf(path, "cover"), QVariant(QStringLiteral("cover")));
    EXPECT_EQ(layoutOf(path).id3v2Version, 3u);
}

}  // namespace
}  // namespace tessel
