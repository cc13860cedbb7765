// operator new and delete over malloc, with a limit per thread and a count of the bytes held.
#include "support/AllocationLimit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
thread_local std::size_t t_largest = SIZE_MAX;
std::atomic<std::size_t> g_live{0};
// Each block starts with its size, in room that keeps the block aligned for any type.
constexpr std::size_t kHeader = alignof(std::max_align_t);
}  // namespace

AllocationLimit::AllocationLimit(std::size_t largest) : m_previous(t_largest) { t_largest = largest; }
AllocationLimit::~AllocationLimit() { t_largest = m_previous; }
std::size_t LiveBytes() { return g_live.load(); }

void* operator new(std::size_t size)
{
    auto* block = static_cast<char*>(size <= t_largest && size < SIZE_MAX / 2 ? std::malloc(kHeader + size) : nullptr);
    if (!block) throw std::bad_alloc();
    g_live += *reinterpret_cast<std::size_t*>(block) = size;
    return block + kHeader;
}

void operator delete(void* block) noexcept
{
    if (!block) return;
    char* start = static_cast<char*>(block) - kHeader;
    g_live -= *reinterpret_cast<std::size_t*>(start);
    std::free(start);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
