// Counts the blocks of the COM task allocator, through which every BSTR is allocated, so that a
// test can show that what it made was freed, and can make chosen allocations fail. It turns the
// process's BSTR cache off for good, or freed strings would stay allocated in the cache.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace vistrel::test {

class TaskAllocationSpy {
public:
    // Registers the spy for the life of the object; Registered() tells whether that worked.
    TaskAllocationSpy() noexcept;
    TaskAllocationSpy(const TaskAllocationSpy&) = delete;
    TaskAllocationSpy& operator=(const TaskAllocationSpy&) = delete;
    ~TaskAllocationSpy();

    bool Registered() const noexcept { return registered_; }
    // Blocks allocated while the spy was registered and not freed since.
    long LiveBlocks() const noexcept;
    // Lets the next `skip` allocations succeed and makes the `count` after them fail, as when
    // the system has no memory left; later ones succeed again.
    void RefuseAllocations(int skip, int count = 1) noexcept;
    // Allocations made (or refused) since the spy was registered.
    long Allocations() const noexcept;
    long RefusedAllocations() const noexcept;

private:
    bool registered_ = false;
};

}  // namespace vistrel::test
