// Registration against the real registry of the test prefix: the library's resources (registry
// scripts and type library) in the resource module built beside this program stand in for the
// library file, as its module instance.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/module_instance.h"
#include "platform/unique_resource.h"
#include "server/registry_resources.h"
#include "server/server_registration.h"
#include "server/type_library_registration.h"
#include "tests/support/module_path.h"
#include "tests/support/refused_allocation.h"

#include <initguid.h>  // after the system headers: defines the GUIDs of the IDL header
#include "tests/server/registration_expectations.h"

namespace vistrel::test {
namespace {

constexpr ClassRegistration kClassScripts[] = {
    &RunClassRegistryScript<VISTREL_STACTION_SCRIPT>,
    &RunClassRegistryScript<VISTREL_STRECOGNIZER_SCRIPT>};
constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);
std::wstring ModulePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
    return std::wstring(path, length);
}

HRESULT LoadRegisteredTypeLibrary(ComPtr<ITypeLib>& library) {
    return LoadRegTypeLib(LIBID_VistrelLib, 1, 0, 0x409, library.put());
}

// Every step of unregistering, each run whatever the one before answered, so that a test that
// left part of the registration behind does not spill into the next.
void Scrub() {
    for (const ClassRegistration registration : kClassScripts) registration(false);
    UnregisterTypeLibrary();
    const ScriptReplacement appId[] = {{L"APPID", L"{078F066D-265C-467A-8C4B-D7BA03FD49B0}"},
                                       {nullptr, nullptr}};
    RunRegistryScript(VISTREL_APPID_SCRIPT, ScriptDirection::Unregister, appId);
}

// Loads the resource module (a copy in `folder` when given) as the module instance; registration
// is undone before and after each test.
class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { Load(PathBesideProgram(L"vistrel_resources.dll")); }
    void TearDown() override {
        Scrub();
        SetModuleInstance(previous_);
    }

    void Load(const std::wstring& path) {
        if (module_) Scrub();
        module_.reset(LoadLibraryW(path.c_str()));
        ASSERT_TRUE(module_) << "cannot load the resource module, error " << GetLastError();
        SetModuleInstance(module_.get());
        Scrub();
        ASSERT_EQ(WithoutContainers(RegisteredState()), std::vector<std::wstring>{})
            << "not unregistered";
    }

    HINSTANCE previous_ = ModuleInstance();
    UniqueHmodule module_;
};

TEST_F(RegistrationTest, WritesExactlyTheKeysAndValuesOfTheThreeScripts) {
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    EXPECT_EQ(RegisteredState(), ExpectedState(ModulePath()));
}

TEST_F(RegistrationTest, RegistersTheTypeLibraryWithItsFourTypes) {
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadRegisteredTypeLibrary(library), S_OK);
    ASSERT_EQ(library->GetTypeInfoCount(), 4u);
    const struct {
        GUID guid;
        WORD flags;
    } expected[] = {
        {CLSID_STRecognizer, TYPEFLAG_FCANCREATE},
        {IID_ISTRecognizer, TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE},
        {CLSID_STAction, TYPEFLAG_FCANCREATE},
        {IID_ISTAction, TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE},
    };
    for (UINT index = 0; index < 4; ++index) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(library->GetTypeInfo(index, info.put()), S_OK);
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(attributes->guid, expected[index].guid)) << index;
        EXPECT_EQ(attributes->wTypeFlags & expected[index].flags, expected[index].flags) << index;
        const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
        info->ReleaseTypeAttr(attributes);
        if (!dual) continue;
        // The library lists a dual interface's dispatch half; OLE Automation marks its vtable half.
        ComPtr<ITypeInfo> vtableHalf;
        HREFTYPE reference = 0;
        ASSERT_EQ(info->GetRefTypeOfImplType(-1, &reference), S_OK);
        ASSERT_EQ(info->GetRefTypeInfo(reference, vtableHalf.put()), S_OK);
        ASSERT_EQ(vtableHalf->GetTypeAttr(&attributes), S_OK);
        EXPECT_EQ(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION, TYPEFLAG_FOLEAUTOMATION)
            << index;
        vtableHalf->ReleaseTypeAttr(attributes);
    }
}

TEST_F(RegistrationTest, RegisteringTwiceLeavesTheSameKeys) {
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    EXPECT_EQ(RegisteredState(), ExpectedState(ModulePath()));
}

TEST_F(RegistrationTest, RegisteringOverAClassKeyWithAnExtraSubkeyReplacesIt) {
    const std::wstring extra = L"CLSID\\" + TextOf(CLSID_STRecognizer) + L"\\Extra\\Deeper";
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, extra.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    key.reset();
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    EXPECT_EQ(RegisteredState(), ExpectedState(ModulePath()));
}

