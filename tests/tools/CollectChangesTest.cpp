#include "TestSupport.h"
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

}  // namespace
}  // namespace tessel
