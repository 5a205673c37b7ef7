#include "smarttag/aggregatable_object.h"

#include "platform/server_module.h"

namespace vistrel {

AggregatableObject::AggregatableObject(IUnknown* outer) noexcept
    : inner_(*this), controlling_(outer != nullptr ? outer : &inner_) {
    TheServerModule().Lock();
}

AggregatableObject::~AggregatableObject() { TheServerModule().Unlock(); }

HRESULT STDMETHODCALLTYPE AggregatableObject::Inner::QueryInterface(REFIID interfaceId,
                                                                    void** out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    IUnknown* found =
        IsEqualIID(interfaceId, IID_IUnknown) ? this : object_.FindInterface(interfaceId);
    if (found == nullptr) return E_NOINTERFACE;
    found->AddRef();
    *out = found;
    return S_OK;
}

ULONG STDMETHODCALLTYPE AggregatableObject::Inner::AddRef() noexcept {
    return ++object_.references_;
}

ULONG STDMETHODCALLTYPE AggregatableObject::Inner::Release() noexcept {
    const ULONG remaining = --object_.references_;
    if (remaining == 0) delete &object_;
    return remaining;
}

}  // namespace vistrel
