#include "MemoryLibrary.h"
#include "RunToEnd.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "changes/ChangePanel.h"

#include <QMetaProperty>
#include <QSignalSpy>

namespace tessel {
namespace {

class AppDelegateTest : public test::TesselTest {
  protected:
    AppDelegateTest() : delegate(library.provider(), presenter()) {
        music = library.addPlaylist(QStringLiteral("Music"));
        library.addPlaylist(QStringLiteral("Smart"), true);
        delegate.applicationDidFinishLaunching();
    }

    // Starts an action and waits for the run it starts to end; returns runEnded's flag.
    bool runToEnd(const std::function<void()>& action) { return test::runToEnd(delegate, action); }

    void set(const char* name, const QVariant& value) { delegate.setProperty(name, value); }

    // A folder of copies of the tagged fixture (title Song, artist Artist) as the source.
    QStringList useFolderOf(int count) {
        QStringList paths;
        for (int i = 1; i <= count; ++i)
            paths.append(temp.copyFixture("tagged.mp3", QStringLiteral("music/%1.mp3").arg(i)));
        set("folderPath", QUrl::fromLocalFile(temp.filePath("music")));
        delegate.pathSelected();
        return paths;
    }

    void searchFor(const QString& search, const QString& replace, int tag = 0) {
        set("selectedTag", tag);
        set("searchString", search);
        set("replaceString", replace);
    }

    static QString titleAt(const QString& path) { return MusicTrack::withPath(path).title(); }

    test::MemoryLibrary library;
    test::MemoryPlaylist music;
    AppDelegate delegate;
};

TEST_F(AppDelegateTest, OptionsStartWithTheirLaunchValuesAndNotifyChanges) {
    const QStringList names = AppDelegate::optionNames();
    EXPECT_EQ(names.size(), 37);
    for (const QString& name : names) {
        const QVariant value = delegate.property(name.toLatin1().constData());
        QVariant expected;
        if (name == u"selectedCondition")
            expected = 2;
        else if (name == u"caseInsensitive")
            expected = true;
        else if (name == u"filenameString")
            expected = QStringLiteral("#n - #t");
        else if (value.typeId() == QMetaType::Int)
            expected = 0;
        else if (value.typeId() == QMetaType::Bool)
            expected = false;
        if (expected.isValid())
            EXPECT_EQ(value, expected) << name.toStdString();
        else
            EXPECT_TRUE(value.isNull() || !value.isValid() || value.toUrl().isEmpty())
                << name.toStdString();
    }
    for (const QString& name : names) {
        const QMetaProperty property = delegate.metaObject()->property(
            delegate.metaObject()->indexOfProperty(name.toLatin1().constData()));
        ASSERT_TRUE(property.hasNotifySignal()) << name.toStdString();
        QSignalSpy notified(&delegate, property.notifySignal());
        QVariant changed =
            property.typeId() == QMetaType::Bool   ? QVariant(!property.read(&delegate).toBool())
            : property.typeId() == QMetaType::Int  ? QVariant(7)
            : property.typeId() == QMetaType::QUrl ? QVariant(QUrl::fromLocalFile("/m"))
                                                   : QVariant(QStringLiteral("7"));
        ASSERT_TRUE(property.write(&delegate, changed)) << name.toStdString();
        EXPECT_EQ(notified.size(), 1) << name.toStdString();
    }
}

TEST_F(AppDelegateTest, StartUpFillsTheSharedData) {
    EXPECT_EQ(delegate.tags().size(), 8);
    EXPECT_EQ(delegate.readableTags().value(7), QStringLiteral("Album Artist"));
    EXPECT_EQ(delegate.integerTags().size(), 10);
    EXPECT_EQ(delegate.allTags().size(), 19);
    EXPECT_EQ(delegate.allTags().last(), QStringLiteral("cover"));
    EXPECT_EQ(delegate.allReadableTags().last(), QStringLiteral("EmbeddedCover"));
    EXPECT_EQ(delegate.playlists(), (QStringList{"Music", "Smart"}));
    EXPECT_EQ(delegate.editablePlaylists(), QStringList{"Music"});
    EXPECT_EQ(delegate.version(), QStringLiteral("Version: ") + env.lib().appVersionString());
    EXPECT_EQ(delegate.build(), QStringLiteral("Build: %1").arg(env.lib().appBuild()));
    EXPECT_TRUE(delegate.metadataSearches().isEmpty());
    EXPECT_FALSE(delegate.hasChanges());
}

TEST_F(AppDelegateTest, PresetsFillTheTextsAndAlwaysTurnOnTheExpression) {
    struct Row {
        int index;
        QString search;
        QString replace;
    };
    const Row rows[] = {
        {0, "keep", "mine"},
        {1, "...(.*)", "$1"},
        {2, "(.*)\\[(.*)\\](.*)", "$1($2)$3"},
        {3, "The (.*)", "$1, The"},
        {4, "(.*), The", "The $1"},
        {5, "^(.*)", "0$1"},
        {6, "keep", "mine"},
        {-1, "keep", "mine"},
    };
    for (const Row& row : rows) {
        searchFor("keep", "mine");
        set("useRegular", false);
        delegate.presetClicked(row.index);
        EXPECT_EQ(delegate.property("searchString").toString(), row.search) << row.index;
        EXPECT_EQ(delegate.property("replaceString").toString(), row.replace) << row.index;
        EXPECT_TRUE(delegate.property("useRegular").toBool()) << row.index;
    }
}

TEST_F(AppDelegateTest, SourceAndPlaylistMenus) {
    delegate.pathSelected();
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), 1);

