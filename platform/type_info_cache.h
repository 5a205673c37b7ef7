// The type information behind one dual interface's IDispatch: loaded from the registered type
// library on the first call that needs it, kept until the library unloads, with a cache of the
// member names that answers GetIDsOfNames for names spelt exactly as the type library spells them.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/unique_resource.h"

namespace vistrel {

class TypeInfoCache {
public:
    constexpr TypeInfoCache(const IID& interfaceId, const GUID& libraryId, WORD majorVersion,
                            WORD minorVersion) noexcept
        : interfaceId_(interfaceId),
          libraryId_(libraryId),
          majorVersion_(majorVersion),
          minorVersion_(minorVersion) {}
    TypeInfoCache(const TypeInfoCache&) = delete;
    TypeInfoCache& operator=(const TypeInfoCache&) = delete;

    // The cached type information with a new reference; E_POINTER for a null out pointer.
    HRESULT GetTypeInfo(LCID locale, ITypeInfo** typeInfo) noexcept;
    HRESULT GetIdsOfNames(LPOLESTR* names, UINT count, LCID locale, DISPID* ids) noexcept;
    // Loads with the caller's locale if needed and hands the call to the type information.
    HRESULT Invoke(IDispatch* object, DISPID member, LCID locale, WORD flags,
                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                   UINT* argumentError) noexcept;

private:
    struct NameRow {
        UniqueBstr name;
        UINT length = 0;
        DISPID id = 0;
    };

    bool Loaded() const noexcept { return typeInfo_ != nullptr && names_ != nullptr; }
    HRESULT Load(LCID locale) noexcept;
    HRESULT LoadTypeInfo(LCID locale) noexcept;
    void BuildNameCache() noexcept;
    bool FindCachedName(const wchar_t* name, DISPID* id) const noexcept;
    static void Release(void* cache) noexcept;

    const IID& interfaceId_;
    const GUID& libraryId_;
    WORD majorVersion_;
    WORD minorVersion_;
    // Plain pointers, so that the cache has nothing to destroy when the process ends: the
    // clean-up routine that the module runs at unload takes them back into owners and frees
    // them there.
    ITypeInfo* typeInfo_ = nullptr;
    NameRow* names_ = nullptr;
    UINT nameCount_ = 0;
};

}  // namespace vistrel
