// The Playlist Manager's conditions over value texts, its checks, and its collection of
// membership records from library tracks.
#include "ToolTestSupport.h"
#include "tags/TagCatalogue.h"
#include "tools/PlaylistManager.h"

namespace tessel {
namespace {

using Tool = PlaylistManager;

Tool::Options condition(int tag, int which, const QString& text, bool caseInsensitive = true) {
    Tool::Options options;
    options.selectedTag = tag;
    options.selectedCondition = which;
    options.conditionString = text;
    options.caseInsensitive = caseInsensitive;
    options.targetPlaylistId = QStringLiteral("00000000000000AA");
    return options;
}

// The values among candidates that the condition matches, in order.
QStringList matching(Tool::Options options, const QStringList& candidates) {
    Tool tool(std::move(options));
    EXPECT_FALSE(tool.validate());
    QStringList found;
    for (const QString& value : candidates) {
        if (tool.matches(value))
            found.append(value);
    }
    return found;
}

struct MatchRow {
    const char* name;
    Tool::Options options;
    QStringList candidates;
    QStringList expected;
};

TEST(PlaylistManagerTest, TextConditions) {
    const QStringList live{"Alive (LIVE)", "LIVE", "live", "Studio"};
    const QStringList empty{"", "x"};
    const MatchRow rows[] = {
        {"contains, case ignored",
         condition(0, Tool::kContains, "live"),
         live,
         {"Alive (LIVE)", "LIVE", "live"}},
        {"contains, case kept: 'live' inside 'Alive'",
         condition(0, Tool::kContains, "live", false),
         live,
         {"Alive (LIVE)", "live"}},
        {"is, case ignored", condition(0, Tool::kIs, "LIVE"), live, {"LIVE", "live"}},
        {"is, case kept", condition(0, Tool::kIs, "LIVE", false), live, {"LIVE"}},
        {"is not", condition(0, Tool::kIsNot, "live"), live, {"Alive (LIVE)", "Studio"}},
        {"does not contain",
         condition(0, Tool::kDoesNotContain, "LIVE", false),
         live,
         {"live", "Studio"}},
        {"begins with", condition(0, Tool::kBeginsWith, "li"), live, {"LIVE", "live"}},
        {"ends with", condition(0, Tool::kEndsWith, "live)"), live, {"Alive (LIVE)"}},
        {"begins with, accents lowered",
         condition(0, Tool::kBeginsWith, "ÉCO"),
         {"école", "ecole"},
         {"école"}},
        {"empty text: is finds the empty values", condition(0, Tool::kIs, ""), empty, {""}},
        {"empty text: contains finds nothing", condition(0, Tool::kContains, ""), empty, {}},
        {"empty text: does not contain finds all", condition(0, Tool::kDoesNotContain, ""), empty,
         empty},
        {"empty text: begins with finds nothing", condition(0, Tool::kBeginsWith, ""), empty, {}},
        {"empty text: ends with finds nothing", condition(0, Tool::kEndsWith, ""), empty, {}},
        {"absent text reads as empty", condition(0, Tool::kIs, QString()), empty, {""}},
        {"expression anchors match lines",
         condition(0, Tool::kMatches, "^Intro"),
         {"Verse\nintro here", "Outro intro", "intro"},
         {"Verse\nintro here", "intro"}},
        {"expression, case kept",
         condition(0, Tool::kMatches, "^Intro", false),
         {"Verse\nintro here", "Intro"},
         {"Intro"}},
    };
    for (const MatchRow& row : rows)
        EXPECT_EQ(matching(row.options, row.candidates), row.expected) << row.name;
}

TEST(PlaylistManagerTest, NumberConditions) {
    const QStringList lyrics{"", "one line", "two\nlines", "cr\r\nlf", "sep\u2028arated"};
    const MatchRow rows[] = {
        {"more than 1 line",
         condition(3, Tool::kMoreLinesThan, "1"),
         lyrics,
         {"two\nlines", "cr\r\nlf", "sep\u2028arated"}},
        {"fewer than 3 lines: CR LF is two separators",
         condition(3, Tool::kFewerLinesThan, "3"),
         lyrics,
         {"", "one line", "two\nlines", "sep\u2028arated"}},
        {"longer than 1 counts UTF-16 units",
         condition(0, Tool::kLongerThan, "1"),
         {"a", "\U0001F600", "ab"},
         {"\U0001F600", "ab"}},
        {"shorter than 2",
         condition(0, Tool::kShorterThan, " +2 apples"),
         {"a", "", "ab"},
         {"a", ""}},
        {"greater than a non-number is greater than 0",
         condition(8, Tool::kGreaterThan, "abc"),
         {"0", "5", "-3", "", "x"},
         {"5"}},
        {"smaller than", condition(8, Tool::kSmallerThan, "-2"), {"-3", "-2", "7 days"}, {"-3"}},
        {"values beyond 32 bits clamp",
         condition(8, Tool::kGreaterThan, "2147483646"),
         {"99999999999", "2147483646", "-99999999999"},
         {"99999999999"}},
        {"a clamped condition number",
         condition(8, Tool::kSmallerThan, "-99999999999"),
         {"-2147483648", "-99999999999", "0"},
         {}},
    };
    for (const MatchRow& row : rows)
        EXPECT_EQ(matching(row.options, row.candidates), row.expected) << row.name;
}

TEST(PlaylistManagerTest, ChecksRefuseWhatCannotRun) {
    struct Row {
        const char* name;
        Tool::Options options;
        QString title;  // empty: the checks pass
    };
    Tool::Options add = condition(0, Tool::kContains, "a");
    add.targetPlaylistId.clear();
    Tool::Options remove = add;
    remove.selectedPlaylistAction = 1;
    const Row rows[] = {
        {"length with a non-number", condition(0, Tool::kLongerThan, "abc"), "Invalid Data"},
        {"lines with zero", condition(0, Tool::kMoreLinesThan, "0"), "Invalid Data"},
        {"shorter than nothing", condition(0, Tool::kShorterThan, ""), "Invalid Data"},
        {"fewer lines with a non-number", condition(0, Tool::kFewerLinesThan, "x"), "Invalid Data"},
        {"a negative length passes", condition(0, Tool::kLongerThan, "-1"), ""},
        {"greater than takes 0", condition(8, Tool::kGreaterThan, "0"), ""},
        {"an open group", condition(0, Tool::kMatches, "("), "Invalid RegExp Pattern"},
        {"an empty expression", condition(0, Tool::kMatches, ""), "Invalid RegExp Pattern"},
        {"'(' as a plain text", condition(0, Tool::kContains, "("), ""},
        {"the cover tag", condition(18, Tool::kIs, "cover"), ""},
        {"a tag past the list", condition(19, Tool::kIs, ""), "Invalid Tag"},
        {"a condition past the list", condition(0, 13, ""), "Invalid Condition"},
        {"adding without a target", add, "No Target Playlist"},
        {"removing needs none", remove, ""},
    };
    for (const Row& row : rows) {
        const auto alert = Tool(row.options).validate();
        EXPECT_EQ(alert ? alert->title : QString(), row.title) << row.name;
    }
    const auto invalid = Tool(condition(0, Tool::kLongerThan, "abc")).validate();
    EXPECT_EQ(invalid->message,
              "You have to enter a positive number into the condition field to "
              "use this condition.");
    const auto pattern = Tool(condition(0, Tool::kMatches, "(")).validate();
    EXPECT_EQ(pattern->message,
              "The Regexp you've entered is invalid. Click on the Help icon in the lower left "
              "corner to learn more about the ICU Regexp syntax.");
}

TEST(PlaylistManagerTest, CollectsMembershipRecordsInPlaylistOrder) {
    const auto track = [](const QString& name, const QVariant& plays) {
        return test::libraryTrack({{"name", name}, {"artist", "A"}, {"playedCount", plays}});
    };
    const QList<MusicTrack> tracks{track("One", 3), track("Two", QVariant()), track("Three", 12)};
    Tool::Options options =
        condition(catalogue::allTags().indexOf("playedCount"), Tool::kGreaterThan, "2");
    options.selectedPlaylistAction = 1;
    options.moveTrash = true;
    Tool tool(options);
    ASSERT_FALSE(tool.validate());
    test::RecordingProgress progress;
    const Collection found = tool.collect(test::gathering(tracks), progress);
    ASSERT_EQ(found.records.size(), 2);
    EXPECT_EQ(found.records.at(0).title, "One");
    EXPECT_EQ(found.records.at(1).title, "Three");
    EXPECT_EQ(found.records.at(1).artist, "A");
    EXPECT_TRUE(found.records.at(0).enabled);
    EXPECT_TRUE(found.records.at(0).tagToChange.isEmpty());
    EXPECT_FALSE(found.records.at(0).oldTag.isValid());
    EXPECT_EQ(progress.lines, QStringList({"1/3 - One", "2/3 - Two", "3/3 - Three"}));
    const ChangeList shape = tool.shape();
    EXPECT_TRUE(shape.playlist);
    EXPECT_EQ(shape.remove, 1);
    EXPECT_TRUE(shape.trash);

    // A read error ends the loop; what was found before it stays.
    auto failing = test::InMemoryTrack::make({{"name", "Gone"}});
    failing->failingKey = QStringLiteral("playedCount");
    const Collection cut = tool.collect(
        test::gathering({tracks.at(0), MusicTrack::withTrack(failing), tracks.at(2)}), progress);
    EXPECT_EQ(cut.records.size(), 1);
    EXPECT_TRUE(cut.stoppedBy);
    EXPECT_FALSE(tool.collect(test::failedGathering(), progress).gathered);
}

TEST(PlaylistManagerTest, CoverTagTestsTheFileForAPicture) {
    test::TempFolder folder;
    const QString withCover = folder.copyFixture("cover.mp3");
    const QString plain = folder.copyFixture("plain.mp3");
    const QList<MusicTrack> tracks{test::libraryTrack({{"name", "Pictured"}}, withCover),
                                   test::libraryTrack({{"name", "Plain"}}, plain),
                                   test::libraryTrack({{"name", "Dead"}}, std::nullopt)};
    Tool has(condition(18, Tool::kIs, "cover"));
    ASSERT_FALSE(has.validate());
    test::RecordingProgress progress;
    const Collection found = has.collect(test::gathering(tracks), progress);
    ASSERT_EQ(found.records.size(), 1);
    EXPECT_EQ(found.records.first().title, "Pictured");
    Tool lacks(condition(18, Tool::kIs, ""));
    ASSERT_FALSE(lacks.validate());
    EXPECT_EQ(lacks.collect(test::gathering(tracks), progress).records.size(), 2);
}

}  // namespace
}  // namespace tessel
