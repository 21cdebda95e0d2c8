// Rows of a picture worked out on the machine's cores: a fixed pool of threads,
// one per CPU the process may run on (at most 8), started on first use and kept for
// the program's life, takes bands of rows; the caller works a band too and returns
// when every band is done. Work too small to pay for the hand-over runs on the
// caller alone.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>

namespace parallel_rows {

// Threads a loop may use, the caller's included (at least 1).
int Workers();

// Runs body(begin, end, worker) over rows 0 .. count - 1 in bands of at least
// `minRows` rows, each band once, on at most Workers() threads. `worker` is
// 0 .. Workers() - 1 and no two bands run at once with the same one, so that a body
// keeps its scratch per worker. Bands may run in any order; a body writes only what
// belongs to its own rows. A loop started from inside a body, or while another
// thread's loop runs, runs on its caller alone. A band that throws ends the loop:
// no further band is handed out, the bands already taken finish, and the first
// exception reaches the caller with the pool free again.
void For(int count, int minRows, const std::function<void(int begin, int end, int worker)>& body);

// Jobs 0 .. count - 1 (reading a frame and its transforms), each done once by the first
// thread that asks for it, in a loop's bands: a thread that asks while another does it waits for
// that one to finish, and then sees what it wrote. Jobs ask for no other job, so no
// thread waits on a waiting one. A job that throws is not done: its exception goes
// on to the thread that ran it, and a thread that waited for it takes the job on.
class OnceEach {
public:
    // Every job not done yet; only while no loop uses it.
    void Reset(int count);
    template <class Job> void Do(int job, Job&& work)
    {
        std::atomic<int>& state = m_state[size_t(job)];
        for (;;) {
            int seen = kToDo;
            if (state.compare_exchange_strong(seen, kDoing, std::memory_order_acquire)) {
                try {
                    work();
                } catch (...) {
                    state.store(kToDo, std::memory_order_release);
                    state.notify_all();
                    throw;
                }
                state.store(kDone, std::memory_order_release);
                state.notify_all();
                return;
            }
            while (seen == kDoing) {
                state.wait(seen, std::memory_order_acquire);
                seen = state.load(std::memory_order_acquire);
            }
            if (seen == kDone) return;
        }
    }

private:
    enum { kToDo, kDoing, kDone };
    std::unique_ptr<std::atomic<int>[]> m_state;
    int m_capacity = 0;
};

// Holds the loops to at most `workers` threads while it lives (1: the caller alone),
// so that a picture made on several threads can be checked against one made on one.
class ScopedWorkers {
public:
    explicit ScopedWorkers(int workers);
    ~ScopedWorkers();
    ScopedWorkers(const ScopedWorkers&) = delete;
    ScopedWorkers& operator=(const ScopedWorkers&) = delete;

private:
    int m_previous;
};

} // namespace parallel_rows
