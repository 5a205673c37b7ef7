#include "server/cached_class_factory.h"

#include <new>

#include "base/allocation_hook.h"
#include "platform/hresult_boundary.h"
#include "platform/server_module.h"

namespace vistrel {

HRESULT CachedClassFactory::Create(InstanceCreator createInstance, REFIID interfaceId,
                                   void** out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (AllocationRefused("class object")) return E_OUTOFMEMORY;
    auto* factory = new (std::nothrow) CachedClassFactory(createInstance);
    if (factory == nullptr) return E_OUTOFMEMORY;
    if (FAILED(factory->lock_.Initialize())) {
        delete factory;
        return E_OUTOFMEMORY;
    }
    const HRESULT status = factory->QueryInterface(interfaceId, out);
    if (FAILED(status)) delete factory;
    return status;
}

HRESULT STDMETHODCALLTYPE CachedClassFactory::QueryInterface(REFIID interfaceId,
                                                             void** out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(interfaceId, IID_IUnknown) && !IsEqualIID(interfaceId, IID_IClassFactory)) {
        return E_NOINTERFACE;
    }
    AddRef();
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
}

ULONG STDMETHODCALLTYPE CachedClassFactory::AddRef() noexcept {
    const LockHolder lock(lock_);
    const LONG count = InterlockedIncrement(&references_);
    if (count == 2) TheServerModule().Lock();
    return static_cast<ULONG>(count);
}

ULONG STDMETHODCALLTYPE CachedClassFactory::Release() noexcept {
    LONG count = 0;
    {
        const LockHolder lock(lock_);
        count = InterlockedDecrement(&references_);
    }
    if (count == 0) {
        delete this;
    } else if (count == 1) {
        TheServerModule().Unlock();
    }
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CachedClassFactory::CreateInstance(IUnknown* outer, REFIID interfaceId,
                                                             void** out) noexcept {
    return AtBoundary([&] {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        // An aggregated object hands its outer object nothing but its inner IUnknown.
        if (outer != nullptr && !IsEqualIID(interfaceId, IID_IUnknown)) {
            return CLASS_E_NOAGGREGATION;
        }
        return createInstance_(outer, interfaceId, out);
    });
}

HRESULT STDMETHODCALLTYPE CachedClassFactory::LockServer(BOOL lock) noexcept {
    if (lock) {
        TheServerModule().Lock();
    } else {
        TheServerModule().Unlock();
    }
    return S_OK;
}

}  // namespace vistrel
