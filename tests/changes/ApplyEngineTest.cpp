#include "../app/MemoryLibrary.h"
#include "TestSupport.h"
#include "changes/ApplyEngine.h"

#include <QFile>

#include <unistd.h>

#include <atomic>
#include <functional>

namespace tessel {
namespace {

using Outcome = ApplyResult::Outcome;

struct RecordingSink : ProgressSink {
    QStringList lines;
    void setProgress(const QString& detail) override { lines.append(detail); }
};

class ApplyEngineTest : public test::TesselTest {
  protected:
    // A copy of a tagged fixture (title Song, artist Artist) and a record renaming it.
    ChangeRecord renaming(const QString& file, const QString& newTitle,
                          const QString& fixture = QStringLiteral("tagged.mp3")) {
        const QString path = temp.copyFixture(fixture, file);
        return tagChange(MusicTrack::withPath(path), QStringLiteral("Song"),
                         QStringLiteral("Artist"), QStringLiteral("name"), QStringLiteral("Song"),
                         newTitle);
    }

    ChangeList renamings(int count) {
        ChangeList list;
        for (int i = 1; i <= count; ++i) {
            list.records.append(
                renaming(QStringLiteral("t%1.mp3").arg(i), QStringLiteral("New %1").arg(i)));
        }
        return list;
    }

    static QString titleOf(const ChangeRecord& record) { return record.track.title(); }

