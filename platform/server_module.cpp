#include "platform/server_module.h"

#include <new>
#include <utility>

#include "base/allocation_hook.h"

namespace vistrel {

ServerModule::~ServerModule() { Stop(); }

void ServerModule::Start() noexcept {
    if (FAILED(typeInfoLock_.Initialize())) initFailed_ = true;
}

void ServerModule::Stop() noexcept {
    while (CleanupNode* node = cleanupHead_) {
        cleanupHead_ = node->next;
        node->routine(node->argument);
        delete node;
    }
}

LONG ServerModule::Lock() noexcept { return InterlockedIncrement(&lockCount_); }
LONG ServerModule::Unlock() noexcept { return InterlockedDecrement(&lockCount_); }
LONG ServerModule::LockCount() const noexcept {
    return InterlockedCompareExchange(const_cast<volatile LONG*>(&lockCount_), 0, 0);
}

HRESULT ServerModule::AddCleanup(CleanupRoutine routine, void* argument) noexcept {
    auto* node = NewOrNull<CleanupNode>("clean-up node", CleanupNode{routine, argument, nullptr});
    if (node == nullptr) return E_OUTOFMEMORY;
    const LockHolder lock(typeInfoLock_);
    if (FAILED(lock.Status())) {
        delete node;
        return lock.Status();
    }
    node->next = std::exchange(cleanupHead_, node);
    return S_OK;
}

namespace {
// At namespace scope: a function-local static would take the runtime's thread-safe guard (for
// its destructor), whose thread bookkeeping outlives an unloaded library.
constinit ServerModule theModule;
}  // namespace

ServerModule& TheServerModule() noexcept { return theModule; }

}  // namespace vistrel
