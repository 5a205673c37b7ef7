// The plumbing the host's own COM objects share: a reference count that deletes the object at
// zero and IDispatch's type-information methods, which these objects do not offer.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace vistrel::host {

template <typename Interface>
class ComObject : public Interface {
public:
    virtual ~ComObject() = default;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
        return DISP_E_BADINDEX;
    }

protected:
    // Answers IUnknown, IDispatch and `own` with this object.
    HRESULT Answer(REFIID wanted, REFIID own, void** object) {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(wanted, IID_IUnknown) && !IsEqualIID(wanted, IID_IDispatch) &&
            !IsEqualIID(wanted, own)) {
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    ULONG references_ = 1;
};

}  // namespace vistrel::host