    RecordingSink progress;
};

TEST_F(ApplyEngineTest, AChangedTrackCancelsTheRunAfterTheRecordsBeforeIt) {
    const ChangeList list = renamings(6);
    list.records.at(4).track.setTag(QStringLiteral("artist"), QStringLiteral("Someone Else"));

    const ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_EQ(result.trackName, QStringLiteral("Song"));
    const QStringList expected{"New 1", "New 2", "New 3", "New 4", "Song"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(titleOf(list.records.at(i)), expected.at(i)) << i;
    // The last one may have been under way on another thread; if so it counts.
    EXPECT_EQ(result.done, titleOf(list.records.at(5)) == u"New 6" ? 5 : 4);
}

// Asks the run to stop once it has reported the given number of lines; asked from the run's
// worker threads too.
struct StoppingSink : ProgressSink {
    explicit StoppingSink(int after) : after(after) {}
    void setProgress(const QString& detail) override {
        lines.append(detail);
        ++reported;
    }
    bool cancelled() const override { return reported >= after; }
    QStringList lines;
    std::atomic<int> reported = 0;
    int after;
};

TEST_F(ApplyEngineTest, StoppingFinishesTheRecordsUnderWayAndStartsNoOther) {
    const int count = 60;
    const ChangeList list = renamings(count);
    StoppingSink stopping(3);  // the third record's line: the user stops while others are written

    const ApplyResult result = applyTagChanges(list, stopping);
    EXPECT_EQ(result.outcome, Outcome::Interrupted);
    EXPECT_GE(result.done, 3);
    EXPECT_LT(result.done, count) << "the run may not go on to the end";
    // What was written is a run of records from the first, each reported in order, and the
    // records after it are untouched.
    QStringList expected;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(titleOf(list.records.at(i)),
                  i < result.done ? QStringLiteral("New %1").arg(i + 1) : QStringLiteral("Song"))
            << i;
        if (i < result.done)
            expected.append(QStringLiteral("%1/%2 Song").arg(i + 1).arg(count));
    }
    EXPECT_EQ(stopping.lines, expected);
    EXPECT_EQ(result.trackName, QStringLiteral("Song"));
    EXPECT_FALSE(stoppedAlert(result, false)) << "the user stopped it: no error to report";
}

TEST_F(ApplyEngineTest, RecordsOfOneFileKeepTheirOrderAmongTheOthers) {
    // Files listed several times among many others: a swap of title and artist (two records
    // of one file that each expect what the other wrote), and a file listed twice with the
    // same change far apart.
    const int count = 40;
    ChangeList list = renamings(count);
    const MusicTrack swapped = list.records.at(5).track;
    const MusicTrack twice = list.records.at(9).track;
    list.records[5] =
        tagChange(swapped, QStringLiteral("Song"), QStringLiteral("Artist"), QStringLiteral("name"),
                  QStringLiteral("Song"), QStringLiteral("Artist"));
    list.records[17] =
        tagChange(swapped, QStringLiteral("Song"), QStringLiteral("Artist"),
                  QStringLiteral("artist"), QStringLiteral("Artist"), QStringLiteral("Song"));
    list.records[30] = list.records.at(9);
    list.records[12].enabled = false;

    const ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(result.done, count - 1);
    EXPECT_EQ(swapped.title(), QStringLiteral("Artist"));
    EXPECT_EQ(swapped.artist(), QStringLiteral("Song"));
    EXPECT_EQ(twice.title(), QStringLiteral("New 10"));
    ASSERT_EQ(progress.lines.size(), count);
    for (int i = 0; i < count; ++i) {
        const QString title = i == 17 ? QStringLiteral("Artist") : QStringLiteral("Song");
        EXPECT_EQ(
            progress.lines.at(i),
            i == 12
                ? QStringLiteral("%1/%2 ").arg(i + 1).arg(count)
                : QStringLiteral("%1/%2 %3").arg(i + 1).arg(count).arg(i == 30 ? "New 10" : title));
    }
}

TEST_F(ApplyEngineTest, TheFirstFailureInTheListEndsTheRunAndNothingAfterItStarts) {
    struct Case {
        const char* name;
        std::function<void(ChangeList&)> spoil;  // makes record 20 fail
        Outcome outcome;
        bool read;  // whether the failing record got as far as its line
    };
    const QList<Case> cases{
        {"changed meanwhile",
         [](ChangeList& list) {
             list.records.at(20).track.setTag(QStringLiteral("artist"), QStringLiteral("Other"));
         },
         Outcome::Cancelled, true},
        {"a tag the file cannot take",
         [](ChangeList& list) { list.records[20].tagToChange = QStringLiteral("composer"); },
         Outcome::Stopped, false},
    };
    for (const Case& c : cases) {
        const int count = 80;
        ChangeList list = renamings(count);
        c.spoil(list);
        RecordingSink sink;
        const ApplyResult result = applyTagChanges(list, sink);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.trackName, QStringLiteral("Song")) << c.name;
        // Every record before it is written; after it, only the records that were already
        // under way on the other threads, and those are counted and reported.
        const int after = result.done - 20;
        EXPECT_GE(after, 0) << c.name;
        EXPECT_LT(20 + after, count - 1) << c.name << ": the run went on to the end";
        QStringList expected;
        for (int i = 0; i < count; ++i) {
            const bool written = i < 20 || (i > 20 && i <= 20 + after);
            EXPECT_EQ(titleOf(list.records.at(i)),
                      written ? QStringLiteral("New %1").arg(i + 1) : QStringLiteral("Song"))
                << c.name << " " << i;
            if (written || (i == 20 && c.read))
                expected.append(QStringLiteral("%1/%2 Song").arg(i + 1).arg(count));
        }
        EXPECT_EQ(sink.lines, expected) << c.name;
        if (c.outcome == Outcome::Stopped) {
            EXPECT_EQ(result.error->name(), errors::kUnsupportedTag);
        }
    }
}

TEST_F(ApplyEngineTest, EachFormatIsGuardedAndWrittenOrLeftByteForByte) {
    for (const char* fixture : {"tagged.mp3", "tagged-v1.mp3", "tagged.flac", "tagged.ogg",
                                "tagged.m4a", "tagged.wav", "tagged.aiff"}) {
        const QString name = QString::fromLatin1(fixture);
        ChangeList list;
        list.records.append(renaming("written-" + name, QStringLiteral("New"), name));
        list.records.append(renaming("stale-" + name, QStringLiteral("New"), name));
        list.records[1].artist = QStringLiteral("Someone Else");  // as if changed meanwhile
        const QByteArray stale = test::fileBytes(list.records.at(1).track.path());

        const ApplyResult result = applyTagChanges(list, progress);
        EXPECT_EQ(result.outcome, Outcome::Cancelled) << fixture;
        EXPECT_EQ(result.done, 1) << fixture;
        EXPECT_EQ(titleOf(list.records.at(0)), QStringLiteral("New")) << fixture;
        EXPECT_EQ(list.records.at(0).track.artist(), QStringLiteral("Artist")) << fixture;
        EXPECT_EQ(test::fileBytes(list.records.at(1).track.path()), stale) << fixture;
    }
}

TEST_F(ApplyEngineTest, UncheckedRecordsAreCountedButNotTouched) {
    ChangeList list = renamings(12);
    const QList<int> unchecked{1, 3, 5, 8, 10};
    for (int row : unchecked)
        list.records[row].enabled = false;
    const QByteArray untouched = test::fileBytes(list.records.at(1).track.path());

    const ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(result.done, 7);
    QStringList expected;
    for (int i = 0; i < 12; ++i) {
        expected.append(unchecked.contains(i) ? QStringLiteral("%1/12 ").arg(i + 1)
                                              : QStringLiteral("%1/12 Song").arg(i + 1));
        const QString title = titleOf(list.records.at(i));
        EXPECT_EQ(title, unchecked.contains(i) ? QStringLiteral("Song")
                                               : QStringLiteral("New %1").arg(i + 1));
    }
    EXPECT_EQ(progress.lines, expected);
    for (int row : unchecked)
        EXPECT_EQ(test::fileBytes(list.records.at(row).track.path()), untouched);
}

TEST_F(ApplyEngineTest, ATrackListedTwiceIsWrittenOnceAndTheRunGoesOn) {
    // A playlist that holds one file twice, then another file: each entry's record was
    // computed from the same old value.
    ChangeList list;
    list.records.append(renaming(QStringLiteral("twice.mp3"), QStringLiteral("New")));
    list.records.append(list.records.first());
    list.records.append(renaming(QStringLiteral("after.mp3"), QStringLiteral("After")));
    ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(result.done, 3);
    EXPECT_EQ(titleOf(list.records.at(0)), QStringLiteral("New"));
    EXPECT_EQ(titleOf(list.records.at(2)), QStringLiteral("After"));

    // The same with a library track, for a tag other than the title or the artist.
    test::MemoryLibrary library;
    const auto playlist = library.addPlaylist(QStringLiteral("Music"));
    const test::MemoryTrack track = library.addTrack(QStringLiteral("A"), QStringLiteral("X"));
    track->properties.insert(QStringLiteral("comment"), QStringLiteral("old"));
    library.append(playlist, track);
    library.append(playlist, track);
    ChangeList twice;
    for (int entry : {0, 1}) {
        twice.records.append(tagChange(MusicTrack::withTrack(library.reference(playlist, entry)),
                                       QStringLiteral("A"), QStringLiteral("X"),
                                       QStringLiteral("comment"), QStringLiteral("old"),
                                       QStringLiteral("new")));
    }
    result = applyTagChanges(twice, progress);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(result.done, 2);
    EXPECT_EQ(track->properties.value(QStringLiteral("comment")), QStringLiteral("new"));
}

TEST_F(ApplyEngineTest, AChangeBySomeoneElseToTheChangedTagItselfCancels) {
    // A file whose title changed behind Tessel's back, title and artist guards aside.
    ChangeList list = renamings(2);
    list.records[1].title = QStringLiteral("Song");
    list.records[1].tagToChange = QStringLiteral("comment");
    list.records[1].oldTag = QStringLiteral("Note");
    list.records[1].newTag = QStringLiteral("Mine");
    list.records.at(1).track.setTag(QStringLiteral("comment"), QStringLiteral("Theirs"));
    ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_EQ(result.done, 1);
    EXPECT_EQ(list.records.at(1).track.valueForTag(QStringLiteral("comment")),
              QStringLiteral("Theirs"));

    // A library track listed twice whose value someone else changed after the first write.
    test::MemoryLibrary library;
    const auto playlist = library.addPlaylist(QStringLiteral("Music"));
    const test::MemoryTrack track = library.addTrack(QStringLiteral("A"), QStringLiteral("X"));
    track->properties.insert(QStringLiteral("comment"), QStringLiteral("old"));
    library.append(playlist, track);
    library.append(playlist, track);
    ChangeList twice;
    for (int entry : {0, 1}) {
        twice.records.append(tagChange(MusicTrack::withTrack(library.reference(playlist, entry)),
                                       QStringLiteral("A"), QStringLiteral("X"),
                                       QStringLiteral("comment"), QStringLiteral("old"),
                                       QStringLiteral("new")));
    }
    track->afterWrite = [data = track.get()] {
        data->properties.insert(QStringLiteral("comment"), QStringLiteral("theirs"));
    };
    result = applyTagChanges(twice, progress);
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_EQ(result.done, 1);
    EXPECT_EQ(track->properties.value(QStringLiteral("comment")), QStringLiteral("theirs"));
}

TEST_F(ApplyEngineTest, AnAbsentValueGuardsAsTheEmptyText) {
    const QString path = temp.copyFixture(QStringLiteral("plain.mp3"));
    ChangeList list;
    list.records.append(tagChange(MusicTrack::withPath(path), {}, {}, QStringLiteral("name"),
                                  QStringLiteral(""), QStringLiteral("Named")));
    EXPECT_EQ(applyTagChanges(list, progress).outcome, Outcome::Finished);
    EXPECT_EQ(MusicTrack::withPath(path).title(), QStringLiteral("Named"));

    // Relinking a library track that has no file: its location reads absent, stored as "".
    test::MemoryLibrary library;
    const test::MemoryTrack dead = library.addTrack(QStringLiteral("Gone"), QStringLiteral("Band"));
    const auto playlist = library.addPlaylist(QStringLiteral("Music"));
    library.append(playlist, dead);
    ChangeList relink;
    relink.records.append(tagChange(MusicTrack::withTrack(library.reference(playlist, 0)),
                                    QStringLiteral("Gone"), QStringLiteral("Band"),
                                    QStringLiteral("location"), QStringLiteral(""),
                                    QStringLiteral("/music/found.mp3")));
    EXPECT_EQ(applyTagChanges(relink, progress).outcome, Outcome::Finished);
    EXPECT_EQ(dead->location, QStringLiteral("/music/found.mp3"));
}

TEST_F(ApplyEngineTest, AFailedWriteStopsTheRunAndIsReported) {
    test::MemoryLibrary library;
    const auto playlist = library.addPlaylist(QStringLiteral("Music"));
    ChangeList list;
    for (const char* name : {"A", "B", "C"}) {
        library.append(playlist, library.addTrack(QString::fromLatin1(name), QStringLiteral("X")));
        list.records.append(
            tagChange(MusicTrack::withTrack(library.reference(playlist, list.records.size())),
                      QString::fromLatin1(name), QStringLiteral("X"), QStringLiteral("artist"),
                      QStringLiteral("X"), QStringLiteral("Y")));
    }
    playlist->entries.at(1).track->failWrites = true;

    const ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_EQ(result.done, 1);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->name(), errors::kScripting);
    EXPECT_EQ(playlist->entries.at(2).track->properties.value("artist"), QStringLiteral("X"));

