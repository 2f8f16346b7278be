#include "ToolTestSupport.h"
#include "tools/StatsWriter.h"

namespace tessel::test {
namespace {

// What the library has is laid over what the file holds; a 0 is none and never wipes a value.
TEST(StatsWriterTest, ProposesOnlyWhatTheFileLacks) {
    EXPECT_EQ(StatsWriter::proposal(qint64(80), qint64(12), ""),
              "FMPS_RATING 0.8, FMPS_PLAYCOUNT 12");
    EXPECT_FALSE(
        StatsWriter::proposal(qint64(80), qint64(12), "FMPS_RATING 0.8, FMPS_PLAYCOUNT 12"));
    EXPECT_FALSE(StatsWriter::proposal(qint64(0), qint64(0), "FMPS_RATING 0.4"));
    EXPECT_FALSE(StatsWriter::proposal({}, {}, ""));
    EXPECT_EQ(StatsWriter::proposal(qint64(0), qint64(5), "FMPS_RATING 0.4"),
              "FMPS_RATING 0.4, FMPS_PLAYCOUNT 5");
    EXPECT_EQ(StatsWriter::proposal(qint64(100), {}, "FMPS_RATING 0.4, FMPS_PLAYCOUNT 9"),
              "FMPS_RATING 1, FMPS_PLAYCOUNT 9");
}

}  // namespace
}  // namespace tessel::test
