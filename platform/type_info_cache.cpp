#include "platform/type_info_cache.h"

#include <memory>
#include <new>
#include <utility>

#include "base/allocation_hook.h"
#include "platform/hresult.h"
#include "platform/server_module.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

// Holds the module's type-information lock from a successful entry to the end of the scope.
class TypeInfoLockHolder {
public:
    TypeInfoLockHolder() noexcept : status_(TheServerModule().EnterTypeInfoLock()) {}
    TypeInfoLockHolder(const TypeInfoLockHolder&) = delete;
    TypeInfoLockHolder& operator=(const TypeInfoLockHolder&) = delete;
    ~TypeInfoLockHolder() {
        if (SUCCEEDED(status_)) TheServerModule().LeaveTypeInfoLock();
    }
    HRESULT Status() const noexcept { return status_; }

private:
    HRESULT status_;
};

}  // namespace

HRESULT TypeInfoCache::GetTypeInfo(LCID locale, ITypeInfo** typeInfo) noexcept {
    if (typeInfo == nullptr) return E_POINTER;
    *typeInfo = nullptr;
    HRESULT status = S_OK;
    if (typeInfo_ == nullptr) status = Load(locale);
    if (typeInfo_ == nullptr) return FailureOr(status, E_FAIL);
    typeInfo_->AddRef();
    *typeInfo = typeInfo_;
    return S_OK;
}

HRESULT TypeInfoCache::GetIdsOfNames(LPOLESTR* names, UINT count, LCID locale,
                                     DISPID* ids) noexcept {
    if (count > 0 && (names == nullptr || ids == nullptr)) return E_POINTER;
    const HRESULT status = Loaded() ? S_OK : Load(locale);
    if (typeInfo_ == nullptr) return status;
    if (names_ == nullptr) return typeInfo_->GetIDsOfNames(names, count, ids);
    for (UINT i = 0; i < count; ++i) {
        // One name that the cache does not hold sends the whole request to the type information.
        if (!FindCachedName(names[i], &ids[i])) return typeInfo_->GetIDsOfNames(names, count, ids);
    }
    return status;
}

HRESULT TypeInfoCache::Invoke(IDispatch* object, DISPID member, LCID locale, WORD flags,
                              DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                              UINT* argumentError) noexcept {
    const HRESULT status = Loaded() ? S_OK : Load(locale);
    if (typeInfo_ == nullptr) return status;
    return typeInfo_->Invoke(object, member, flags, parameters, result, exception, argumentError);
}

HRESULT TypeInfoCache::Load(LCID locale) noexcept {
    const TypeInfoLockHolder lock;
    RETURN_IF_FAILED(lock.Status());
    HRESULT status = S_OK;
    if (typeInfo_ == nullptr) status = LoadTypeInfo(locale);
    if (typeInfo_ != nullptr && names_ == nullptr) BuildNameCache();
    return status;
}

HRESULT TypeInfoCache::LoadTypeInfo(LCID locale) noexcept {
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(
        LoadRegTypeLib(libraryId_, majorVersion_, minorVersion_, locale, library.put()));
    ComPtr<ITypeInfo> found;
    const HRESULT status = library->GetTypeInfoOfGuid(interfaceId_, found.put());
    RETURN_IF_FAILED(status);
    // Keep the richer interface when the type information has it.
    if (const ComPtr<ITypeInfo2> richer = found.query<ITypeInfo2>()) {
        found = ComPtr<ITypeInfo>::Copy(richer.get());
    }
    // Without its clean-up the reference would outlive the library: cache nothing then.
    RETURN_IF_FAILED(TheServerModule().AddCleanup(&TypeInfoCache::Release, this));
    typeInfo_ = found.release();
    return status;
}

void TypeInfoCache::BuildNameCache() noexcept {
    TYPEATTR* attributes = nullptr;
    if (FAILED(typeInfo_->GetTypeAttr(&attributes))) return;
    const UINT count = attributes->cFuncs;
    std::unique_ptr<NameRow[]> rows(NewArrayOrNull<NameRow>(count > 0 ? count : 1, "name cache"));
    if (rows) {
        for (UINT index = 0; index < count; ++index) {
            FUNCDESC* function = nullptr;
            if (FAILED(typeInfo_->GetFuncDesc(index, &function))) continue;
            UniqueBstr name;
            if (SUCCEEDED(typeInfo_->GetDocumentation(function->memid, name.put(), nullptr, nullptr,
                                                      nullptr))) {
                const UINT length = SysStringLen(name.get());
                rows[index] = {std::move(name), length, function->memid};
            }
            typeInfo_->ReleaseFuncDesc(function);
        }
        names_ = rows.release();
        nameCount_ = count;
    }
    typeInfo_->ReleaseTypeAttr(attributes);
}

bool TypeInfoCache::FindCachedName(const wchar_t* name, DISPID* id) const noexcept {
    if (name == nullptr) return false;
    const auto length = static_cast<UINT>(lstrlenW(name));
    for (UINT row = nameCount_; row-- > 0;) {
        const NameRow& entry = names_[row];
        if (!entry.name || entry.length != length) continue;
        bool equal = true;
        for (UINT i = 0; equal && i < length; ++i) equal = entry.name.get()[i] == name[i];
        if (equal) {
            *id = entry.id;
            return true;
        }
    }
    return false;
}

void TypeInfoCache::Release(void* cache) noexcept {
    auto* self = static_cast<TypeInfoCache*>(cache);
    const auto typeInfo = ComPtr<ITypeInfo>::Attach(std::exchange(self->typeInfo_, nullptr));
    const std::unique_ptr<NameRow[]> names(std::exchange(self->names_, nullptr));
    self->nameCount_ = 0;
}

}  // namespace vistrel
