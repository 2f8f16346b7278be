#include "ToolTestSupport.h"
#include "tools/NumericTagChanger.h"

#include <cmath>
#include <limits>

namespace tessel::test {
namespace {

using Changer = NumericTagChanger;

constexpr int kPlayedCount = 0;
constexpr int kYear = 4;
constexpr qint64 kMax = std::numeric_limits<qint32>::max();
constexpr qint64 kMin = std::numeric_limits<qint32>::min();

std::function<QList<itunes::TrackPtr>()> selection(
    const QList<std::shared_ptr<InMemoryTrack>>& tracks) {
    return [tracks] { return QList<itunes::TrackPtr>(tracks.begin(), tracks.end()); };
}

TEST(NumericTagChangerTest, SetsAddsAndSubtractsIn32Bits) {
    struct Row {
        const char* name;
        int change;
        QVariant current;  // invalid: the track has no value
        double number;
        qint64 written;
    };
    const Row rows[] = {
        {"add", Changer::kAdd, qint64(10), 5, 15},
        {"subtract", Changer::kSubtract, qint64(10), 5, 5},
        {"negative result written as it is", Changer::kSubtract, qint64(10), 15, -5},
        {"any other choice subtracts", 7, qint64(10), 4, 6},
        {"set", Changer::kSet, qint64(1987), 2000, 2000},
        {"set to 0", Changer::kSet, qint64(3), 0, 0},
        {"adding 0 still writes", Changer::kAdd, qint64(10), 0, 10},
        {"absent value reads as 0", Changer::kAdd, QVariant(), 3, 3},
        {"text value read as an integer", Changer::kAdd, QString("12 bpm"), 1, 13},
        {"fraction truncated toward zero", Changer::kAdd, qint64(10), 2.9, 12},
        {"negative fraction truncated toward zero", Changer::kAdd, qint64(10), -2.9, 8},
        {"fraction set truncated too", Changer::kSet, qint64(1), 7.5, 7},
        {"overflow clamped", Changer::kAdd, kMax, 1, kMax},
        {"underflow clamped", Changer::kSubtract, kMin, 1, kMin},
        {"subtracting the lowest number", Changer::kSubtract, qint64(0), double(kMin), kMax},
        {"current beyond 32 bits clamped", Changer::kAdd, qint64(1) << 40, -1, kMax - 1},
    };
    for (const Row& row : rows) {
        auto track = InMemoryTrack::make({{"name", "Song"}});
        if (row.current.isValid())
            track->properties.insert("playedCount", row.current);
        Changer changer({kPlayedCount, row.change, row.number});
        ASSERT_FALSE(changer.validate()) << row.name;
        RecordingProgress progress;
        changer.run(selection({track}), progress);
        ASSERT_EQ(track->writes.size(), 1) << row.name;
        EXPECT_EQ(track->writes[0].first, QStringLiteral("playedCount")) << row.name;
        EXPECT_EQ(track->writes[0].second.toLongLong(), row.written) << row.name;
    }
}

TEST(NumericTagChangerTest, WritesEverySelectedTrackWithProgress) {
    const QList<std::shared_ptr<InMemoryTrack>> tracks{
        InMemoryTrack::make({{"name", "A"}, {"year", qint64(1990)}}),
        InMemoryTrack::make({{"name", "B"}}, std::nullopt),
        InMemoryTrack::make({{"name", "C"}, {"year", qint64(2000)}})};
    RecordingProgress progress;
    Changer({kYear, Changer::kSet, 2000}).run(selection(tracks), progress);
    EXPECT_EQ(progress.lines, (QStringList{"1/3 - A", "2/3 - B", "3/3 - C"}));
    for (const auto& track : tracks) {
        ASSERT_EQ(track->writes.size(), 1);
        EXPECT_EQ(track->properties.value("year").toLongLong(), 2000);
    }

    RecordingProgress none;
    Changer({kYear, Changer::kSet, 2000}).run(selection({}), none);
    EXPECT_TRUE(none.lines.isEmpty());
}

TEST(NumericTagChangerTest, LibraryErrorStopsTheRunAndReachesTheCaller) {
    const QList<std::shared_ptr<InMemoryTrack>> tracks{
        InMemoryTrack::make({{"name", "A"}, {"bpm", qint64(100)}}),
        InMemoryTrack::make({{"name", "B"}}), InMemoryTrack::make({{"name", "C"}})};
    tracks[1]->failingKey = QStringLiteral("bpm");
    RecordingProgress progress;
    EXPECT_THROW(Changer({2, Changer::kAdd, 1}).run(selection(tracks), progress), TesselError);
    EXPECT_EQ(tracks[0]->properties.value("bpm").toLongLong(), 101);
    EXPECT_TRUE(tracks[2]->writes.isEmpty());
    EXPECT_EQ(progress.lines.size(), 2);
}

TEST(NumericTagChangerTest, MissingNumberOrTagIsRefused) {
    struct Row {
        Changer::Options options;
        QString alertTitle;  // empty: accepted
    };
    const double nan = std::nan("");
    const double infinity = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {{kYear, Changer::kSet, std::nullopt}, "Invalid Data"},
        {{kYear, Changer::kAdd, nan}, "Invalid Data"},
        {{kYear, Changer::kAdd, infinity}, "Invalid Data"},
        {{kYear, Changer::kAdd, 0.0}, ""},
        {{kYear, Changer::kSet, 1e20}, "Invalid Data"},  // never clamped in silence
        {{kYear, Changer::kSet, -2147483649.0}, "Invalid Data"},
        {{kYear, Changer::kSet, 2147483647.9}, ""},
        {{kYear, Changer::kSet, -2147483648.0}, ""},
        {{9, Changer::kSubtract, -1.0}, ""},
        {{10, Changer::kSet, 1.0}, "Invalid Tag"},
        {{-1, Changer::kSet, 1.0}, "Invalid Tag"},
    };
    for (const Row& row : rows) {
        const auto alert = Changer(row.options).validate();
        EXPECT_EQ(alert ? alert->title : QString(), row.alertTitle);
    }

    auto track = InMemoryTrack::make({{"name", "A"}, {"year", qint64(1990)}});
    RecordingProgress progress;
    Changer({kYear, Changer::kSet, std::nullopt}).run(selection({track}), progress);
    EXPECT_TRUE(track->writes.isEmpty());
}

}  // namespace
}  // namespace tessel::test
