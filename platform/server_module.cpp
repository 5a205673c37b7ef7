#include "platform/server_module.h"

#include <new>
#include <utility>

namespace vistrel {

ServerModule::~ServerModule() { Stop(); }

void ServerModule::Start() noexcept {
    if (FAILED(resourceLock_.Initialize())) initFailed_ = true;
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
    auto* node = new (std::nothrow) CleanupNode{routine, argument, nullptr};
    if (node == nullptr) return E_OUTOFMEMORY;
    const LockHolder lock(typeInfoLock_);
    if (FAILED(lock.Status())) {
        delete node;
        return lock.Status();
    }
    node->next = std::exchange(cleanupHead_, node);
    return S_OK;
}

ServerModule& TheServerModule() noexcept {
    static constinit ServerModule module;
    return module;
}

}  // namespace vistrel