    const auto alert = stoppedAlert(result, false);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, QStringLiteral("Changes Not Completed"));
    EXPECT_EQ(alert->message,
              QStringLiteral("Writing the change to “B” failed: The library refused the change. "
                             "1 change had been written; the remaining ones were not applied."));
}

TEST_F(ApplyEngineTest, AReadOnlyFileStopsTheRun) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not stop root";
    ChangeList list = renamings(3);
    QFile::setPermissions(list.records.at(1).track.path(), QFileDevice::ReadOwner);
    const ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_EQ(result.done, titleOf(list.records.at(2)) == u"New 3" ? 2 : 1);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->name(), errors::kTagWrite);
    EXPECT_TRUE(stoppedAlert(result, false));
    EXPECT_EQ(titleOf(list.records.at(1)), QStringLiteral("Song"));
}

TEST_F(ApplyEngineTest, AnUnsupportedTagStopsWithItsOwnMessage) {
    ChangeList list = renamings(2);
    list.records[0].tagToChange = QStringLiteral("composer");
    const QByteArray before = test::fileBytes(list.records.at(0).track.path());

    const ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_EQ(result.done, titleOf(list.records.at(1)) == u"New 2" ? 1 : 0);
    const auto alert = stoppedAlert(result, false);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, QStringLiteral("Unsupported Tag"));
    EXPECT_EQ(alert->message, unsupported::kFolderMessage);
    EXPECT_EQ(test::fileBytes(list.records.at(0).track.path()), before);
}

