#include "ToolTestSupport.h"
#include "tags/TagValue.h"
#include "tools/DataMover.h"

namespace tessel::test {
namespace {

using Mover = DataMover;

constexpr int kName = 0;
constexpr int kComment = 5;
constexpr int kYear = 12;  // among all tags: the eight text tags, then the integer tags

Collection move(const DataMover::Options& options, const QList<MusicTrack>& tracks) {
    DataMover mover(options);
    EXPECT_FALSE(mover.validate());
    RecordingProgress progress;
    return mover.collect(gathering(tracks), progress);
}

DataMover::Options copy(int portion, const QString& portionText, int placement = Mover::kReplace) {
    DataMover::Options options;
    options.selectedAction = Mover::kCopy;
    options.selectedTag = kName;
    options.selectedTargetTag = kComment;
    options.selectedPortion = portion;
    options.portionString = portionText;
    options.selectedOption = placement;
    return options;
}

TEST(DataMoverTest, CopiesAPortionIntoTheTarget) {
    struct Row {
        const char* name;
        DataMover::Options options;
        QString source;
        QString target;
        QString expected;  // equal to target: no change proposed
    };
    auto matching = [](const QString& pattern, bool insensitive) {
        DataMover::Options options = copy(Mover::kMatches, {});
        options.searchString = pattern;
        options.caseInsensitive = insensitive;
        return options;
    };
    auto joined = [](int placement, const QString& delimiter) {
        DataMover::Options options = copy(Mover::kWhole, {}, placement);
        options.delimiterString = delimiter;
        return options;
    };
    const Row rows[] = {
        {"first three", copy(Mover::kFirstCharacters, "3"), "Beatles", "x", "Bea"},
        {"first n of a short value", copy(Mover::kFirstCharacters, "10"), "Abc", "x", "Abc"},
        {"n read as a leading integer", copy(Mover::kFirstCharacters, " 3rd"), "Beatles", "",
         "Bea"},
        {"all but the first three", copy(Mover::kExceptFirstCharacters, "3"), "Beatles", "x",
         "tles"},
        {"all but n of a short value empties", copy(Mover::kExceptFirstCharacters, "3"), "Abc", "x",
         ""},
        {"whole value", copy(Mover::kWhole, {}), "Beatles", "x", "Beatles"},
        {"same value: no change", copy(Mover::kWhole, {}), "Same", "Same", "Same"},
        {"append keeps the delimiter of an empty portion", joined(Mover::kAppend, "-"), "", "Rock",
         "Rock-"},
        {"append", joined(Mover::kAppend, " / "), "Live", "Song", "Song / Live"},
        {"prepend", joined(Mover::kPrepend, " / "), "Live", "Song", "Live / Song"},
        {"matches joined", matching("\\d+", false), "Track 01 of 12", "x", "0112"},
        {"no match gives an empty portion", matching("\\d+", false), "none", "x", ""},
        {"matching respects case", matching("[a-z]+", false), "ABC def", "x", "def"},
        {"matching ignores case on request", matching("[a-z]+", true), "ABC def", "x", "ABCdef"},
        {"groups play no part", matching("(\\w)\\w", false), "abcd", "x", "abcd"},
        {"anchors match lines", matching("^\\w", false), "ab\ncd", "x", "ac"},
    };
    for (const Row& row : rows) {
        const Collection result =
            move(row.options, {libraryTrack({{"name", row.source}, {"comment", row.target}})});
        if (row.expected == row.target) {
            EXPECT_TRUE(result.records.isEmpty()) << row.name;
            continue;
        }
        ASSERT_EQ(result.records.size(), 1) << row.name;
        const ChangeRecord& record = result.records.front();
        EXPECT_EQ(record.tagToChange, QStringLiteral("comment")) << row.name;
        EXPECT_EQ(record.oldTag.toString(), row.target) << row.name;
        EXPECT_EQ(record.newTag.toString(), row.expected) << row.name;
        EXPECT_EQ(record.title, row.source) << row.name;
    }
}

TEST(DataMoverTest, SameTagAsSourceAndTargetIsShortened) {
    DataMover::Options options = copy(Mover::kFirstCharacters, "3");
    options.selectedTargetTag = kName;
    const Collection result = move(options, {libraryTrack({{"name", "Beatles"}})});
    ASSERT_EQ(result.records.size(), 1);
    EXPECT_EQ(result.records[0].tagToChange, QStringLiteral("name"));
    EXPECT_EQ(result.records[0].newTag.toString(), QStringLiteral("Bea"));
}

TEST(DataMoverTest, SwapProposesTwoRecordsSourceFirst) {
    DataMover::Options options;
    options.selectedTag = kName;
    options.selectedTargetTag = kComment;
    const Collection result =
        move(options, {libraryTrack({{"name", "Same"}, {"comment", "Same"}}),
                       libraryTrack({{"name", "Title"}, {"comment", "Remark"}, {"artist", "A"}})});
    ASSERT_EQ(result.records.size(), 2);
    const ChangeRecord& first = result.records[0];
    const ChangeRecord& second = result.records[1];
    EXPECT_EQ(first.tagToChange, QStringLiteral("name"));
    EXPECT_EQ(first.oldTag.toString(), QStringLiteral("Title"));
    EXPECT_EQ(first.newTag.toString(), QStringLiteral("Remark"));
    EXPECT_EQ(second.tagToChange, QStringLiteral("comment"));
    EXPECT_EQ(second.oldTag.toString(), QStringLiteral("Remark"));
    EXPECT_EQ(second.newTag.toString(), QStringLiteral("Title"));
    EXPECT_EQ(first.artist, QStringLiteral("A"));
    EXPECT_EQ(first.track.track(), second.track.track());
}

class DataMoverFileTest : public TesselTest {};

TEST_F(DataMoverFileTest, IntegerSourceTagsMoveAsTheirDecimalText) {
    DataMover::Options options;
    options.selectedTag = kYear;
    options.selectedTargetTag = kName;
    const QList<MusicTrack> tracks{
        fileTrack(temp, "song.mp3", {}),  // the fixture's year is 1999, its title Song
        libraryTrack({{"name", "Old"}, {"year", qint64(1987)}}),
    };
    // A swap would put a title that is no number into the year and lose it: the tracks are
    // passed over, and the user is told why.
    const Collection refused = move(options, tracks);
    EXPECT_TRUE(refused.records.isEmpty());
    EXPECT_EQ(passedOverLine(refused.passedOver),
              QStringLiteral("Passed over: 2 tracks whose Title is no whole number to swap with "
                             "their Year."));
    // A title that is a number swaps, each record showing exactly what it writes; the two
    // halves are partners.
    const Collection swapped =
        move(options, {fileTrack(temp, "number.mp3", {{"name", " 2001 "}}),
                       libraryTrack({{"name", ""}, {"year", qint64(1987)}})});
    ASSERT_EQ(swapped.records.size(), 4);
    const QStringList expected{"year 1999 → 2001", "name  2001  → 1999", "year 1987 → 0",
                               "name  → 1987"};
    for (int i = 0; i < 4; ++i) {
        const ChangeRecord& record = swapped.records[i];
        EXPECT_EQ(record.tagToChange + u' ' + valueText(record.oldTag) + QStringLiteral(" → ") +
                      valueText(record.newTag),
                  expected[i]);
        EXPECT_EQ(record.partner, i ^ 1);
    }
    EXPECT_EQ(swapped.records[0].newTag.typeId(), QMetaType::LongLong);

    options.selectedAction = Mover::kCopy;
    options.selectedOption = Mover::kAppend;
    options.delimiterString = QStringLiteral(", ");
    const Collection copied = move(options, tracks);
    ASSERT_EQ(copied.records.size(), 2);
    EXPECT_EQ(copied.records[0].newTag.toString(), QStringLiteral("Song, 1999"));
    EXPECT_EQ(copied.records[1].newTag.toString(), QStringLiteral("Old, 1987"));
}

TEST(DataMoverTest, TracksWithoutLocationOrValueAreLeftOut) {
    const Collection result =
        move(copy(Mover::kWhole, {}),
             {libraryTrack({{"name", "dead"}, {"comment", "x"}}, std::nullopt),
              libraryTrack({{"comment", "no source"}}), libraryTrack({{"name", "no target"}}),
              libraryTrack({{"name", "kept"}, {"comment", ""}})});
    ASSERT_EQ(result.records.size(), 1);
    EXPECT_EQ(result.records[0].newTag.toString(), QStringLiteral("kept"));
}

TEST(DataMoverTest, UnusableOptionsAreRefusedBeforeAnyWork) {
    struct Row {
        const char* name;
        DataMover::Options options;
        QString alertTitle;  // empty: accepted
    };
    auto pattern = [](const QString& text) {
        DataMover::Options options = copy(Mover::kMatches, {});
        options.searchString = text;
        return options;
    };
    auto swapWith = [](DataMover::Options options) {
        options.selectedAction = Mover::kSwap;
        return options;
    };
    auto tags = [](int source, int target) {
        DataMover::Options options = copy(Mover::kWhole, {});
        options.selectedTag = source;
        options.selectedTargetTag = target;
        return options;
    };
    const Row rows[] = {
        {"n of 0", copy(Mover::kFirstCharacters, "0"), "Invalid Data"},
        {"n not a number", copy(Mover::kExceptFirstCharacters, "abc"), "Invalid Data"},
        {"n empty", copy(Mover::kExceptFirstCharacters, ""), "Invalid Data"},
        {"n negative", copy(Mover::kFirstCharacters, "-2"), "Invalid Data"},
        {"n of 1", copy(Mover::kFirstCharacters, "1"), ""},
        {"n unused by the whole value", copy(Mover::kWhole, "0"), ""},
        {"n unused by a swap", swapWith(copy(Mover::kFirstCharacters, "0")), ""},
        {"no expression", pattern({}), "Invalid RegExp Pattern"},
        {"invalid expression", pattern("(a"), "Invalid RegExp Pattern"},
        {"expression unused by a swap", swapWith(pattern("(a")), ""},
        {"cover as the source", tags(18, 7), ""},
        {"source outside all tags", tags(19, 0), "Invalid Tag"},
        {"target outside the text tags", tags(0, 8), "Invalid Tag"},
        {"negative source", tags(-1, 0), "Invalid Tag"},
    };
    for (const Row& row : rows) {
        const auto alert = DataMover(row.options).validate();
        EXPECT_EQ(alert ? alert->title : QString(), row.alertTitle) << row.name;
    }
}

}  // namespace
}  // namespace tessel::test
