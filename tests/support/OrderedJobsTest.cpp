#include "support/OrderedJobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tessel {
namespace {

using namespace std::chrono_literals;

TEST(OrderedJobsTest, JobsOfOneLaneTakeTurnsInOrderWhileResultsComeBackInOrder) {
    constexpr int kJobs = 200;
    constexpr int kLanes = 3;
    std::atomic<int> running[kLanes] = {};
    std::atomic<bool> overlapped = false;
    std::vector<int> lastStarted(kLanes, -1);
    std::atomic<bool> outOfOrder = false;
    OrderedJobs<int> jobs(4, 16);
    int added = 0;
    for (int taken = 0; taken < kJobs; ++taken) {
        while (added < kJobs && !jobs.full()) {
            const int index = added++;
            const int lane = index % kLanes;
            jobs.add(
                [&, index, lane] {
                    if (running[lane]++ > 0)
                        overlapped = true;
                    if (lastStarted[lane] > index)
                        outOfOrder = true;
                    lastStarted[lane] = index;
                    std::this_thread::sleep_for(50us);
                    --running[lane];
                    return index;
                },
                OrderedJobs<int>::Lane(lane + 1));
        }
        EXPECT_EQ(jobs.take(), taken);
    }
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(outOfOrder);
}

TEST(OrderedJobsTest, StoppingLetsEarlierJobsAndThoseUnderWayFinishAndStartsNoLaterOne) {
    std::atomic<bool> release = false;
    OrderedJobs<int> jobs(2, 32);
    // Job 0 holds its lane, so job 2 (the same lane) waits behind it; job 1 stops the run at
    // once, after job 3, which fails.
    jobs.add(
        [&] {
            while (!release)
                std::this_thread::sleep_for(1ms);
            return 0;
        },
        7);
    jobs.add([&] {
        jobs.stopAfter(3);
        return 1;
    });
    jobs.add([] { return 2; }, 7);
    jobs.add([]() -> int { throw std::runtime_error("failed"); }, 7);
    for (int i = 4; i < 10; ++i)
        jobs.add([i] { return i; }, 7);
    while (!jobs.stopping())
        std::this_thread::sleep_for(1ms);
    release = true;
    EXPECT_EQ(jobs.take(), 0);
    EXPECT_EQ(jobs.take(), 1);
    EXPECT_EQ(jobs.take(), 2) << "before the stop: still runs";
    EXPECT_THROW(jobs.take(), std::runtime_error);
    for (int i = 4; i < 10; ++i)
        EXPECT_EQ(jobs.take(), std::nullopt) << i;
}

TEST(OrderedJobsTest, ACancelledRunStartsNoFurtherJob) {
    std::atomic<int> started = 0;
    std::atomic<bool> cancelled = false;
    OrderedJobs<int> jobs(2, 64, [&] { return cancelled.load(); });
    for (int i = 0; i < 40; ++i) {
        jobs.add([&, i] {
            if (++started == 5)
                cancelled = true;
            return i;
        });
    }
    int finished = 0;
    while (jobs.pending() > 0) {
        if (jobs.take())
            ++finished;
    }
    EXPECT_EQ(finished, started.load());
    EXPECT_GE(finished, 5);
    EXPECT_LE(finished, 6) << "only the job under way on the other thread may finish";
}

}  // namespace
}  // namespace tessel
