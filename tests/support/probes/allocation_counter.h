// Counts heap allocations made through operator new while a counter is
// alive. Linking allocation_counter.cpp replaces the global operator new
// and delete of the whole test executable.
#pragma once

class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    int count() const;
};
