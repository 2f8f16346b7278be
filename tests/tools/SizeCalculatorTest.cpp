#include "ToolTestSupport.h"
#include "tools/SizeCalculator.h"

namespace tessel::test {
namespace {

MusicTrack timedTrack(QVariant duration, QVariant bitrate, const QString& name = "Song") {
    QVariantMap properties{{"name", name}};
    if (duration.isValid())
        properties.insert("duration", duration);
    if (bitrate.isValid())
        properties.insert("bitRate", bitrate);
    return libraryTrack(properties);
}

SizeCalculator::Result estimate(int selectedBitrate, const QList<MusicTrack>& tracks,
                                RecordingProgress* lines = nullptr) {
    RecordingProgress progress;
    return SizeCalculator({selectedBitrate}).estimate(gathering(tracks), lines ? *lines : progress);
}

TEST(SizeCalculatorTest, SumsEachTrackInWholeKilobytes) {
    struct Row {
        const char* name;
        int selectedBitrate;
        double duration;
        int bitrate;
        double current, downConverted, allConverted;  // kilobytes
        double averageDown;
    };
    const Row rows[] = {
        {"same bitrate", 0, 240, 128, 3840, 3840, 3840, 128},
        {"higher bitrate brought down", 1, 300, 320, 12000, 7200, 7200, 192},
        {"lower bitrate kept when down-converting", 2, 240, 96, 2880, 2880, 7680, 96},
        {"1.5 s at 128 kbps", 0, 1.5, 128, 24, 24, 24, 128},
        {"1.49 s at 128 kbps cut to whole kilobytes", 0, 1.49, 128, 23, 23, 23, 128},
    };
    for (const Row& row : rows) {
        const auto result = estimate(row.selectedBitrate, {timedTrack(row.duration, row.bitrate)});
        const SizeEstimate& sums = result.estimate;
        EXPECT_EQ(sums.currentKilobytes, row.current) << row.name;
        EXPECT_EQ(sums.downConvertedKilobytes, row.downConverted) << row.name;
        EXPECT_EQ(sums.allConvertedKilobytes, row.allConverted) << row.name;
        EXPECT_EQ(sums.averageBitrate(), row.bitrate) << row.name;
        EXPECT_EQ(sums.averageDownConvertedBitrate(), row.averageDown) << row.name;
    }
    // Cut per track: two tracks of 1.49 s add 23 each, not 47 together.
    const auto twice = estimate(0, {timedTrack(1.49, 128), timedTrack(1.49, 128)});
    EXPECT_EQ(twice.estimate.currentKilobytes, 46);
}

TEST(SizeCalculatorTest, MessageShowsMegabytesAndAverages) {
    SizeEstimate sums;
    sums.target = 192;
    sums.add(300, 320);
    EXPECT_EQ(SizeCalculator::resultAlert(sums).message,
              "These files are currently occupying approximately 11.72 MB with an average "
              "bitrate of 320.0 kbps.\n\nThese files would occupy approximately 7.03 MB (on an "
              "average bitrate of 192.0 kbps) when converting higher bitrate files down to 192 "
              "kbps (option in iTunes).\n\nThese files would occupy approximately 7.03 MB when "
              "converting them all to 192 kbps (even if they are currently smaller).");
    EXPECT_EQ(SizeCalculator::resultAlert(sums).title, "Playlist/Folder size");

    SizeEstimate low;
    low.target = 256;
    low.add(240, 96);
    const QString message = SizeCalculator::resultAlert(low).message;
    EXPECT_TRUE(message.startsWith("These files are currently occupying approximately 2.81 MB"));
    EXPECT_TRUE(message.contains("approximately 7.50 MB when converting them all to 256"));
}

TEST(SizeCalculatorTest, EmptyListAndMissingValuesCountAsNothing) {
    const auto empty = estimate(0, {});
    EXPECT_TRUE(empty.gathered);
    EXPECT_EQ(empty.estimate.tracks, 0);
    // No track, no bitrate to average: the averages show 0.0 instead of dividing by zero.
    EXPECT_TRUE(SizeCalculator::resultAlert(empty.estimate)
                    .message.startsWith("These files are currently occupying approximately "
                                        "0.00 MB with an average bitrate of 0.0 kbps."));

    RecordingProgress lines;
    const auto partial = estimate(
        0, {timedTrack({}, 128, "A"), timedTrack(10, {}, "B"), timedTrack(8, 64, "C")}, &lines);
    EXPECT_EQ(partial.estimate.tracks, 3);
    EXPECT_EQ(partial.estimate.currentKilobytes, 64);
    EXPECT_EQ(partial.estimate.allConvertedKilobytes, 160 + 128);
    EXPECT_EQ(partial.estimate.averageBitrate(), 64);
    EXPECT_EQ(lines.lines, QStringList({"1/3 - A", "2/3 - B", "3/3 - C"}));

    // A broken duration stops at the 32-bit limit instead of wrapping around.
    SizeEstimate huge;
    huge.add(3e9f, 320);
    EXPECT_EQ(huge.currentKilobytes, 2147483647.0);
}

TEST(SizeCalculatorTest, ReadErrorStopsTheEstimateAndGatheringFailureGivesNone) {
    auto gone = InMemoryTrack::make({{"name", "Gone"}, {"duration", 10}, {"bitRate", 128}});
    gone->failingKey = "duration";
    const auto stopped = estimate(0, {timedTrack(10, 128), MusicTrack::withTrack(gone)});
    ASSERT_TRUE(stopped.stoppedBy);
    EXPECT_EQ(stopped.estimate.tracks, 1);

    RecordingProgress progress;
    EXPECT_FALSE(SizeCalculator({0}).estimate(failedGathering(), progress).gathered);
    EXPECT_TRUE(SizeCalculator({3}).validate());
    EXPECT_FALSE(SizeCalculator({2}).validate());
}

}  // namespace
}  // namespace tessel::test
