// The test programs' own operator new and delete: they count the bytes the program holds, and can
// make the large allocations of a thread fail as they do when memory runs out, so that a test sees
// what the program does without the memory it asks for. Portable: the native tests use it too.
#pragma once

#include <cstddef>

class AllocationLimit {
public:
    // While the object lives, allocations of more than `largest` bytes on this thread throw.
    explicit AllocationLimit(std::size_t largest);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    std::size_t m_previous;
};

// The bytes allocated with operator new and not freed yet, by all threads.
std::size_t LiveBytes();