// ---- membership changes ----

class MembershipTest : public ApplyEngineTest {
  protected:
    MembershipTest() {
        source = library.addPlaylist(QStringLiteral("Source"));
        target = library.addPlaylist(QStringLiteral("Target"));
        for (const char* name : {"A", "B", "C", "D"})
            library.append(source,
                           library.addTrack(QString::fromLatin1(name), QStringLiteral("X")));
    }

    ChangeList membership(int remove, bool trash = false) {
        ChangeList list;
        list.playlist = true;
        list.remove = remove;
        list.trash = trash;
        for (int i = 0; i < source->entries.size(); ++i) {
            const QString name = source->entries.at(i).track->properties.value("name").toString();
            list.records.append({true,
                                 MusicTrack::withTrack(library.reference(source, i)),
                                 name,
                                 QStringLiteral("X"),
                                 {},
                                 {},
                                 {}});
        }
        return list;
    }

    ApplyResult apply(const ChangeList& list) {
        return applyChanges(list, library.provider(), {target->persistentId, "Target"}, progress);
    }

    test::MemoryLibrary library;
    test::MemoryPlaylist source;
    test::MemoryPlaylist target;
};

TEST_F(MembershipTest, AddingSkipsTracksAlreadyInTheTarget) {
    library.append(target, source->entries.at(1).track);
    ChangeList list = membership(0);
    list.records[3].enabled = false;

    const ApplyResult result = apply(list);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(test::MemoryLibrary::names(target), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(test::MemoryLibrary::names(source), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(progress.lines, (QStringList{"Preparation", "1/3 - A", "2/3 - B", "3/3 - C"}));
}

TEST_F(MembershipTest, EveryGuardRunsBeforeTheFirstChange) {
    source->entries.at(2).track->properties.insert("artist", QStringLiteral("Changed"));
    for (int remove : {0, 1}) {
        const ApplyResult result = apply(membership(remove));
        EXPECT_EQ(result.outcome, Outcome::Cancelled);
        EXPECT_EQ(result.trackName, QStringLiteral("C"));
        EXPECT_EQ(result.done, 0);
    }
    EXPECT_EQ(test::MemoryLibrary::names(source), (QStringList{"A", "B", "C", "D"}));
    EXPECT_TRUE(target->entries.isEmpty());
}

TEST_F(MembershipTest, TracksGoToTheTargetChosenEvenWhenAnotherSharesItsName) {
    const auto twin = library.addPlaylist(QStringLiteral("Target"));
    const ApplyResult result =
        applyChanges(membership(0), library.provider(), {twin->persistentId, "Target"}, progress);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(test::MemoryLibrary::names(twin), (QStringList{"A", "B", "C", "D"}));
    EXPECT_TRUE(target->entries.isEmpty());
}

TEST_F(MembershipTest, RemovingWithTrashMovesOnlyFileTracksFiles) {
    const QString file = temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("a.mp3"));
    const QString stream = temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("b.mp3"));
    source->entries.at(0).track->location = file;
    source->entries.at(1).track->location = stream;
    source->entries.at(1).track->className = QStringLiteral("ITunesURLTrack");
    ChangeList list = membership(1, true);
    list.records[2].enabled = false;

    EXPECT_EQ(apply(list).outcome, Outcome::Finished);
    EXPECT_EQ(test::MemoryLibrary::names(source), QStringList{"C"});
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(stream));
}

