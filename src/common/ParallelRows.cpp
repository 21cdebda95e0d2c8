#include "common/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <sched.h>

namespace parallel_rows {
namespace {

// More threads than this rarely pay for a page of rows; the machine may have fewer.
constexpr int kMaxWorkers = 8;
// Bands per thread: a thread held up by other work leaves its later bands to the others
// (on two cores, four a thread left one waiting at a page's end often enough to show).
constexpr int kBandsPerWorker = 8;

std::atomic<int> g_limit{0}; // 0: no limit

// The CPUs this process may run on (taskset, a container's quota of CPUs), not the
// machine's: threads beyond them only take turns on the same cores.
int UsableCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(CPU_COUNT(&set), 1);
    return std::max(int(std::thread::hardware_concurrency()), 1);
}

class Pool {
public:
    Pool()
    {
        const int helpers = std::clamp(UsableCpus() - 1, 0, kMaxWorkers - 1);
        for (int i = 0; i < helpers; ++i) m_threads.emplace_back([this, i] { Serve(i + 1); });
    }
    ~Pool()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        for (std::thread& t : m_threads) t.join();
    }

    int Threads() const { return int(m_threads.size()) + 1; }

    // False when a loop already runs (another thread's, or this one's from inside a body).
    bool Run(int count, int bands, int helpers, const std::function<void(int, int, int)>& body)
    {
        bool idle = false;
        if (!m_running.compare_exchange_strong(idle, true)) return false;
        {
            std::lock_guard lock(m_mutex);
            m_body = &body;
            m_count = count;
            m_bands = bands;
            m_next.store(0);
            m_helpers = helpers;
            m_active = helpers;
            ++m_generation;
        }
        m_wake.notify_all();
        Work(0);
        std::exception_ptr error;
        {
            std::unique_lock lock(m_mutex);
            m_done.wait(lock, [this] { return m_active == 0; });
            m_body = nullptr;
            error = std::exchange(m_error, nullptr);
        }
        m_running.store(false);
        if (error) std::rethrow_exception(error);
        return true;
    }

private:
    void Serve(int worker)
    {
        uint64_t seen = 0;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [&] { return m_stop || m_generation != seen; });
                if (m_stop) return;
                seen = m_generation;
                if (worker > m_helpers) continue; // not asked this time
            }
            Work(worker);
            std::lock_guard lock(m_mutex);
            if (--m_active == 0) m_done.notify_one();
        }
    }

    void Work(int worker)
    {
        for (;;) {
            const int band = m_next.fetch_add(1);
            if (band >= m_bands) return;
            const int begin = int(int64_t(m_count) * band / m_bands), end = int(int64_t(m_count) * (band + 1) / m_bands);
            if (begin >= end) continue;
            try {
                (*m_body)(begin, end, worker);
            } catch (...) {
                // No band is handed out after one that threw; the caller rethrows the first.
                m_next.store(m_bands);
                std::lock_guard lock(m_mutex);
                if (!m_error) m_error = std::current_exception();
                return;
            }
        }
    }

    std::vector<std::thread> m_threads;
    std::atomic<bool> m_running{false};
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    bool m_stop = false;
    uint64_t m_generation = 0;
    const std::function<void(int, int, int)>* m_body = nullptr;
    int m_count = 0, m_bands = 0, m_helpers = 0, m_active = 0;
    std::atomic<int> m_next{0};
    std::exception_ptr m_error;
};

Pool& ThePool()
{
    static Pool pool;
    return pool;
}

} // namespace

int Workers()
{
    const int threads = ThePool().Threads(), limit = g_limit.load();
    return limit > 0 ? std::min(threads, limit) : threads;
}

void For(int count, int minRows, const std::function<void(int begin, int end, int worker)>& body)
{
    if (count <= 0) return;
    const int workers = std::min(Workers(), count / std::max(minRows, 1));
    if (workers > 1) {
        const int bands = std::min(workers * kBandsPerWorker, count / std::max(minRows, 1));
        if (ThePool().Run(count, bands, workers - 1, body)) return;
    }
    body(0, count, 0);
}

void OnceEach::Reset(int count)
{
    if (m_capacity < count) {
        m_state = std::make_unique<std::atomic<int>[]>(size_t(count));
        m_capacity = count;
    }
    for (int i = 0; i < count; ++i) m_state[size_t(i)].store(kToDo, std::memory_order_relaxed);
}

ScopedWorkers::ScopedWorkers(int workers) : m_previous(g_limit.exchange(std::max(workers, 1))) {}

ScopedWorkers::~ScopedWorkers() { g_limit.store(m_previous); }

} // namespace parallel_rows
