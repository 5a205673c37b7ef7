// RAII owners for the platform's handles, all with the one surface of UniqueResource: get, put
// (for out parameters), reset, release and explicit operator bool.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

#include <cstdlib>
#include <utility>

#include "base/unique_resource.h"

namespace vistrel {

namespace detail {
inline void FreeBlock(void* block) noexcept { std::free(block); }
inline void CloseKey(HKEY key) noexcept { RegCloseKey(key); }
inline void UnloadLibrary(HMODULE module) noexcept { FreeLibrary(module); }
inline void CloseHandleChecked(HANDLE handle) noexcept { CloseHandle(handle); }
inline void FreeLocal(void* block) noexcept { LocalFree(block); }
}  // namespace detail

using UniqueBstr = UniqueResource<BSTR, &SysFreeString>;
using UniqueHkey = UniqueResource<HKEY, &detail::CloseKey>;
using UniqueHmodule = UniqueResource<HMODULE, &detail::UnloadLibrary>;
using UniqueHandle = UniqueResource<HANDLE, &detail::CloseHandleChecked>;
using UniqueMallocBlock = UniqueResource<void*, &detail::FreeBlock>;
// Text that the system allocated with LocalAlloc (FormatMessageW's allocated buffer).
using UniqueLocalText = UniqueResource<wchar_t*, &detail::FreeLocal>;
// The one LocalAlloc block of CommandLineToArgvW: the argument pointers and their text.
using UniqueArgumentVector = UniqueResource<wchar_t**, &detail::FreeLocal>;

// A VARIANT that is cleared when it goes.
class UniqueVariant : public VARIANT {
public:
    UniqueVariant() noexcept { VariantInit(this); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(this); }

    VARIANT* get() noexcept { return this; }
    // Clears what is held and hands out the address for a function that fills it.
    VARIANT* put() noexcept {
        VariantClear(this);
        return this;
    }
    // Hands the value over to the caller, who then clears it; this one is left empty.
    [[nodiscard]] VARIANT release() noexcept {
        const VARIANT value = *this;
        VariantInit(this);
        return value;
    }
};

// Holds one reference on a COM object.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference on `object`.
    static ComPtr Copy(T* object) noexcept {
        if (object != nullptr) object->AddRef();
        return ComPtr(object);
    }
    // Takes over a reference that the caller already owns.
    static ComPtr Attach(T* object) noexcept { return ComPtr(object); }

    ComPtr(const ComPtr& other) noexcept : object_(other.object_) {
        if (object_ != nullptr) object_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    void reset() noexcept {
        if (T* old = std::exchange(object_, nullptr)) old->Release();
    }
    [[nodiscard]] T* release() noexcept { return std::exchange(object_, nullptr); }
    T** put() noexcept {
        reset();
        return &object_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    // QueryInterface for U; an empty pointer when the object doesn't offer it.
    template <typename U>
    ComPtr<U> query() const noexcept {
        ComPtr<U> result;
        if (object_ != nullptr) object_->QueryInterface(__uuidof(U), result.put_void());
        return result;
    }

private:
    explicit ComPtr(T* object) noexcept : object_(object) {}
    T* object_ = nullptr;
};

}  // namespace vistrel
