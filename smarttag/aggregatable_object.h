// The IUnknown that both smart tag classes share: a plain reference count (the classes live in one
// apartment), one module lock from construction to destruction, and, when the object is
// aggregated, every interface but its own inner IUnknown delegating to the outer object.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <new>

#include "base/allocation_hook.h"

namespace vistrel {

class AggregatableObject {
public:
    AggregatableObject(const AggregatableObject&) = delete;
    AggregatableObject& operator=(const AggregatableObject&) = delete;

    // The IUnknown that counts this object's references; the outer object holds it when the
    // object is aggregated.
    IUnknown* InnerUnknown() noexcept { return &inner_; }
    // The IUnknown that every other interface of the object answers with.
    IUnknown* ControllingUnknown() const noexcept { return controlling_; }

protected:
    // A null `outer` makes a plain object.
    explicit AggregatableObject(IUnknown* outer) noexcept;
    virtual ~AggregatableObject();

    // The interface `interfaceId` of the class other than IUnknown, without a new reference;
    // null when the class does not offer it.
    virtual IUnknown* FindInterface(REFIID interfaceId) noexcept = 0;

private:
    class Inner final : public IUnknown {
    public:
        explicit Inner(AggregatableObject& object) noexcept : object_(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** out) noexcept override;
        ULONG STDMETHODCALLTYPE AddRef() noexcept override;
        ULONG STDMETHODCALLTYPE Release() noexcept override;

    private:
        AggregatableObject& object_;
    };

    template <typename Class>
    friend HRESULT CreateAggregatableInstance(IUnknown*, REFIID, void**) noexcept;

    Inner inner_;
    IUnknown* controlling_;
    ULONG references_ = 0;
};

// The instance creator of both classes: a plain instance for a null `outer`, an aggregated one
// otherwise, handed out through QueryInterface for `interfaceId`. An instance that does not
// offer the interface is destroyed at once; any failure to allocate or construct it is
// E_OUTOFMEMORY.
template <typename Class>
HRESULT CreateAggregatableInstance(IUnknown* outer, REFIID interfaceId, void** out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    AggregatableObject* object = nullptr;
    try {
        ThrowIfRefused("instance");
        object = new Class(outer);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    IUnknown* inner = object->InnerUnknown();
    // A count of one around the end of construction, so that nothing done there can destroy
    // the object; back to 0 for the caller's QueryInterface.
    ++object->references_;
    --object->references_;
    const HRESULT status = inner->QueryInterface(interfaceId, out);
    if (FAILED(status)) delete object;
    return status;
}

}  // namespace vistrel
