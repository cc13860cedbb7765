// The test programs' own operator new and delete, with a limit per thread.
#include "support/AllocationLimit.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
thread_local std::size_t t_largest = SIZE_MAX;
}

AllocationLimit::AllocationLimit(std::size_t largest) : m_previous(t_largest)
{
    t_largest = largest;
}

AllocationLimit::~AllocationLimit()
{
    t_largest = m_previous;
}

void* operator new(std::size_t size)
{
    void* block = size <= t_largest ? std::malloc(size ? size : 1) : nullptr;
    if (!block) throw std::bad_alloc();
    return block;
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
