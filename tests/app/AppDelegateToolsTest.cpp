// The controller's Capitalization, Data Mover, encoding converter and numeric tag changer runs
// over an in-memory library: checks, hand-over to the change panel, "No Changes", and the
// numeric tool's writes at once.
#include "MemoryLibrary.h"
#include "RunToEnd.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"

#include <QSignalSpy>

namespace tessel {
namespace {

using Options = QList<std::pair<const char*, QVariant>>;

class AppDelegateToolsTest : public test::TesselTest {
  protected:
    AppDelegateToolsTest() : delegate(library.provider(), presenter()) {
        music = library.addPlaylist(QStringLiteral("Music"));
        delegate.applicationDidFinishLaunching();
        delegate.setProperty("selectedMethod", 0);
        delegate.setProperty("selectedPlaylist", 0);
    }

    bool runToEnd(const std::function<void()>& action) { return test::runToEnd(delegate, action); }

    // A playlist track with a file, its text tags filled so no tool skips it.
    test::MemoryTrack addTrack(const QString& name, const QString& artist = "Artist",
                               std::optional<QString> location = QStringLiteral("/m/a.mp3")) {
        test::MemoryTrack track = library.addTrack(name, artist, std::move(location));
        for (const char* tag : {"album", "genre", "comment"})
            track->properties.insert(tag, QString());
        library.append(music, track);
        return track;
    }

    void set(const Options& options) {
        for (const auto& [name, value] : options)
            delegate.setProperty(name, value);
    }

    QStringList proposals() const {
        QStringList lines;
        if (delegate.changes()) {
            for (const ChangeRecord& record : delegate.changes()->records)
                lines.append(record.tagToChange + ": " + record.oldTag.toString() + " → " +
                             record.newTag.toString());
        }
        return lines;
    }

