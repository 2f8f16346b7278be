// Ratings and play counts written where other players read them, checked with an independent
// reader (mutagen) where it is installed, and read back by Tessel the same way.
#include "TestSupport.h"
#include "support/TesselError.h"
#include "tags/PlayStats.h"

#include <QFileInfo>
#include <QProcess>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>

#include <optional>

namespace tessel {
namespace {

using filetags::PlayStats;

// One line per file from mutagen: the FMPS values and every POPM frame; absent without mutagen.
std::optional<QString> mutagenView(const QString& path) {
    const QString script = QStringLiteral(R"(
import sys
try:
    import mutagen
except ImportError:
    sys.exit(3)
f = mutagen.File(sys.argv[1])
t = f.tags
def first(keys):
    for k in keys:
        if k in t:
            v = t[k]
            v = v.text[0] if hasattr(v, 'text') else v[0]
            return v.decode() if isinstance(v, bytes) else str(v)
    return '-'
rating = first(['TXXX:FMPS_Rating', 'FMPS_RATING', '----:com.apple.iTunes:FMPS_Rating'])
plays = first(['TXXX:FMPS_Playcount', 'FMPS_PLAYCOUNT', '----:com.apple.iTunes:FMPS_Playcount'])
popm = sorted('%s:%d:%d' % (v.email, v.rating, getattr(v, 'count', 0))
              for k, v in t.items() if k.startswith('POPM'))
print(rating, plays, ' '.join(popm))
)");
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
        return std::nullopt;
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    if (!process.waitForFinished(20000) || process.exitCode() == 3)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed() +
           QString::fromUtf8(process.readAllStandardError()).trimmed();
}

TEST(PlayStatsTest, WrittenToEachFormatAndReadBackByAnIndependentReader) {
    test::TempFolder folder;
    const struct {
        const char* fixture;
        QString expected;
    } cases[] = {{"tagged.mp3", "0.8 12 tessel:196:12"},
                 {"tagged.flac", "0.8 12"},
                 {"tagged.ogg", "0.8 12"},
                 {"tagged.m4a", "0.8 12"}};
    for (const auto& row : cases) {
        const QString path = folder.copyFixture(row.fixture, row.fixture);
        EXPECT_TRUE(filetags::holdsPlayStats(path)) << row.fixture;
        filetags::writePlayStats(path, {80, 12});
        EXPECT_EQ(filetags::readPlayStats(path), PlayStats({80, 12})) << row.fixture;
        if (const std::optional<QString> seen = mutagenView(path)) {
            EXPECT_EQ(*seen, row.expected) << row.fixture;
        }
        // A count alone leaves the rating written before.
        filetags::writePlayStats(path, {std::nullopt, 13});
        EXPECT_EQ(filetags::readPlayStats(path), PlayStats({80, 13})) << row.fixture;
    }
    EXPECT_FALSE(filetags::holdsPlayStats(folder.copyFixture("tagged.wav", "tagged.wav")));
    EXPECT_THROW(filetags::writePlayStats(folder.filePath("tagged.wav"), {80, 1}), TesselError);
}

TEST(PlayStatsTest, AnotherProgramsPopmFrameStaysAndOnlyOursCounts) {
    test::TempFolder folder;
    const QString path = folder.copyFixture("tagged.mp3", "song.mp3");
    {
        TagLib::MPEG::File file(QFile::encodeName(path).constData());
        auto* theirs = new TagLib::ID3v2::PopularimeterFrame;
        theirs->setEmail("player@example.org");
        theirs->setRating(50);
        theirs->setCounter(7);
        file.ID3v2Tag(true)->addFrame(theirs);
        ASSERT_TRUE(file.save());
    }
    // Their frame is no proof of ours; a library import still takes it when nothing else.
    EXPECT_EQ(filetags::readPlayStats(path), PlayStats());
    filetags::writePlayStats(path, {100, 3});
    EXPECT_EQ(filetags::readPlayStats(path), PlayStats({100, 3}));
    if (const std::optional<QString> seen = mutagenView(path)) {
        EXPECT_EQ(*seen, "1 3 player@example.org:50:7 tessel:255:3");
    }
}

TEST(PlayStatsTest, StarsMapToPopmBytesBothWaysAndTextRoundTrips) {
    const int ratings[] = {0, 10, 20, 40, 50, 60, 80, 100};
    const int bytes[] = {0, 1, 1, 64, 128, 128, 196, 255};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(filetags::popmRating(ratings[i]), bytes[i]) << ratings[i];
    EXPECT_EQ(filetags::ratingOfPopm(196), 80);
    EXPECT_EQ(filetags::ratingOfPopm(1), 20);
    EXPECT_EQ(filetags::ratingOfPopm(0), 0);
    EXPECT_EQ(filetags::playStatsText({80, 12}), "FMPS_RATING 0.8, FMPS_PLAYCOUNT 12");
    EXPECT_EQ(filetags::playStatsFromText("FMPS_RATING 0.8, FMPS_PLAYCOUNT 12"),
              PlayStats({80, 12}));
    EXPECT_EQ(filetags::playStatsFromText("FMPS_RATING 7"), PlayStats());  // out of range
}

}  // namespace
}  // namespace tessel
