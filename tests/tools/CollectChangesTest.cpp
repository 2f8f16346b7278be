#include "TestSupport.h"
#include "ToolTestSupport.h"
#include "tools/CollectChanges.h"

#include <atomic>

namespace tessel {
namespace {

struct RecordingSink : ProgressSink {
    explicit RecordingSink(int stopAfter = -1) : stopAfter(stopAfter) {}
    void setProgress(const QString& detail) override {
        lines.append(detail);
        ++reported;
    }
    bool cancelled() const override { return stopAfter >= 0 && reported >= stopAfter; }
    QStringList lines;
    std::atomic<int> reported = 0;
    int stopAfter;
};

// Files are parsed ahead on several threads; everything the loop hands on keeps the list order.
class CollectChangesTest : public test::TesselTest {
  protected:
    static constexpr int kCount = 60;

    CollectChangesTest() {
        for (int i = 0; i < kCount; ++i) {
            const QString path =
                temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("f%1.mp3").arg(i));
            const MusicTrack track = MusicTrack::withPath(path);
            track.setTag(QStringLiteral("name"), QStringLiteral("Track %1").arg(i));
            tracks.append(track);
        }
    }

    TrackGatherer gather() const {
        return [tracks = tracks] { return std::optional(GatheredTracks{tracks, {}}); };
    }

    // A record for every track whose title is not a multiple of 7; stops at `failAt`.
    ProposeFn proposing(int failAt = -1) const {
        return [failAt](const MusicTrack& track, const QVariantMap& values, Collection& found) {
            const QString title = values.value(QStringLiteral("name")).toString();
            const int number = title.section(u' ', 1).toInt();
            if (number == failAt)
                throw TesselError(errors::kScripting, QStringLiteral("The track is gone."));
            if (number % 7 != 0)
                found.records.append(
                    changeOf(track, values, QStringLiteral("name"), title, title + u'!'));
        };
    }

    static QStringList lines(int count) {
        QStringList expected;
        for (int i = 0; i < count; ++i)
            expected.append(QStringLiteral("%1/%2 - Track %3").arg(i + 1).arg(kCount).arg(i));
        return expected;
    }

    static QStringList titles(const Collection& result) {
        QStringList list;
        for (const ChangeRecord& record : result.records)
            list.append(record.title);
        return list;
    }

    static QStringList expectedTitles(int count) {
        QStringList list;
        for (int i = 0; i < count; ++i) {
            if (i % 7 != 0)
                list.append(QStringLiteral("Track %1").arg(i));
        }
        return list;
    }

    // A gatherer that tells of each track as it finds it, as a folder's listing does, and
    // counts how many it found.
    static TrackGatherer findingOneByOne(QList<MusicTrack> list, int& foundCount) {
        return TrackGatherer::oneByOne([list, &foundCount](const TrackFound& found) {
            GatheredTracks gathered;
            for (const MusicTrack& track : list) {
                gathered.tracks.append(track);
                ++foundCount;
                if (!found(track))
                    break;
            }
            return std::optional(gathered);
        });
    }

    static QStringList linesOf(const QList<MusicTrack>& list, int count) {
        QStringList expected;
        for (int i = 0; i < count; ++i)
            expected.append(
                QStringLiteral("%1/%2 - %3").arg(i + 1).arg(list.size()).arg(list[i].title()));
        return expected;
    }

    // The titles proposing() records among the first count tracks of list.
    static QStringList recordedOf(const QList<MusicTrack>& list, int count) {
        QStringList expected;
        for (int i = 0; i < count; ++i) {
            if (list[i].title().section(u' ', 1).toInt() % 7 != 0)
                expected.append(list[i].title());
        }
        return expected;
    }