    library.addPlaylist(QStringLiteral("New"));
    delegate.popUp(12);
    EXPECT_EQ(delegate.playlists().size(), 2);
    delegate.popUp(13);
    EXPECT_EQ(delegate.playlists(), (QStringList{"Music", "Smart", "New"}));
}

TEST_F(AppDelegateTest, ChecksStopTheToolBeforeAnyWork) {
    struct Row {
        const char* name;
        int tag;
        QString search;
        bool regex;
        QString alert;
    };
    const Row rows[] = {
        {"tag", 8, "a", false, "Invalid Tag"},
        {"search", 0, "", false, "Empty Search String"},
        {"pattern", 0, "(", true, "Invalid Search/Replace Pattern"},
    };
    for (const Row& row : rows) {
        presenter().alerts.clear();
        searchFor(row.search, "x", row.tag);
        set("useRegular", row.regex);
        EXPECT_FALSE(runToEnd([&] { delegate.performSearchReplace(); })) << row.name;
        EXPECT_EQ(presenter().alertTitles(), QStringList{row.alert}) << row.name;
    }
    EXPECT_EQ(presenter().progressShown, 0);
    EXPECT_EQ(presenter().endEditingCalls, 3);
}

TEST_F(AppDelegateTest, AFolderRunHandsItsChangesToThePanel) {
    useFolderOf(2);
    temp.copyFixture("plain.mp3", "music/sub/plain.mp3");
    searchFor("SONG", "Tune");
    EXPECT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    EXPECT_TRUE(presenter().alerts.isEmpty());
    ASSERT_EQ(presenter().changePanels.size(), 1);
    EXPECT_EQ(
        presenter().changePanels.first().infoLine,
        QStringLiteral("Checked tracks of these 2 tracks will get their tag 'name' changed:"));
    EXPECT_TRUE(presenter().changePanels.first().valueColumnsVisible);
    ASSERT_TRUE(delegate.changes());
    EXPECT_FALSE(delegate.changes()->playlist);
    EXPECT_EQ(delegate.changes()->records.first().newTag, QStringLiteral("Tune"));
    EXPECT_EQ(presenter().progressShown, 1);
    EXPECT_EQ(presenter().progressHidden, 1);
    EXPECT_EQ(delegate.currentProgressTitle(), QStringLiteral("Collecting changes…"));
}

TEST_F(AppDelegateTest, EdgeCasesOfALibraryRun) {
    for (const char* name : {"the end of the world", "The", "no match"})
        library.append(music, library.addTrack(name, "X", QStringLiteral("/m/a.mp3")));
    set("selectedMethod", 0);
    set("selectedPlaylist", 0);
    searchFor("the", "The");
    EXPECT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    ASSERT_TRUE(delegate.changes());
    ASSERT_EQ(delegate.changes()->records.size(), 1);
    EXPECT_EQ(delegate.changes()->records.first().newTag, QStringLiteral("The end of The world"));

    searchFor("zzz", "y");
    EXPECT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList{"No Changes"});
}

TEST_F(AppDelegateTest, FailuresWhileGatheringOrCollectingAreReported) {
    struct Row {
        const char* name;
        std::function<void()> setUp;
        QStringList alerts;
    };
    const Row rows[] = {
        {"no folder", [&] { set("selectedMethod", 1); }, {"No Folder"}},
        {"missing playlist",
         [&] {
             set("selectedMethod", 0);
             set("selectedPlaylist", 5);
         },
         {"Playlist Not Found"}},
        {"an unsupported tag on files",
         [&] {
             useFolderOf(1);
             searchFor("a", "b", 6);
         },
         {"Unsupported Tag"}},  // a run cut short claims no "No Changes"
    };
    searchFor("a", "b");
    for (const Row& row : rows) {
        presenter().alerts.clear();
        row.setUp();
        EXPECT_FALSE(runToEnd([&] { delegate.performSearchReplace(); })) << row.name;
        EXPECT_EQ(presenter().alertTitles(), row.alerts) << row.name;
        EXPECT_FALSE(delegate.hasChanges()) << row.name;
    }

    AppDelegate noLibrary(nullptr, presenter());
    noLibrary.applicationDidFinishLaunching();
    presenter().alerts.clear();
    QSignalSpy ended(&noLibrary, &AppDelegate::runEnded);
    noLibrary.setProperty("searchString", "a");
    noLibrary.performSearchReplace();
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"Scripting Error: No music library is available."});
}

