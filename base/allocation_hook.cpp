#include "base/allocation_hook.h"

#include <atomic>

namespace vistrel {
namespace {

struct InstalledRefusal {
    AllocationRefusal refusal;
    void* context;
};

// Tests install and remove a refusal while no other thread allocates; the pointer is atomic so
// that a reader never sees a half-written one.
constinit InstalledRefusal installed{nullptr, nullptr};
constinit std::atomic<InstalledRefusal*> current{nullptr};

}  // namespace

void SetAllocationRefusal(AllocationRefusal refusal, void* context) noexcept {
    current.store(nullptr);
    if (refusal == nullptr) return;
    installed = {refusal, context};
    current.store(&installed);
}

bool AllocationRefused(const char* purpose) noexcept {
    const InstalledRefusal* hook = current.load(std::memory_order_acquire);
    return hook != nullptr && hook->refusal(purpose, hook->context);
}

}  // namespace vistrel
