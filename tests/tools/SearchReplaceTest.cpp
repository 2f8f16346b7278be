#include "MemoryLibrary.h"
#include "TestSupport.h"
#include "tools/SearchReplace.h"

namespace tessel {
namespace {

struct RecordingSink : ProgressSink {
    QStringList lines;
    void setProgress(const QString& detail) override { lines.append(detail); }
};

SearchReplace::Options options(int tag, const QString& search, const QString& replace,
                               bool caseInsensitive = true, bool useRegular = false) {
    return {tag, search, replace, caseInsensitive, useRegular};
}

struct CheckRow {
    const char* name;
    SearchReplace::Options options;
    QString alertTitle;  // empty: the checks pass
};

TEST(SearchReplaceTest, ChecksInOrder) {
    const CheckRow rows[] = {
        {"tag below the list", options(-1, "a", "b"), "Invalid Tag"},
        {"tag past the eight text tags", options(8, "a", "b"), "Invalid Tag"},
        {"the tag is checked first", options(8, "", "b"), "Invalid Tag"},
        {"last text tag", options(7, "a", "b"), ""},
        {"empty search", options(0, "", "b"), "Empty Search String"},
        {"absent search", options(0, QString(), "b"), "Empty Search String"},
        {"invalid expression", options(0, "(", "b", true, true), "Invalid Search/Replace Pattern"},
        {"the same text searched literally", options(0, "(", "b"), ""},
        {"absent replacement", options(0, "a", QString(), true, true), ""},
        {"a group the expression lacks", options(0, "(X)", "$2", true, true),
         "Invalid RegExp Pattern"},
        {"a lone dollar", options(0, "(X)", "$", true, true), "Invalid RegExp Pattern"},
        {"a dollar searched literally", options(0, "(X)", "$2"), ""},
    };
    for (const CheckRow& row : rows) {
        SearchReplace tool(row.options);
        const auto alert = tool.validate();
        EXPECT_EQ(alert ? alert->title : QString(), row.alertTitle) << row.name;
    }
}

TEST(SearchReplaceTest, AlertTexts) {
    const QStringList expected{
        "You need to select a tag to use the Tag Search & Replace tool.",
        "You can't perform a Search/Replace operation without entering a search string.",
        "The Search/Replace Regexp you've entered is invalid. Click on the Help icon in the lower "
        "left corner to learn more about the ICU Regexp syntax."};
    const SearchReplace::Options failing[] = {options(9, "a", ""), options(0, "", ""),
                                              options(0, "[", "", false, true)};
    for (int i = 0; i < 3; ++i) {
        const auto alert = SearchReplace(failing[i]).validate();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message, expected.at(i));
        EXPECT_EQ(alert->defaultButton, QStringLiteral("OK"));
        EXPECT_TRUE(alert->alternateButton.isEmpty());
    }
    const auto group = SearchReplace(options(0, "(X)", "$2", true, true)).validate();
    ASSERT_TRUE(group);
    EXPECT_EQ(group->message,
              QStringLiteral("The replacement “$2” cannot be used with this expression: “$2” "
                             "refers to group 2, but the expression has only 1 group. Click on "
                             "the Help icon in the lower left corner to learn more about the ICU "
                             "Regexp syntax."));
    EXPECT_EQ(SearchReplace::noChangesAlert().message,
              QStringLiteral("The Search/Replace Pattern you've entered doesn't lead to any "
                             "changes in the tracks you've selected."));
}

struct ReplaceRow {
    const char* name;
    SearchReplace::Options options;
    QString value;
    QString expected;
};

TEST(SearchReplaceTest, Replacements) {
    const ReplaceRow rows[] = {
        {"literal, letter case ignored", options(0, "the", "The"), "the end of the world",
         "The end of The world"},
        {"a value already replaced stays", options(0, "the", "The"), "The", "The"},
        {"literal, letter case kept", options(0, "the", "a", false), "The the", "The a"},
        {"empty replacement deletes", options(0, "-", ""), "a-b-c", "abc"},
        {"absent replacement deletes", options(0, "-", QString()), "a-b-c", "abc"},
        {"no overlaps, left to right", options(0, "aa", "b"), "aaaaa", "bba"},
        {"literal expression characters", options(0, "(.*)", "x"), "a(.*)b", "axb"},
        {"accented letters ignore case", options(0, "été", "x"), "ÉTÉ Été", "x x"},
        {"swap halves", options(0, "^(.*) - (.*)$", "$2 - $1", true, true), "Artist - Title",
         "Title - Artist"},
        {"anchors match at lines", options(0, "^x", "y", true, true), "x1\nx2", "y1\ny2"},
        {"expression ignores case", options(0, "b", "X", true, true), "ABC", "AXC"},
        {"expression keeps case", options(0, "b", "X", false, true), "ABC", "ABC"},
        {"$0 and escapes", options(0, "o", "[$0]\\$", true, true), "foo", "f[o]$[o]$"},
        {"absent replacement in an expression", options(0, "o+", QString(), true, true), "foo",
         "f"},
        {"preset 1 on a short value", options(0, "...(.*)", "$1", true, true), "ab", "ab"},
        {"preset 3", options(0, "The (.*)", "$1, The", true, true), "The Beatles", "Beatles, The"},
    };
    for (const ReplaceRow& row : rows) {
        SearchReplace tool(row.options);
        ASSERT_FALSE(tool.validate()) << row.name;
        EXPECT_EQ(tool.replaced(row.value), row.expected) << row.name;
    }
}

class SearchReplaceCollectTest : public test::TesselTest {
  protected:
    TrackGatherer gatherer(const QList<MusicTrack>& tracks) {
        return [tracks] { return std::optional(GatheredTracks{tracks, {}}); };
    }

