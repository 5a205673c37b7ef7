// The library as an installer and a host meet it: regsvr32 registers and unregisters Vistrel.dll
// in the test prefix, and a process of its own creates both classes by their ProgIDs.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "tests/support/module_path.h"

#include <initguid.h>  // after the system headers: defines the GUIDs of the IDL header
#include "tests/server/registration_expectations.h"

namespace vistrel::test {
namespace {

// Runs a program of the prefix (or beside this one) and waits for its exit code.
DWORD RunAndWait(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring mutableLine = commandLine;
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start the program, error " << GetLastError();
        return ~0u;
    }
    const UniqueHandle processHandle(process.hProcess);
    const UniqueHandle threadHandle(process.hThread);
    WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD exitCode = ~0u;
    GetExitCodeProcess(processHandle.get(), &exitCode);
    return exitCode;
}

DWORD Regsvr32(const std::wstring& options, const std::wstring& library) {
    return RunAndWait(L"regsvr32.exe " + options + L" \"" + library + L"\"");
}

class Regsvr32Test : public ::testing::Test {
protected:
    void SetUp() override { library_ = PathBesideProgram(L"Vistrel.dll"); }
    void TearDown() override { Regsvr32(L"/s /u", library_); }

    std::wstring library_;
};

TEST_F(Regsvr32Test, RegistersTheTablesAndAHostCreatesBothClassesByProgId) {
    ASSERT_EQ(Regsvr32(L"/s", library_), 0u);
    EXPECT_EQ(RegisteredState(), ExpectedState(library_));
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(LIBID_VistrelLib, 1, 0, 0x409, library.put()), S_OK);
    library.reset();

    EXPECT_EQ(RunAndWait(L"\"" + PathBesideProgram(L"create_by_progid.exe") + L"\""), 0u);

    ASSERT_EQ(Regsvr32(L"/s", library_), 0u);
    EXPECT_EQ(RegisteredState(), ExpectedState(library_));

    ASSERT_EQ(Regsvr32(L"/s /u", library_), 0u);
    EXPECT_EQ(RegisteredState(), ContainerKeys());
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"AppID"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    EXPECT_EQ(LoadRegTypeLib(LIBID_VistrelLib, 1, 0, 0x409, library.put()),
              TYPE_E_LIBNOTREGISTERED);
}

TEST_F(Regsvr32Test, ALibraryInAFolderWithAQuoteIsRegisteredByItsPath) {
    const std::wstring folder = PathBesideProgram(L"O'Brien's Vistrel");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\Vistrel.dll";
    ASSERT_TRUE(CopyFileW(library_.c_str(), copy.c_str(), FALSE));
    library_ = copy;
    ASSERT_EQ(Regsvr32(L"/s", library_), 0u);
    EXPECT_EQ(RegisteredState(), ExpectedState(copy));
    EXPECT_EQ(RunAndWait(L"\"" + PathBesideProgram(L"create_by_progid.exe") + L"\""), 0u);
}

// A subkey that another program put under the recognizer's class key: unregistering fails and
// leaves the recognizer's HKCU key, the type library and the AppID registered.
TEST_F(Regsvr32Test, AForeignSubkeyMakesUnregisteringFail) {
    ASSERT_EQ(Regsvr32(L"/s", library_), 0u);
    const std::wstring foreign = L"CLSID\\" + TextOf(CLSID_STRecognizer) + L"\\Foreign";
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, foreign.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    key.reset();
    EXPECT_NE(Regsvr32(L"/s /u", library_), 0u);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Vistrel.STAction"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Vistrel.STRecognizer"));
    EXPECT_TRUE(RegistryKeyExists(
        HKEY_CURRENT_USER,
        (std::wstring(kSmartTagKey) + L"\\Recognizers\\Vistrel.STRecognizer").c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, (std::wstring(L"AppID\\") + kAppId).c_str()));
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(LIBID_VistrelLib, 1, 0, 0x409, library.put()), S_OK);
    ASSERT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, foreign.c_str()), ERROR_SUCCESS);
}

}  // namespace
}  // namespace vistrel::test
