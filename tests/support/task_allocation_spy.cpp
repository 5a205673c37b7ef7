#include "tests/support/task_allocation_spy.h"

namespace vistrel::test {
namespace {

// One spy per process, as COM allows; it lives in static storage and is never released.
class CountingSpy final : public IMallocSpy {
public:
    long live = 0;
    long allocations = 0;
    long refused = 0;
    long refuseFrom = -1;  // the allocation number from which allocations fail, -1 for none
    long refuseUntil = -1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMallocSpy)) {
            *object = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // A size of 0 makes the allocator fail the allocation.
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override {
        const long number = allocations++;
        if (number >= refuseFrom && number < refuseUntil) {
            ++refused;
            return 0;
        }
        return size;
    }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        if (block != nullptr) ++live;
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override {
        if (block != nullptr && spied) --live;
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    // A reallocation keeps the count unless it allocates anew or frees.
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock,
                                        BOOL spied) override {
        if (block != nullptr && size == 0 && spied) --live;
        reallocating_ = block == nullptr;
        *newBlock = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override {
        if (reallocating_ && block != nullptr) ++live;
        return block;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    bool reallocating_ = false;
};

CountingSpy spy;

// SetOaNoCache has no declaration in the headers; oleaut32 exports it by name.
void TurnOffBstrCache() noexcept {
    const HMODULE automation = GetModuleHandleW(L"oleaut32.dll");
    if (automation == nullptr) return;
    const auto routine = reinterpret_cast<void (*)()>(GetProcAddress(automation, "SetOaNoCache"));
    if (routine != nullptr) reinterpret_cast<void(WINAPI*)()>(routine)();
}

}  // namespace

TaskAllocationSpy::TaskAllocationSpy() noexcept {
    TurnOffBstrCache();
    spy.live = 0;
    spy.allocations = 0;
    spy.refused = 0;
    spy.refuseFrom = spy.refuseUntil = -1;
    registered_ = SUCCEEDED(CoRegisterMallocSpy(&spy));
}

TaskAllocationSpy::~TaskAllocationSpy() {
    if (registered_) CoRevokeMallocSpy();
}

long TaskAllocationSpy::LiveBlocks() const noexcept { return spy.live; }

void TaskAllocationSpy::RefuseAllocations(int skip, int count) noexcept {
    spy.refuseFrom = spy.allocations + skip;
    spy.refuseUntil = spy.refuseFrom + count;
}

long TaskAllocationSpy::Allocations() const noexcept { return spy.allocations; }
long TaskAllocationSpy::RefusedAllocations() const noexcept { return spy.refused; }

}  // namespace vistrel::test