    Collection collect(SearchReplace::Options options, const QList<MusicTrack>& tracks) {
        SearchReplace tool(std::move(options));
        EXPECT_FALSE(tool.validate());
        return tool.collect(gatherer(tracks), progress);
    }

    MusicTrack fixture(const QString& name, const QString& as) {
        return MusicTrack::withPath(temp.copyFixture(name, as));
    }

    RecordingSink progress;
};

TEST_F(SearchReplaceCollectTest, ProposesOneChangePerChangedTrack) {
    const QList<MusicTrack> tracks{fixture("tagged.mp3", "a.mp3"), fixture("plain.mp3", "b.mp3"),
                                   fixture("tagged.flac", "c.flac")};
    const Collection found = collect(options(0, "so", "Tu"), tracks);
    EXPECT_TRUE(found.gathered);
    EXPECT_FALSE(found.stoppedBy);
    ASSERT_EQ(found.records.size(), 2);
    for (const ChangeRecord& record : found.records) {
        EXPECT_TRUE(record.enabled);
        EXPECT_EQ(record.title, QStringLiteral("Song"));
        EXPECT_EQ(record.artist, QStringLiteral("Artist"));
        EXPECT_EQ(record.tagToChange, QStringLiteral("name"));
        EXPECT_EQ(record.oldTag, QStringLiteral("Song"));
        EXPECT_EQ(record.newTag, QStringLiteral("Tung"));
    }
    EXPECT_EQ(found.records.at(1).track.path(), tracks.at(2).path());
    EXPECT_EQ(progress.lines, (QStringList{"1/3 - Song", "2/3 - ", "3/3 - Song"}));
}

TEST_F(SearchReplaceCollectTest, StoppingEndsTheLoopBeforeTheNextTrackAndSaysSo) {
    struct StoppingSink : RecordingSink {
        bool cancelled() const override { return lines.size() >= 2; }
    } stopping;
    const QList<MusicTrack> tracks{fixture("tagged.mp3", "a.mp3"), fixture("tagged.mp3", "b.mp3"),
                                   fixture("tagged.mp3", "c.mp3")};
    SearchReplace tool(options(0, "so", "Tu"));
    const Collection found = tool.collect(gatherer(tracks), stopping);
    EXPECT_TRUE(found.cancelled);
    EXPECT_FALSE(found.stoppedBy);
    EXPECT_EQ(found.records.size(), 2);
    EXPECT_EQ(stopping.lines, (QStringList{"1/3 - Song", "2/3 - Song"}));
}

TEST_F(SearchReplaceCollectTest, AnUnsupportedTagStopsTheLoop) {
    const Collection found = collect(options(6, "a", "b"), {fixture("tagged.mp3", "a.mp3")});
    EXPECT_TRUE(found.gathered);
    EXPECT_TRUE(found.records.isEmpty());
    ASSERT_TRUE(found.stoppedBy);
    EXPECT_EQ(found.stoppedBy->name(), errors::kUnsupportedTag);
}

TEST_F(SearchReplaceCollectTest, LibraryTracksWithoutAFileAreNeverProposed) {
    test::MemoryLibrary library;
    const auto playlist = library.addPlaylist(QStringLiteral("Music"));
    library.append(playlist, library.addTrack("Dead Song", "X"));
    library.append(playlist, library.addTrack("Live Song", "X", QStringLiteral("/m/live.mp3")));
    const QList<MusicTrack> tracks{MusicTrack::withTrack(library.reference(playlist, 0)),
                                   MusicTrack::withTrack(library.reference(playlist, 1))};
    const Collection found = collect(options(0, "Song", "Tune"), tracks);
    ASSERT_EQ(found.records.size(), 1);
    EXPECT_EQ(found.records.first().newTag, QStringLiteral("Live Tune"));
    EXPECT_EQ(passedOverLine(found.passedOver),
              QStringLiteral("Passed over: 1 track whose file is missing."));
}

TEST_F(SearchReplaceCollectTest, ARunawayExpressionEndsTheLoopInsteadOfProposingAWrongValue) {
    test::MemoryLibrary library;
    const auto playlist = library.addPlaylist(QStringLiteral("Music"));
    for (const QString& name :
         {QStringLiteral("aaa"), QString(40, u'a') + u'!', QStringLiteral("a")})
        library.append(playlist, library.addTrack(name, "X", QStringLiteral("/m/x.mp3")));
    QList<MusicTrack> tracks;
    for (int i = 0; i < 3; ++i)
        tracks.append(MusicTrack::withTrack(library.reference(playlist, i)));

    const Collection found = collect(options(0, "(a+)+$", "x", false, true), tracks);
    ASSERT_TRUE(found.stoppedBy);
    EXPECT_EQ(found.stoppedBy->name(), kRegexTimeoutError);
    ASSERT_EQ(found.records.size(), 1);
    EXPECT_EQ(found.records.first().newTag, QStringLiteral("x"));
}

TEST_F(SearchReplaceCollectTest, AFailedGatheringIsNotAGatheredList) {
    SearchReplace tool(options(0, "a", "b"));
    ASSERT_FALSE(tool.validate());
    const Collection found = tool.collect([] { return std::optional<GatheredTracks>(); }, progress);
    EXPECT_FALSE(found.gathered);
    EXPECT_TRUE(progress.lines.isEmpty());
}

}  // namespace
}  // namespace tessel
