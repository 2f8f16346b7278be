// Jobs that run on worker threads of their own while their results come back in the order the
// jobs were added: a loop can read or write ahead on every core and still report item by item
// in its own order. A bounded window keeps only a few results at a time.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <vector>

namespace tessel {

/// The number of worker threads a run uses: one per core, and never fewer than two.
int workerCount();

/// Jobs numbered from 0 in the order they are added. A job may name a lane (a file, a
/// library): jobs of one lane run one at a time, in their order; jobs of other lanes and jobs
/// without one (lane 0) overlap freely. Results are taken in job order.
template <typename Result>
class OrderedJobs {
  public:
    using Job = std::function<Result()>;
    using Lane = quint64;

    /// Starts `threads` workers. At most `window` jobs are added and not yet taken. When given,
    /// `cancelled` is asked before each job starts; once it says true no further job starts.
    OrderedJobs(int threads, int window, std::function<bool()> cancelled = {})
        : window_(std::max(1, window)), cancelled_(std::move(cancelled)) {
        for (int i = 0; i < std::max(1, threads); ++i)
            threads_.emplace_back([this] { work(); });
    }

    /// Starts no further job and waits for those under way.
    ~OrderedJobs() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        workable_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    /// Adds the next job; call only while !full().
    void add(Job job, Lane lane = 0) {
        {
            const std::lock_guard lock(mutex_);
            Entry& entry = entries_.emplace_back();
            entry.index = added_++;
            entry.job = std::move(job);
            entry.lane = lane;
        }
        workable_.notify_one();
    }

    bool full() const {
        const std::lock_guard lock(mutex_);
        return int(entries_.size()) >= window_;
    }

    /// Jobs added and not yet taken.
    int pending() const {
        const std::lock_guard lock(mutex_);
        return int(entries_.size());
    }

    /// Waits for the oldest job not yet taken (there must be one) and gives its result; absent
    /// for a job that never started. Rethrows what the job let out; a job that lets an
    /// exception out stops the jobs after it, as stopAfter(its number) does.
    std::optional<Result> take() {
        Entry entry;
        {
            std::unique_lock lock(mutex_);
            taken_.wait(lock, [this] { return batchReady(); });
            entry = std::move(entries_.front());
            entries_.pop_front();
        }
        if (entry.error)
            std::rethrow_exception(entry.error);
        return std::move(entry.result);
    }

    /// Jobs numbered above index that have not started never start; the others go on. Safe
    /// from any thread, a job included.
    void stopAfter(int index) {
        {
            const std::lock_guard lock(mutex_);
            limit_ = std::min(limit_, index);
        }
        workable_.notify_all();  // a waiting worker skips what may no longer start
        taken_.notify_all();
    }

    /// No job that has not started starts.
    void stop() { stopAfter(-1); }

    /// Whether stop() or stopAfter() was called, or the run was cancelled.
    bool stopping() const {
        const std::lock_guard lock(mutex_);
        return limit_ != INT_MAX;
    }

  private:
    enum class State { Waiting, Running, Finished, Skipped };

    struct Entry {
        int index = 0;
        Job job;
        Lane lane = 0;
        State state = State::Waiting;
        std::optional<Result> result;
        std::exception_ptr error;
    };

    // Whether the taker may go on: it is woken for a few results at a time, not for each one,
    // which saves two thread switches per job when the workers are the slower side.
    bool batchReady() const {
        const std::size_t wanted = std::min<std::size_t>(kBatch, entries_.size());
        for (std::size_t i = 0; i < wanted; ++i) {
            if (entries_[i].state < State::Finished)
                return false;
        }
        return true;
    }

    // The oldest waiting job whose lane is free; jobs past the limit are skipped on the way.
    // References into the deque stay valid while other entries are added or taken.
    Entry* startable() {
        bool skipped = false;
        Entry* found = nullptr;
        for (Entry& entry : entries_) {
            if (entry.state != State::Waiting)
                continue;
            if (entry.index > limit_) {
                entry.state = State::Skipped;
                skipped = true;
            } else if (entry.lane == 0 || !busyLanes_.count(entry.lane)) {
                found = &entry;
                break;
            }
        }
        if (skipped)
            taken_.notify_all();
        return found;
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            Entry* entry = nullptr;
            workable_.wait(lock, [&] { return closing_ || (entry = startable()) != nullptr; });
            if (closing_)
                return;
            if (cancelled_ && cancelled_()) {
                limit_ = -1;
                continue;  // the next look skips every waiting job
            }
            run(*entry, lock);
        }
    }

    void run(Entry& entry, std::unique_lock<std::mutex>& lock) {
        entry.state = State::Running;
        if (entry.lane != 0)
            busyLanes_.insert(entry.lane);
        const Job job = std::move(entry.job);
        lock.unlock();
        std::optional<Result> result;
        std::exception_ptr error;
        try {
            result.emplace(job());
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        entry.result = std::move(result);
        entry.error = error;
        entry.state = State::Finished;
        if (error)
            limit_ = std::min(limit_, entry.index);
        if (entry.lane != 0)
            busyLanes_.erase(entry.lane);
        // The worker looks for its next job itself, the job a freed lane lets start included.
        if (batchReady())
            taken_.notify_all();
    }

    static constexpr std::size_t kBatch = 8;

    const int window_;
    const std::function<bool()> cancelled_;
    mutable std::mutex mutex_;
    std::condition_variable workable_;  // workers wait here for a job they may start
    std::condition_variable taken_;     // the taker waits here for the oldest job
    std::deque<Entry> entries_;         // from the oldest job not yet taken
    std::unordered_set<Lane> busyLanes_;
    int added_ = 0;
    int limit_ = INT_MAX;  // jobs numbered above it never start
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace tessel
