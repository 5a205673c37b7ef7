// The interpreter over the Windows registry gives what it gives over the in-memory registry: the
// same script, the same expected keys, read back from the test prefix. The roots HKCR and HKCU
// are two scratch keys under HKCU, so that nothing of the prefix's own is touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "server/registry_script/script_interpreter.h"
#include "server/win32_registry.h"
#include "tests/server/registry_script/class_script.h"
#include "tests/server/registry_script/script_runner.h"

namespace vistrel::test {
namespace {

constexpr wchar_t kScratch[] = L"Software\\Vistrel registry test";

std::string Ascii(const wchar_t* text, std::size_t length) {
    std::string result;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] >= 0x20 && text[i] < 0x7F) {
            result.push_back(static_cast<char>(text[i]));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(text[i]));
            result += escaped;
        }
    }
    return result;
}

// The in-memory registry's dump format: keys, and values as "[name] type bytes".
void DumpAsBytes(HKEY key, const std::string& path, std::vector<std::string>& lines) {
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD nameLength = 512;
        DWORD type = 0;
        BYTE data[2048];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        std::string line = path + " [" + Ascii(name, nameLength) + "] " + std::to_string(type);
        for (DWORD i = 0; i < size; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", data[i]);
            line += hex;
        }
        lines.push_back(line);
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::string childPath = path + "\\" + Ascii(name, nameLength);
        lines.push_back(childPath);
        UniqueHkey child;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            DumpAsBytes(child.get(), childPath, lines);
    }
}

void DeleteTree(HKEY parent, const wchar_t* name) {
    UniqueHkey key;
    if (RegOpenKeyExW(parent, name, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    wchar_t child[256];
    DWORD length = 256;
    while (RegEnumKeyExW(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
        DeleteTree(key.get(), child);
        length = 256;
    }
    key.reset();
    RegDeleteKeyW(parent, name);
}

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(HKEY_CURRENT_USER, kScratch);
        for (const auto& [root, name] :
             {std::pair{&classesRoot_, L"HKCR"}, std::pair{&currentUser_, L"HKCU"}}) {
            const std::wstring path = std::wstring(kScratch) + L"\\" + name;
            ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, root->put(), nullptr),
                      ERROR_SUCCESS);
        }
    }
    void TearDown() override {
        classesRoot_.reset();
        currentUser_.reset();
        DeleteTree(HKEY_CURRENT_USER, kScratch);
    }

    ScriptStatus Run(std::u16string_view script, ScriptDirection direction) {
        Win32Registry registry(
            {classesRoot_.get(), currentUser_.get(), nullptr, nullptr, nullptr, nullptr, nullptr});
        ReplacementMap map;
        map.Add(u"APPID", std::u16string(kTestAppId).c_str());
        map.Add(u"Module", std::u16string(kTestModuleReplacement).c_str());
        return InterpretRegistryScript(script, map, direction, registry);
    }

    std::vector<std::string> Dump() {
        std::vector<std::string> lines;
        DumpAsBytes(classesRoot_.get(), "HKCR", lines);
        DumpAsBytes(currentUser_.get(), "HKCU", lines);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    UniqueHkey classesRoot_;
    UniqueHkey currentUser_;
};

TEST_F(Win32RegistryTest, RegistersAndUnregistersAsInMemory) {
    ASSERT_EQ(Run(kClassScript, ScriptDirection::Register), kScriptSucceeded);
    EXPECT_EQ(Dump(), ClassScriptRegistered());
    ASSERT_EQ(Run(kClassScript, ScriptDirection::Register), kScriptSucceeded);
    EXPECT_EQ(Dump(), ClassScriptRegistered());
    ASSERT_EQ(Run(kClassScript, ScriptDirection::Unregister), kScriptSucceeded);
    EXPECT_EQ(Dump(), ClassScriptKeptKeys());
    ASSERT_EQ(Run(kClassScript, ScriptDirection::Unregister), kScriptSucceeded);
    EXPECT_EQ(Dump(), ClassScriptKeptKeys());
}

TEST_F(Win32RegistryTest, ForceRemoveDeletesAWholeSubtree) {
    UniqueHkey extra;
    ASSERT_EQ(RegCreateKeyExW(classesRoot_.get(),
                              L"CLSID\\{11111111-2222-3333-4444-555555555555}\\Extra\\Deeper", 0,
                              nullptr, 0, KEY_WRITE, nullptr, extra.put(), nullptr),
              ERROR_SUCCESS);
    extra.reset();
    ASSERT_EQ(Run(kClassScript, ScriptDirection::Register), kScriptSucceeded);
    EXPECT_EQ(Dump(), ClassScriptRegistered());
}

// The NT registry refuses to delete a key that has subkeys: the walk stops there.
TEST_F(Win32RegistryTest, AForeignSubkeyRefusesTheDeletionOfItsParent) {
    ASSERT_EQ(Run(kClassScript, ScriptDirection::Register), kScriptSucceeded);
    UniqueHkey foreign;
    ASSERT_EQ(RegCreateKeyExW(classesRoot_.get(),
                              L"CLSID\\{11111111-2222-3333-4444-555555555555}\\Foreign", 0, nullptr,
                              0, KEY_WRITE, nullptr, foreign.put(), nullptr),
              ERROR_SUCCESS);
    foreign.reset();
    EXPECT_EQ(Run(kClassScript, ScriptDirection::Unregister),
              static_cast<ScriptStatus>(0x80070005u));
    const auto state = Dump();
    EXPECT_TRUE(std::find(state.begin(), state.end(),
                          "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\Foreign") !=
                state.end());
    EXPECT_TRUE(std::find(state.begin(), state.end(), "HKCU\\Software\\Tags\\Demo.Thing") !=
                state.end());
    EXPECT_TRUE(std::find(state.begin(), state.end(), "HKCR\\Demo.Thing.1") == state.end());
}

}  // namespace
}  // namespace vistrel::test
