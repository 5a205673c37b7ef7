// Critical sections whose initialisation and entry report failure as an HRESULT: the system
// calls run under a structured-exception guard, as they could raise on older systems.
#pragma once

#include <windows.h>

namespace vistrel {

class CriticalSection {
public:
    CriticalSection() noexcept = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection();

    HRESULT Initialize() noexcept;
    bool Initialized() const noexcept { return initialized_; }
    CRITICAL_SECTION* get() noexcept { return &section_; }
    HRESULT Enter() noexcept;
    // Leaving always succeeds.
    void Leave() noexcept;

private:
    CRITICAL_SECTION section_{};
    bool initialized_ = false;
};

// Holds a lock from a successful entry to the end of the scope.
class LockHolder {
public:
    explicit LockHolder(CriticalSection& lock) noexcept : lock_(lock), status_(lock.Enter()) {}
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    ~LockHolder() {
        if (SUCCEEDED(status_)) lock_.Leave();
    }

    HRESULT Status() const noexcept { return status_; }

private:
    CriticalSection& lock_;
    HRESULT status_;
};

}  // namespace vistrel
