#include "common/ParallelRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include <sched.h>

namespace {

struct Band {
    int begin, end, worker;
};

// Every row once, bands no smaller than asked, and no worker index in two bands at once.
void ExpectRowsOnce(int count, int minRows, const char* what)
{
    std::vector<std::atomic<int>> seen(static_cast<size_t>(count));
    std::vector<std::atomic<int>> busy(size_t(parallel_rows::Workers()));
    std::mutex mutex;
    std::vector<Band> bands;
    parallel_rows::For(count, minRows, [&](int begin, int end, int worker) {
        ASSERT_GE(worker, 0) << what;
        ASSERT_LT(worker, int(busy.size())) << what;
        EXPECT_EQ(busy[size_t(worker)].fetch_add(1), 0) << what << ": worker " << worker << " runs two bands at once";
        for (int row = begin; row < end; ++row) seen[size_t(row)].fetch_add(1);
        busy[size_t(worker)].fetch_sub(1);
        std::lock_guard lock(mutex);
        bands.push_back({begin, end, worker});
    });
    for (int row = 0; row < count; ++row) EXPECT_EQ(seen[size_t(row)].load(), 1) << what << ": row " << row;
    if (bands.size() > 1) {
        for (const Band& b : bands) EXPECT_GE(b.end - b.begin, minRows) << what;
    }
}

TEST(ParallelRowsTest, EveryRowIsWorkedOnceInBandsOfAtLeastTheRowsAsked)
{
    for (int count : {0, 1, 15, 16, 17, 33, 800, 801})
        for (int minRows : {1, 16, 1000}) ExpectRowsOnce(count, minRows, ("count " + std::to_string(count) + ", min " + std::to_string(minRows)).c_str());
    for (int round = 0; round < 200; ++round) ExpectRowsOnce(97, 2, "repeated loops");
}

TEST(ParallelRowsTest, OneWorkerOrALoopInsideALoopRunsOnItsCallerAlone)
{
    {
        const parallel_rows::ScopedWorkers one(1);
        EXPECT_EQ(parallel_rows::Workers(), 1);
        std::vector<Band> bands;
        parallel_rows::For(500, 1, [&](int begin, int end, int worker) { bands.push_back({begin, end, worker}); });
        ASSERT_EQ(bands.size(), 1u);
        EXPECT_EQ(bands[0].begin, 0);
        EXPECT_EQ(bands[0].end, 500);
        EXPECT_EQ(bands[0].worker, 0);
    }
    // A body that starts a loop of its own must not wait for the pool it holds.
    std::atomic<int> inner{0};
    parallel_rows::For(64, 1, [&](int begin, int end, int) {
        for (int row = begin; row < end; ++row)
            parallel_rows::For(10, 1, [&](int b, int e, int worker) {
                EXPECT_EQ(worker, 0) << "an inner loop runs on its caller";
                inner.fetch_add(e - b);
            });
    });
    EXPECT_EQ(inner.load(), 640);
}

// A page's pattern: a row needs the two frames it lies between, and the first band that
// needs a frame makes it, through its worker's own scratch, while other bands wait for
// it; no row is worked before its frames are made.
TEST(ParallelRowsTest, NoRowIsWorkedBeforeTheFramesItNeedsAreMade)
{
    for (int round = 0; round < 50; ++round) {
        const int count = 300, frames = count / 3 + 1;
        std::vector<std::vector<int>> made(static_cast<size_t>(frames)); // by frame, written once by whoever makes it
        std::vector<std::atomic<int>> makes(static_cast<size_t>(frames));
        std::vector<std::atomic<int>> seen(static_cast<size_t>(count));
        std::vector<std::vector<int>> scratch(static_cast<size_t>(parallel_rows::Workers()));
        parallel_rows::OnceEach once;
        once.Reset(frames);
        parallel_rows::For(count, 8, [&](int begin, int end, int worker) {
            for (int row = begin; row < end; ++row) {
                for (int frame : {row / 3, row / 3 + 1}) {
                    once.Do(frame, [&] {
                        makes[size_t(frame)].fetch_add(1);
                        std::vector<int>& work = scratch[size_t(worker)];
                        work.assign(4, frame + 1);
                        made[size_t(frame)] = work;
                    });
                    ASSERT_EQ(made[size_t(frame)], std::vector<int>(4, frame + 1)) << "row " << row << " worked before frame " << frame;
                }
                seen[size_t(row)].fetch_add(1);
            }
        });
        for (int row = 0; row < count; ++row) ASSERT_EQ(seen[size_t(row)].load(), 1) << "row " << row;
        for (int frame = 0; frame < frames; ++frame) ASSERT_EQ(makes[size_t(frame)].load(), 1) << "frame " << frame;
    }
}

// Rows that share a frame ask for its work at once: it runs once, and every row that
// asked sees what it wrote, whichever thread did it.
TEST(ParallelRowsTest, OnceEachRunsEveryJobOnceAndShowsItsResultToAllWhoAsk)
{
    constexpr int kJobs = 300, kRows = 2 * kJobs;
    parallel_rows::OnceEach once;
    std::vector<std::atomic<int>> runs(kJobs);
    std::vector<int> results(kJobs, 0);
    std::atomic<int> wrong{0};
    for (int pass = 0; pass < 2; ++pass) { // a reset makes every job due again
        once.Reset(kJobs);
        parallel_rows::For(kRows, 4, [&](int begin, int end, int) {
            for (int row = begin; row < end; ++row)
                for (int job : {row / 2, std::min(row / 2 + 1, kJobs - 1)}) {
                    once.Do(job, [&] {
                        runs[size_t(job)].fetch_add(1);
                        results[size_t(job)] = job * 7 + pass;
                    });
                    if (results[size_t(job)] != job * 7 + pass) ++wrong;
                }
        });
    }
    for (int job = 0; job < kJobs; ++job) EXPECT_EQ(runs[size_t(job)].load(), 2) << "job " << job;
    EXPECT_EQ(wrong.load(), 0);
}

// True when a loop's bands run on more than the caller: the caller's first band waits
// (a while at most) for a band on another thread, which a pool left busy never runs.
bool HelpersTakePart()
{
    std::atomic<bool> helped{false};
    parallel_rows::For(64, 1, [&](int, int, int worker) {
        if (worker != 0) {
            helped.store(true);
            return;
        }
        for (int i = 0; i < 2000 && !helped.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    return helped.load();
}

// A band that runs out of memory, on the caller or a helper: the exception reaches the
// caller, no band runs after the loop returns, and the next loop has every thread again.
TEST(ParallelRowsTest, ABandThatThrowsReachesTheCallerAndLeavesThePoolFree)
{
    for (int round = 0; round < 40; ++round) {
        auto alive = std::make_shared<std::atomic<bool>>(true);
        std::atomic<int> late{0};
        const int throwAt = (round * 37) % 800;
        EXPECT_THROW(parallel_rows::For(800, 1,
                                        [&, alive](int begin, int end, int) {
                                            if (!alive->load()) late.fetch_add(1);
                                            if (throwAt >= begin && throwAt < end) throw std::bad_alloc();
                                        }),
                     std::bad_alloc)
            << "round " << round;
        alive->store(false);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        EXPECT_EQ(late.load(), 0) << "a band ran after its loop had returned";
        ExpectRowsOnce(97, 2, "a loop after one that threw");
    }
    if (parallel_rows::Workers() > 1) {
        EXPECT_TRUE(HelpersTakePart()) << "the pool stayed busy after a band threw";
    }
    const parallel_rows::ScopedWorkers one(1);
    EXPECT_THROW(parallel_rows::For(10, 1, [](int, int, int) { throw std::runtime_error("alone"); }), std::runtime_error);
}

// A frame's job that throws blocks nobody: the rows waiting for it take it on, and the
// loop hands the first exception to its caller.
TEST(ParallelRowsTest, AJobThatThrowsLeavesNoRowWaitingForIt)
{
    for (int round = 0; round < 20; ++round) {
        parallel_rows::OnceEach once;
        once.Reset(4);
        std::atomic<int> attempts{0};
        std::atomic<int> done{0};
        EXPECT_THROW(parallel_rows::For(64, 1,
                                        [&](int begin, int end, int) {
                                            for (int row = begin; row < end; ++row)
                                                once.Do(row % 4, [&] {
                                                    if (attempts.fetch_add(1) == 0) {
                                                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                                                        throw std::runtime_error("read failed");
                                                    }
                                                    done.fetch_add(1);
                                                });
                                        }),
                     std::runtime_error);
        EXPECT_LE(done.load(), 4);
        // The same jobs after a reset: every one runs once and nobody waits for ever.
        once.Reset(4);
        std::atomic<int> runs{0};
        parallel_rows::For(64, 1, [&](int begin, int end, int) {
            for (int row = begin; row < end; ++row) once.Do(row % 4, [&] { runs.fetch_add(1); });
        });
        EXPECT_EQ(runs.load(), 4);
    }
}

// A process held to fewer CPUs (taskset, a container) starts no more threads than it
// may run: in a process of its own, so that the pool is made after the CPUs are set.
TEST(ParallelRowsTest, ThePoolHasAThreadForEachCpuTheProcessMayUse)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            cpu_set_t one;
            CPU_ZERO(&one);
            cpu_set_t allowed;
            CPU_ZERO(&allowed);
            if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) std::_Exit(2);
            for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
                if (CPU_ISSET(cpu, &allowed)) {
                    CPU_SET(cpu, &one);
                    break;
                }
            if (sched_setaffinity(0, sizeof one, &one) != 0) std::_Exit(2);
            std::_Exit(parallel_rows::Workers() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    EXPECT_EQ(parallel_rows::Workers(), std::min(CPU_COUNT(&allowed), 8));
}

} // namespace