    QList<MusicTrack> tracks;
};

TEST_F(CollectChangesTest, RecordsAndLinesFollowTheTrackOrder) {
    RecordingSink progress;
    const Collection result = collectChanges(gather(), progress, {}, proposing());
    EXPECT_FALSE(result.stoppedBy);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(progress.lines, lines(kCount));
    EXPECT_EQ(titles(result), expectedTitles(kCount));
}

TEST_F(CollectChangesTest, AnErrorMidListKeepsTheRecordsBeforeIt) {
    RecordingSink progress;
    const Collection result = collectChanges(gather(), progress, {}, proposing(30));
    ASSERT_TRUE(result.stoppedBy);
    EXPECT_EQ(result.stoppedBy->name(), errors::kScripting);
    EXPECT_EQ(progress.lines, lines(31));
    EXPECT_EQ(titles(result), expectedTitles(30));
}

TEST_F(CollectChangesTest, StoppingEndsTheLoopBeforeTheNextTrack) {
    RecordingSink progress(10);
    const Collection result = collectChanges(gather(), progress, {}, proposing());
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(progress.lines, lines(10));
    EXPECT_EQ(titles(result), expectedTitles(10));
}

TEST_F(CollectChangesTest, TracksToldOfOneByOneKeepTheirOrderAmongLibraryTracks) {
    // Files are read in batches on the workers, a library track on the loop's own thread.
    QList<MusicTrack> list = tracks;
    list.insert(20, test::libraryTrack({{"name", "Track 1000"}, {"artist", "A"}}));
    list.insert(41, test::libraryTrack({{"name", "Track 1001"}, {"artist", "A"}}));
    list.insert(42, test::libraryTrack({{"name", "Track 1003"}, {"artist", "A"}}));
    list.append(test::libraryTrack({{"name", "Track 1002"}, {"artist", "A"}}));
    int foundCount = 0;
    RecordingSink progress;
    const Collection result =
        collectChanges(findingOneByOne(list, foundCount), progress, {}, proposing());
    EXPECT_FALSE(result.stoppedBy);
    EXPECT_EQ(progress.lines, linesOf(list, int(list.size())));
    EXPECT_EQ(titles(result), recordedOf(list, int(list.size())));

    // A library track whose read fails between batches of files ends the loop there.
    auto gone = test::InMemoryTrack::make({{"name", "Track 2000"}});
    gone->failingKey = QStringLiteral("name");
    list.insert(35, MusicTrack::withTrack(gone));
    RecordingSink stopped;
    const Collection failed =
        collectChanges(findingOneByOne(list, foundCount), stopped, {}, proposing());
    ASSERT_TRUE(failed.stoppedBy);
    EXPECT_EQ(stopped.lines, linesOf(list, 35));
    EXPECT_EQ(titles(failed), recordedOf(list, 35));
}

TEST_F(CollectChangesTest, StoppingWhileTracksAreFoundEndsTheGathering) {
    // The user stops while a large folder is still being listed: the listing ends, no track
    // is reported and the run is marked stopped.
    struct StopAfterFinding : ProgressSink {
        void setProgress(const QString& detail) override { lines.append(detail); }
        bool cancelled() const override { return ++asked > 25; }
        mutable int asked = 0;
        QStringList lines;
    } progress;
    int foundCount = 0;
    const Collection result =
        collectChanges(findingOneByOne(tracks, foundCount), progress, {}, proposing());
    EXPECT_TRUE(result.gathered);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(foundCount, 26);
    EXPECT_TRUE(progress.lines.isEmpty());
    EXPECT_TRUE(result.records.isEmpty());
}

TEST_F(CollectChangesTest, TracksAGathererGaveWithoutTellingOfThemAreReadAllTheSame) {
    const auto silent = TrackGatherer::oneByOne([tracks = tracks](const TrackFound&) {
        return std::optional(GatheredTracks{tracks, {}});
    });
    RecordingSink progress;
    const Collection result = collectChanges(silent, progress, {}, proposing());
    EXPECT_EQ(progress.lines, lines(kCount));
    EXPECT_EQ(titles(result), expectedTitles(kCount));
}

TEST_F(CollectChangesTest, ALoneFileIsReadLikeAList) {
    RecordingSink progress;
    int foundCount = 0;
    const Collection result =
        collectChanges(findingOneByOne({tracks.at(3)}, foundCount), progress, {}, proposing());
    EXPECT_EQ(progress.lines, QStringList{QStringLiteral("1/1 - Track 3")});
    EXPECT_EQ(titles(result), QStringList{QStringLiteral("Track 3")});
}

}  // namespace
}  // namespace tessel
