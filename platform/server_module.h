// The process-wide COM frame that the library's classes stand on: the module's lock count, which
// tells the host whether the library may be unloaded, the clean-up routines run at unload, and
// the lock under which type information is loaded.
#pragma once

#include <windows.h>

#include "platform/locks.h"

namespace vistrel {

class ServerModule {
public:
    using CleanupRoutine = void (*)(void* argument);

    constexpr ServerModule() noexcept = default;
    ServerModule(const ServerModule&) = delete;
    ServerModule& operator=(const ServerModule&) = delete;
    ~ServerModule();

    // Process attach: initialises the type-information lock; when it cannot be, sets InitFailed.
    void Start() noexcept;
    // Process detach: runs the clean-up routines, the one added last first, and empties the list.
    void Stop() noexcept;

    // Atomic; each returns the new count. Every live instance, every unmatched LockServer(TRUE)
    // and every class object that a client holds counts once.
    LONG Lock() noexcept;
    LONG Unlock() noexcept;
    LONG LockCount() const noexcept;

    bool InitFailed() const noexcept { return initFailed_; }
    // Set by the other locks of the module (the class table's) when they cannot be initialised.
    void SetInitFailed() noexcept { initFailed_ = true; }

    // Adds a routine that the module runs at unload, under the type-information lock:
    // E_OUTOFMEMORY when no node can be had, or the lock's error.
    HRESULT AddCleanup(CleanupRoutine routine, void* argument) noexcept;

    HRESULT EnterTypeInfoLock() noexcept { return typeInfoLock_.Enter(); }
    void LeaveTypeInfoLock() noexcept { typeInfoLock_.Leave(); }

private:
    struct CleanupNode {
        CleanupRoutine routine;
        void* argument;
        CleanupNode* next;
    };

    volatile LONG lockCount_ = 0;
    bool initFailed_ = false;
    CleanupNode* cleanupHead_ = nullptr;
    CriticalSection typeInfoLock_;
};

// The library's one module.
ServerModule& TheServerModule() noexcept;

}  // namespace vistrel
