// Counts the program's allocations through operator new, so that a benchmark can
// report what its loop still allocates (Qt's own mallocs are not seen). Include it in
// the one source file of a benchmark program: it replaces the global operator new and
// delete.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> g_allocations{0};
}

// Out of line, so that no caller sees malloc paired with a delete.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