    test::MemoryLibrary library;
    test::MemoryPlaylist music;
    AppDelegate delegate;
};

struct ToolRun {
    const char* name;
    void (AppDelegate::*action)();
    Options options;
    QString infoLine;
    QStringList proposals;
};

TEST_F(AppDelegateToolsTest, RunsThatFindChangesOpenThePanelOverThem) {
    addTrack("the sound of music", "Beatles");
    addTrack(QStringLiteral("Caf\u00c3\u00a9"), "Artist", std::nullopt);  // no file
    const QString tracks = QStringLiteral("Checked tracks of these %1 tracks will get their ");
    const ToolRun rows[] = {
        {"title case",
         &AppDelegate::performCapitalization,
         {{"selectedTag", 0}, {"selectedCapitalizationMethod", 0}},
         tracks.arg(1) + "tag 'name' changed:",
         {"name: the sound of music → The Sound of Music"}},
        {"upper case of the artist",
         &AppDelegate::performCapitalization,
         {{"selectedTag", 1}, {"selectedCapitalizationMethod", 1}},
         tracks.arg(1) + "tag 'artist' changed:",
         {"artist: Beatles → BEATLES"}},
        {"swap, source first",
         &AppDelegate::performMove,
         {{"selectedAction", 0}, {"selectedTag", 0}, {"selectedTargetTag", 1}},
         tracks.arg(2) + "tags 'name', 'artist' changed:",
         {"name: the sound of music → Beatles", "artist: Beatles → the sound of music"}},
        {"copy the first three characters, appended",
         &AppDelegate::performMove,
         {{"selectedAction", 1},
          {"selectedTag", 1},
          {"selectedTargetTag", 2},
          {"selectedPortion", 1},
          {"portionString", "3"},
          {"selectedOption", 1},
          {"delimiterString", "-"}},
         tracks.arg(1) + "tag 'album' changed:",
         {"album:  → -Bea"}},
        {"matches of an expression, case-insensitive",
         &AppDelegate::performMove,
         {{"selectedAction", 1},
          {"selectedTag", 0},
          {"selectedTargetTag", 5},
          {"selectedPortion", 3},
          {"searchString", "\\bS\\w+"},
          {"caseInsensitive", true},
          {"selectedOption", 0}},
         tracks.arg(1) + "tag 'comment' changed:",
         {"comment:  → sound"}},
        {"Latin-1 reading repaired, also on a track without a file",
         &AppDelegate::performEncoding,
         {{"selectedTag", 0}, {"selectedEncodingFrom", 2}, {"selectedEncodingTo", 1}},
         tracks.arg(1) + "tag 'name' changed:",
         {QStringLiteral("name: Caf\u00c3\u00a9 → Caf\u00e9")}},
    };
    for (const ToolRun& row : rows) {
        presenter().changePanels.clear();
        set({{"selectedAction", 0}, {"selectedPortion", 0}, {"selectedOption", 0}});
        set(row.options);
        EXPECT_TRUE(runToEnd([&] { (delegate.*row.action)(); })) << row.name;
        EXPECT_TRUE(presenter().alerts.isEmpty()) << row.name;
        ASSERT_EQ(presenter().changePanels.size(), 1) << row.name;
        EXPECT_EQ(presenter().changePanels.first().infoLine, row.infoLine) << row.name;
        EXPECT_EQ(proposals(), row.proposals) << row.name;
        EXPECT_FALSE(delegate.changes()->playlist) << row.name;
        delegate.cancelChanges(true);
    }
    EXPECT_EQ(presenter().endEditingCalls, 6);
    EXPECT_EQ(delegate.currentProgressTitle(), QStringLiteral("Collecting changes…"));
}

TEST_F(AppDelegateToolsTest, RunsWithoutChangesShowTheirToolsNoChangesAlert) {
    addTrack("Live in London", "Band");
    const QString tail = QStringLiteral(
        " you've entered doesn't lead to any changes in the tracks you've selected.");
    const ToolRun rows[] = {
        {"title case of a title-cased value",
         &AppDelegate::performCapitalization,
         {{"selectedTag", 0}, {"selectedCapitalizationMethod", 0}},
         "The Capitalization Pattern" + tail,
         {}},
        {"swap of equal values",
         &AppDelegate::performMove,
         {{"selectedAction", 0}, {"selectedTag", 2}, {"selectedTargetTag", 4}},
         "The Data Move Pattern" + tail,
         {}},
        {"same encoding both sides",
         &AppDelegate::performEncoding,
         {{"selectedTag", 0}, {"selectedEncodingFrom", 1}, {"selectedEncodingTo", 1}},
         "The Encoding Conversion" + tail,
         {}},
        {"UTF-8 to ASCII of plain text",
         &AppDelegate::performEncoding,
         {{"selectedTag", 1}, {"selectedEncodingFrom", 1}, {"selectedEncodingTo", 0}},
         "The Encoding Conversion" + tail,
         {}},
    };
    for (const ToolRun& row : rows) {
        presenter().alerts.clear();
        set(row.options);
        EXPECT_TRUE(runToEnd([&] { (delegate.*row.action)(); })) << row.name;
        EXPECT_EQ(presenter().alertLines(), QStringList{"No Changes: " + row.infoLine}) << row.name;
        EXPECT_TRUE(presenter().changePanels.isEmpty()) << row.name;
        EXPECT_FALSE(delegate.hasChanges()) << row.name;
    }
}

TEST_F(AppDelegateToolsTest, ASwapOfTitleAndArtistIsWrittenWhole) {
    const test::MemoryTrack first = addTrack("Song", "Band");
    const test::MemoryTrack second = addTrack("Tune", "Other");
    set({{"selectedAction", 0}, {"selectedTag", 0}, {"selectedTargetTag", 1}});
    ASSERT_TRUE(runToEnd([&] { delegate.performMove(); }));
    ASSERT_EQ(delegate.changes()->records.size(), 4);
    // Unchecking one half of a swap unchecks the other: half a swap would copy one value
    // over the other and lose it.
    delegate.checkSelected({3}, 0);  // the second track's new artist
    EXPECT_FALSE(delegate.changes()->records.at(2).enabled);
    EXPECT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_TRUE(presenter().alerts.isEmpty()) << presenter().alertLines().join('\n').toStdString();
    EXPECT_EQ(first->properties.value("name"), "Band");
    EXPECT_EQ(first->properties.value("artist"), "Song");
    EXPECT_EQ(second->properties.value("name"), "Tune");
    EXPECT_EQ(second->properties.value("artist"), "Other");
}

TEST_F(AppDelegateToolsTest, ChecksStopEachToolBeforeAnyWork) {
    const test::MemoryTrack track = addTrack("Song");
    track->properties.insert("year", qint64(1999));
    library.select({track});
    const ToolRun rows[] = {
        {"capitalization tag out of range",
         &AppDelegate::performCapitalization,
         {{"selectedTag", 8}},
         "Invalid Tag",
         {}},
        {"an expression that does not compile",
         &AppDelegate::performMove,
         {{"selectedAction", 1}, {"selectedTag", 0}, {"selectedPortion", 3}, {"searchString", "("}},
         "Invalid RegExp Pattern: The Regexp you've entered is invalid. Click on the Help icon in "
         "the lower left corner to learn more about the ICU Regexp syntax.",
         {}},
        {"no first characters",
         &AppDelegate::performMove,
         {{"selectedAction", 1}, {"selectedPortion", 2}, {"portionString", "0"}},
         "Invalid Data: You have to enter a positive number into Tag Portion field to use the "
         "'(Except) First Characters' Tag Portion Option.",
         {}},
        {"an encoding beyond the table",
         &AppDelegate::performEncoding,
         {{"selectedTag", 0}, {"selectedEncodingFrom", 14}},
         "Invalid Encoding",
         {}},
        {"no number",
         &AppDelegate::performNumeric,
         {{"numericString", QVariant()}},
         "Invalid Data: You have to enter a number to use the Numeric Tag Changer.",
         {}},
        {"an empty number field",
         &AppDelegate::performNumeric,
         {{"numericString", QString(" ")}},
         "Invalid Data: You have to enter a number to use the Numeric Tag Changer.",
         {}},
        {"a field that holds no number",
         &AppDelegate::performNumeric,
         {{"numericString", QString("five")}},
         "Invalid Data: You have to enter a number to use the Numeric Tag Changer.",
         {}},
    };
    for (const ToolRun& row : rows) {
        presenter().alerts.clear();
        set(row.options);
        EXPECT_FALSE(runToEnd([&] { (delegate.*row.action)(); })) << row.name;
        ASSERT_EQ(presenter().alerts.size(), 1) << row.name;
        const QString line = presenter().alertLines().first();
        EXPECT_TRUE(line == row.infoLine || line.startsWith(row.infoLine + ": "))
            << row.name << ": " << line.toStdString();
    }
    EXPECT_EQ(presenter().progressShown, 0);
    EXPECT_EQ(track->properties.value("year").toLongLong(), 1999);
}

TEST_F(AppDelegateToolsTest, TheNumericToolWritesTheSelectionAtOnce) {
    struct Row {
        const char* name;
        int change;
        QVariant number;
        QList<qint64> before;
        QList<qint64> after;
    };
    const Row rows[] = {
        {"year 2000 on three tracks", 0, 2000, {1987, 0, 2010}, {2000, 2000, 2000}},
        {"0 accepted", 0, QString("0"), {5, 6, 7}, {0, 0, 0}},
        {"add", 1, QString("5"), {10, 0, -3}, {15, 5, 2}},
        {"subtract, negative results written", 2, 5.0, {10, 0, 2}, {5, -5, -3}},
    };
    QList<test::MemoryTrack> selected;
    for (const char* name : {"A", "B", "C"})
        selected.append(addTrack(name));
    addTrack("not selected")->properties.insert("year", qint64(1));
    library.select(selected);
    delegate.setProperty("selectedNumericTag", 4);  // year
    for (const Row& row : rows) {
        presenter().alerts.clear();
        for (int i = 0; i < 3; ++i)
            selected.at(i)->properties.insert("year", row.before.at(i));
        set({{"selectedNumeric", row.change}, {"numericString", row.number}});
        QSignalSpy written(&delegate, &AppDelegate::tracksWritten);
        EXPECT_TRUE(runToEnd([&] { delegate.performNumeric(); })) << row.name;
        EXPECT_TRUE(presenter().alerts.isEmpty()) << row.name;
        ASSERT_EQ(written.size(), 1) << row.name;
        EXPECT_EQ(written.first().first().toInt(), 3) << row.name;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(selected.at(i)->properties.value("year").toLongLong(), row.after.at(i))
                << row.name << " " << i;
    }
    EXPECT_EQ(music->entries.last().track->properties.value("year").toLongLong(), 1);
    EXPECT_TRUE(presenter().changePanels.isEmpty());
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_EQ(presenter().progressShown, 4);
    EXPECT_EQ(presenter().progressHidden, 4);
    EXPECT_EQ(delegate.currentProgressTitle(), QStringLiteral("Applying changes…"));
}

TEST_F(AppDelegateToolsTest, ALibraryErrorEndsTheNumericRunInAnAlert) {
    QList<test::MemoryTrack> selected;
    for (const char* name : {"A", "B", "C"})
        selected.append(addTrack(name));
    selected.at(1)->failWrites = true;
    library.select(selected);
    set({{"selectedNumericTag", 0}, {"selectedNumeric", 1}, {"numericString", 1}});
    QSignalSpy written(&delegate, &AppDelegate::tracksWritten);
    EXPECT_FALSE(runToEnd([&] { delegate.performNumeric(); }));
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"Changes Not Completed: The Numeric Tag Changer stopped at a track: The "
                          "library refused the change. The selected tracks before it were "
                          "written; it and the ones after it were not changed."});
    EXPECT_EQ(selected.at(0)->properties.value("playedCount").toLongLong(), 1);
    EXPECT_FALSE(selected.at(2)->properties.contains("playedCount"));
    EXPECT_EQ(presenter().progressHidden, 1);
    EXPECT_TRUE(written.isEmpty());

    AppDelegate noLibrary(nullptr, presenter());
    noLibrary.applicationDidFinishLaunching();
    noLibrary.setProperty("numericString", 1);
    presenter().alerts.clear();
    QSignalSpy ended(&noLibrary, &AppDelegate::runEnded);
    noLibrary.performNumeric();
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_FALSE(ended.first().first().toBool());
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"Scripting Error: No music library is available."});
}

}  // namespace
}  // namespace tessel
