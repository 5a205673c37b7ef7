// One dual interface of a smart tag object: IUnknown answered by the object's controlling
// unknown, IDispatch by the type information of the interface, cached for the process. The
// class that derives from it adds the interface's own methods.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/hresult_boundary.h"
#include "platform/type_info_cache.h"
#include "smarttag/aggregatable_object.h"

namespace vistrel {

template <typename Interface>
class DispatchInterface : public Interface {
public:
    DispatchInterface(AggregatableObject& object, TypeInfoCache& typeInfo) noexcept
        : object_(object), typeInfo_(typeInfo) {}
    DispatchInterface(const DispatchInterface&) = delete;
    DispatchInterface& operator=(const DispatchInterface&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** out) noexcept override {
        return object_.ControllingUnknown()->QueryInterface(interfaceId, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        return object_.ControllingUnknown()->AddRef();
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        return object_.ControllingUnknown()->Release();
    }

    // One block of type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (count == nullptr) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID locale, ITypeInfo** info) noexcept override {
        return AtBoundary([&] { return typeInfo_.GetTypeInfo(locale, info); });
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) noexcept override {
        return AtBoundary([&] { return typeInfo_.GetIdsOfNames(names, count, locale, ids); });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) noexcept override {
        return AtBoundary([&] {
            return typeInfo_.Invoke(this, member, locale, flags, parameters, result, exception,
                                    argumentError);
        });
    }

protected:
    ~DispatchInterface() = default;

private:
    AggregatableObject& object_;
    TypeInfoCache& typeInfo_;
};

}  // namespace vistrel
