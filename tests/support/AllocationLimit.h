// The test programs' own operator new and delete: they count the bytes the program holds, and make
// a thread's large allocations fail, as when memory runs out. Portable: native tests use it too.
#pragma once

#include <cstddef>

// While it lives, allocations of more than `largest` bytes on the thread that made it throw.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t largest);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    std::size_t m_previous;
};

// The bytes allocated with operator new and not freed yet, by all threads.
std::size_t LiveBytes();
