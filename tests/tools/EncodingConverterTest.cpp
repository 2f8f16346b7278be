#include "ToolTestSupport.h"
#include "tools/EncodingConverter.h"
#include "tools/TextEncodings.h"

namespace tessel::test {
namespace {

constexpr int kAscii = int(TextEncoding::Ascii);
constexpr int kUtf8 = int(TextEncoding::Utf8);
constexpr int kLatin1 = int(TextEncoding::Latin1);
constexpr int kNonLossy = int(TextEncoding::NonLossyAscii);
constexpr int kWindows1251 = int(TextEncoding::Windows1251);
constexpr int kUtf16 = int(TextEncoding::Utf16);

Collection convert(int tag, int from, int to, const QList<MusicTrack>& tracks,
                   RecordingProgress& progress) {
    EncodingConverter tool({tag, from, to});
    EXPECT_FALSE(tool.validate());
    return tool.collect(gathering(tracks), progress);
}

TEST(EncodingConverterTest, ConversionsBetweenTwoEncodings) {
    struct Row {
        const char* name;
        int from;
        int to;
        QString value;
        QString expected;  // equal to value: no change proposed
    };
    const Row rows[] = {
        {"Latin-1 reading of UTF-8 repaired", kLatin1, kUtf8, "Caf\u00C3\u00A9", "Café"},
        {"plain text unchanged", kUtf8, kLatin1, "Plain text", "Plain text"},
        {"undecodable: nothing proposed", kUtf8, kAscii, "Café", "Café"},
        {"same encoding both sides", kLatin1, kLatin1, "Café", "Café"},
        {"same code page both sides", kWindows1251, kWindows1251, "Москва", "Москва"},
        {"same wide encoding both sides", kUtf16, kUtf16, "😀 東京", "😀 東京"},
        {"lossy ASCII shows the damage", kAscii, kUtf8, "Café ß", "Cafe ?"},
        {"escapes read back", kUtf8, kNonLossy, "Caf\\u00e9", "Café"},
        {"escapes written out", kNonLossy, kUtf8, "Café\\", "Caf\\u00e9\\\\"},
        {"stray backslash is no escape", kUtf8, kNonLossy, "AC\\DC", "AC\\DC"},
        {"bytes without a mark read big-endian", kLatin1, kUtf16, "ab", "\u6162"},
        {"empty value", kLatin1, kUtf8, "", ""},
    };
    for (const Row& row : rows) {
        RecordingProgress progress;
        const Collection result = convert(
            2, row.from, row.to, {libraryTrack({{"name", "T"}, {"album", row.value}})}, progress);
        if (row.expected == row.value) {
            EXPECT_TRUE(result.records.isEmpty()) << row.name;
            continue;
        }
        ASSERT_EQ(result.records.size(), 1) << row.name;
        EXPECT_EQ(result.records[0].tagToChange, QStringLiteral("album")) << row.name;
        EXPECT_EQ(result.records[0].oldTag.toString(), row.value) << row.name;
        EXPECT_EQ(result.records[0].newTag.toString(), row.expected) << row.name;
    }
}

TEST(EncodingConverterTest, TracksWithoutLocationAreConvertedAbsentValuesSkipped) {
    RecordingProgress progress;
    const Collection result =
        convert(0, kLatin1, kUtf8,
                {libraryTrack({{"name", "Ã©t\u00C3\u00A9"}}, std::nullopt),
                 libraryTrack({{"artist", "x"}}), libraryTrack({{"name", "ok"}})},
                progress);
    EXPECT_TRUE(result.gathered);
    ASSERT_EQ(result.records.size(), 1);
    EXPECT_EQ(result.records[0].newTag.toString(), QStringLiteral("été"));
    EXPECT_EQ(progress.lines.size(), 3);
}

class EncodingConverterFileTest : public TesselTest {};

TEST_F(EncodingConverterFileTest, RepairsATitleInAMusicFile) {
    const MusicTrack track = fileTrack(temp, "a.mp3", {{"name", "Beyonc\u00C3\u00A9"}});
    RecordingProgress progress;
    const Collection result = convert(0, kLatin1, kUtf8, {track}, progress);
    EXPECT_EQ(progress.lines, QStringList{"1/1 - Beyonc\u00C3\u00A9"});
    ASSERT_EQ(result.records.size(), 1);
    const ChangeRecord& record = result.records[0];
    EXPECT_EQ(record.newTag.toString(), QStringLiteral("Beyoncé"));
    EXPECT_EQ(record.artist, QStringLiteral("Artist"));
    EXPECT_EQ(record.track.path(), track.path());
}

TEST(EncodingConverterTest, OptionsOutsideTheMenusAreRefused) {
    struct Row {
        EncodingConverter::Options options;
        QString alertTitle;  // empty: accepted
    };
    const Row rows[] = {
        {{0, 0, 0}, ""},
        {{7, 13, 13}, ""},
        {{8, 0, 0}, "Invalid Tag"},
        {{-1, 0, 0}, "Invalid Tag"},
        {{0, 14, 0}, "Invalid Encoding"},
        {{0, 0, -1}, "Invalid Encoding"},
    };
    for (const Row& row : rows) {
        const auto alert = EncodingConverter(row.options).validate();
        EXPECT_EQ(alert ? alert->title : QString(), row.alertTitle);
    }
}

}  // namespace
}  // namespace tessel::test
