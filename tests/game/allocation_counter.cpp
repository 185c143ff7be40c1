// Replacement operator new and delete that count while an
// AllocationCounter is alive. Kept in a file of its own so the compiler
// never inlines the malloc/free pair into a caller's new/delete.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
bool counting = false;
int allocations = 0;
}  // namespace

AllocationCounter::AllocationCounter()
{
    allocations = 0;
    counting = true;
}

AllocationCounter::~AllocationCounter()
{
    counting = false;
}

int AllocationCounter::count() const
{
    return allocations;
}

void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
