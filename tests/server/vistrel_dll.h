// Vistrel.dll as a host sees it: loaded by path from beside the test program, used only through
// its exports and the interfaces they hand out, and unloaded at the end.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "platform/unique_resource.h"
#include "tests/support/module_path.h"

#include <initguid.h>  // after the system headers: defines the ids of the headers below
#include "smarttag/smarttag_host.h"
#include "smarttag/vistrel.h"

namespace vistrel::test {

constexpr HRESULT kClassNotAvailable = static_cast<HRESULT>(0x80040111);
constexpr HRESULT kNoAggregation = static_cast<HRESULT>(0x80040110);

class VistrelDll {
public:
    VistrelDll() : module_(LoadLibraryW(PathBesideProgram(L"Vistrel.dll").c_str())) {
        EXPECT_TRUE(module_) << "cannot load Vistrel.dll, error " << GetLastError();
        if (module_) {
            getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "DllGetClassObject")));
            canUnloadNow_ = reinterpret_cast<CanUnloadNowFunction>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "DllCanUnloadNow")));
        }
        EXPECT_NE(getClassObject_, nullptr);
        EXPECT_NE(canUnloadNow_, nullptr);
    }

    explicit operator bool() const noexcept {
        return module_ && getClassObject_ != nullptr && canUnloadNow_ != nullptr;
    }
    HMODULE Module() const noexcept { return module_.get(); }

    HRESULT GetClassObject(REFCLSID classId, REFIID interfaceId, void** out) const {
        return getClassObject_(classId, interfaceId, out);
    }
    HRESULT CanUnloadNow() const { return canUnloadNow_(); }

    ComPtr<IClassFactory> ClassFactory(REFCLSID classId) const {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(GetClassObject(classId, IID_IClassFactory, factory.put_void()), S_OK);
        return factory;
    }

    // A plain instance of the class, asked for `Interface`.
    template <typename Interface>
    ComPtr<Interface> Create(REFCLSID classId) const {
        ComPtr<Interface> object;
        if (const ComPtr<IClassFactory> factory = ClassFactory(classId)) {
            EXPECT_EQ(factory->CreateInstance(nullptr, __uuidof(Interface), object.put_void()),
                      S_OK);
        }
        return object;
    }

private:
    using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

    UniqueHmodule module_;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
};

// The apartment of the test's thread, as a host's.
class ComApartment {
public:
    ComApartment() : status_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
        EXPECT_TRUE(SUCCEEDED(status_));
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(status_)) CoUninitialize();
    }

private:
    HRESULT status_;
};

}  // namespace vistrel::test
