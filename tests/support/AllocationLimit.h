// Makes the large allocations of the calling thread fail, as they do when memory runs out, so that
// a test sees what the program does without the memory it asks for. Portable: native tests use it
// as well as the window tests.
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