TEST_F(MembershipTest, ARemovalDeletesOnlyTheEntryItWasGatheredThrough) {
    library.append(source, source->entries.at(0).track);  // A twice
    ChangeList list = membership(1);
    for (int row : {0, 1, 2, 3})
        list.records[row].enabled = false;
    EXPECT_EQ(apply(list).outcome, Outcome::Finished);
    EXPECT_EQ(test::MemoryLibrary::names(source), (QStringList{"A", "B", "C", "D"}));
}

TEST_F(MembershipTest, ScriptingErrorsStopTheRunWithAnAlert) {
    source->entries.at(1).track->deleted = true;
    ApplyResult result = apply(membership(1));
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_EQ(test::MemoryLibrary::names(source), (QStringList{"A", "B", "C", "D"}));
    auto alert = stoppedAlert(result, true);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message,
              QStringLiteral("The playlist changes stopped at “B”: The track no longer exists. "
                             "No change had been made; the remaining ones were not made."));

    source->entries.at(1).track->deleted = false;
    result =
        applyChanges(membership(0), library.provider(), {"FFFFFFFFFFFFFFFF", "Gone"}, progress);
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_TRUE(target->entries.isEmpty());

    const itunes::ApplicationProvider unreachable = []() -> std::shared_ptr<itunes::Application> {
        throw itunes::scriptingError(QStringLiteral("The library cannot be opened."));
    };
    result = applyChanges(membership(0), unreachable, {target->persistentId, "Target"}, progress);
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_TRUE(stoppedAlert(result, true));
}

}  // namespace
}  // namespace tessel