TEST_F(AppDelegateTest, ARunawayExpressionIsReportedAndTheEarlierChangesOffered) {
    for (const QString& name :
         {QStringLiteral("aa"), QString(40, u'a') + u'!', QStringLiteral("a")})
        library.append(music, library.addTrack(name, "X", QStringLiteral("/m/a.mp3")));
    searchFor("(a+)+$", "x");
    set("useRegular", true);
    EXPECT_FALSE(runToEnd([&] { delegate.performSearchReplace(); }));
    ASSERT_EQ(presenter().alerts.size(), 1);
    EXPECT_EQ(presenter().alerts.first().title, QStringLiteral("Regular Expression Too Slow"));
    EXPECT_TRUE(
        presenter().alerts.first().message.endsWith("The tracks after it were not looked at."));
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(delegate.changes()->records.size(), 1);
}

TEST_F(AppDelegateTest, ApplyingWritesTheCheckedRowsAndCountsTwoUsages) {
    const QString key = Progress::usageCounterKey();
    const qint64 before = defaultInt(key);
    useFolderOf(6);
    searchFor("Song", "Tune");
    ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    ASSERT_TRUE(delegate.changes());
    delegate.checkSelected({0, 2, 4}, 0);
    const ChangeList list = *delegate.changes();
    EXPECT_EQ(enabledCount(list), 3);

    QStringList details;
    QObject::connect(&delegate, &AppDelegate::currentProgressDetailChanged,
                     [&] { details.append(delegate.currentProgressDetail()); });
    EXPECT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(presenter().changePanelsHidden, 1);
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_EQ(delegate.currentProgressTitle(), QStringLiteral("Applying changes…"));
    EXPECT_EQ(details,
              (QStringList{"", "1/6 ", "2/6 Song", "3/6 ", "4/6 Song", "5/6 ", "6/6 Song"}));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(titleAt(list.records.at(i).track.path()),
                  i % 2 == 0 ? QStringLiteral("Song") : QStringLiteral("Tune"));
    }
    EXPECT_EQ(defaultInt(key), before + 2);
    EXPECT_TRUE(presenter().alerts.isEmpty());
}

TEST_F(AppDelegateTest, ATouchedTrackCancelsTheApplyAfterTheRecordsBeforeIt) {
    useFolderOf(6);
    searchFor("Song", "Tune");
    ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    const ChangeList list = *delegate.changes();
    list.records.at(4).track.setTag("artist", QStringLiteral("Touched"));

    EXPECT_FALSE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"Tessel: Please do not 'touch' iTunes while the operation is running. "
                          "The operation had to be canceled."});
    // Files are written several at once: the record after the touched one may have been under
    // way when the touch was found, and then finishes; the touched file is never written.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(titleAt(list.records.at(i).track.path()), i < 4 ? "Tune" : "Song") << i;
    const QString last = titleAt(list.records.at(5).track.path());
    EXPECT_TRUE(last == u"Tune" || last == u"Song") << last.toStdString();
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_EQ(presenter().progressHidden, 2);
}

TEST_F(AppDelegateTest, AFailedWriteIsReportedNotPassedAsSuccess) {
    for (const char* name : {"Song 1", "Song 2", "Song 3"})
        library.append(music, library.addTrack(name, "X", QStringLiteral("/m/a.mp3")));
    music->entries.at(1).track->failWrites = true;
    searchFor("Song", "Tune");
    ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    EXPECT_FALSE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"Changes Not Completed: Writing the change to “Song 2” failed: The "
                          "library refused the change. 1 change had been written; the remaining "
                          "ones were not applied."});
    EXPECT_EQ(test::MemoryLibrary::names(music), (QStringList{"Tune 1", "Song 2", "Song 3"}));
    EXPECT_FALSE(delegate.hasChanges());
}

TEST_F(AppDelegateTest, CancelDiscardsTheListOnlyWhenTheUserCancels) {
    useFolderOf(1);
    searchFor("Song", "Tune");
    ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    delegate.cancelChanges(false);
    EXPECT_TRUE(delegate.hasChanges());
    delegate.cancelChanges(true);
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_EQ(presenter().changePanelsHidden, 2);
    delegate.applyChanges();  // nothing open: nothing happens
    EXPECT_EQ(presenter().progressShown, 1);
}

}  // namespace
}  // namespace tessel