TEST_F(RegistrationTest, UnregisteringRemovesEverythingAndKeepsTheContainers) {
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    ASSERT_EQ(UnregisterServer(kClassScripts), S_OK);
    EXPECT_EQ(RegisteredState(), ContainerKeys());
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"AppID"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegisteredTypeLibrary(library), TYPE_E_LIBNOTREGISTERED);
}

// The recognizer's class key holds a subkey no script names: its deletion is refused, the
// action (walked first) is gone, the recognizer's keys walked before the refusal are deleted,
// and its HKCU key, the type library and the AppID stay.
TEST_F(RegistrationTest, AForeignSubkeyUnderTheRecognizersClassKeyStopsUnregistering) {
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    const std::wstring classKey = L"CLSID\\" + TextOf(CLSID_STRecognizer);
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (classKey + L"\\Foreign").c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    key.reset();
    EXPECT_EQ(UnregisterServer(kClassScripts), kAccessDenied);

    std::vector<std::wstring> expected = {
        std::wstring(L"HKCR\\AppID\\") + kAppId,
        std::wstring(L"HKCR\\AppID\\") + kAppId + L" [] REG_SZ Vistrel",
        L"HKCR\\AppID\\Vistrel.DLL",
        std::wstring(L"HKCR\\AppID\\Vistrel.DLL [AppID] REG_SZ ") + kAppId,
        L"HKCR\\" + classKey,
        L"HKCR\\" + classKey + L" [] REG_SZ STRecognizer Class",
        L"HKCR\\" + classKey + L"\\Foreign",
        std::wstring(L"HKCU\\") + kSmartTagKey,
        std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Actions",
        std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Recognizers",
        std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Recognizers\\Vistrel.STRecognizer",
        std::wstring(L"HKCU\\") + kSmartTagKey +
            L"\\Recognizers\\Vistrel.STRecognizer [Status] REG_DWORD 8",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(RegisteredState(), expected);
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegisteredTypeLibrary(library), S_OK);
    library.reset();

    ASSERT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, (classKey + L"\\Foreign").c_str()), ERROR_SUCCESS);
}

HRESULT RefusingRegistration(bool) noexcept { return static_cast<HRESULT>(0x80070005u); }

// A failing step ends the call with its error: the AppID stays written, the class after the
// failing one and the type library are not registered.
TEST_F(RegistrationTest, RegisteringStopsAtTheFirstFailingStep) {
    const ClassRegistration classes[] = {&RefusingRegistration,
                                         &RunClassRegistryScript<VISTREL_STRECOGNIZER_SCRIPT>};
    EXPECT_EQ(RegisterServer(classes), kAccessDenied);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, (std::wstring(L"AppID\\") + kAppId).c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Vistrel.STRecognizer"));
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegisteredTypeLibrary(library), TYPE_E_LIBNOTREGISTERED);
}

TEST_F(RegistrationTest, UnregisteringStopsAtTheFirstFailingStep) {
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    const ClassRegistration classes[] = {&RunClassRegistryScript<VISTREL_STACTION_SCRIPT>,
                                         &RefusingRegistration};
    EXPECT_EQ(UnregisterServer(classes), kAccessDenied);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Vistrel.STAction"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Vistrel.STRecognizer"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, (std::wstring(L"AppID\\") + kAppId).c_str()));
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegisteredTypeLibrary(library), S_OK);
}

// The script's text converted from the resource needs a buffer of its own.
TEST_F(RegistrationTest, AScriptWithoutItsTextBufferIsOutOfMemoryAndTheNextRunRegisters) {
    {
        const RefusedAllocation refused("script text");
        EXPECT_EQ(RunClassRegistryScript<VISTREL_STACTION_SCRIPT>(true), E_OUTOFMEMORY);
        EXPECT_EQ(refused.Refused(), 1);
    }
    EXPECT_EQ(WithoutContainers(RegisteredState()), std::vector<std::wstring>{});
    EXPECT_EQ(RunClassRegistryScript<VISTREL_STACTION_SCRIPT>(true), S_OK);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Vistrel.STAction"));
}

TEST_F(RegistrationTest, APathWithAQuoteReachesInprocServer32Unchanged) {
    const std::wstring folder = PathBesideProgram(L"O'Brien's copy");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\vistrel_resources.dll";
    ASSERT_TRUE(
        CopyFileW(PathBesideProgram(L"vistrel_resources.dll").c_str(), copy.c_str(), FALSE));
    Load(copy);
    ASSERT_EQ(ModulePath(), copy);
    ASSERT_EQ(RegisterServer(kClassScripts), S_OK);
    EXPECT_EQ(RegisteredState(), ExpectedState(copy));
}

}  // namespace
}  // namespace vistrel::test
