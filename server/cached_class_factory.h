// The class object of each class: made on the first request for it, kept in the class table until
// the library unloads, and creating instances through the class's instance creator.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "platform/locks.h"

namespace vistrel {

// Creates a plain instance for a null outer unknown, an aggregated one otherwise.
using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID interfaceId, void** out) noexcept;

class CachedClassFactory final : public IClassFactory {
public:
    // The class-object creator: a new class object for `createInstance`, handed out through
    // QueryInterface; E_OUTOFMEMORY when it cannot be allocated or its lock initialised.
    static HRESULT Create(InstanceCreator createInstance, REFIID interfaceId, void** out) noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** out) noexcept override;
    // The class table holds the first reference; a client's reference beyond it (1 to 2) locks
    // the module, and giving the last one back (2 to 1) unlocks it.
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID interfaceId,
                                             void** out) noexcept override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

private:
    explicit CachedClassFactory(InstanceCreator createInstance) noexcept
        : createInstance_(createInstance) {}
    ~CachedClassFactory() = default;

    volatile LONG references_ = 0;
    CriticalSection lock_;
    InstanceCreator createInstance_;
};

}  // namespace vistrel
