#include <gtest/gtest.h>

#include "tests/server/registry_script/class_script.h"
#include "tests/server/registry_script/script_runner.h"

namespace vistrel::test {
namespace {

constexpr ScriptStatus kAccessDenied = static_cast<ScriptStatus>(0x80070005u);

TEST(UnregisterWalkTest, RemovesEverythingButTheNoRemoveKeys) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    ASSERT_EQ(Unregister(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), ClassScriptKeptKeys());
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(UnregisterWalkTest, AbsentKeysAreSkippedWithTheirBlocks) {
    InMemoryRegistry registry;
    ASSERT_EQ(Unregister(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), std::vector<std::string>{});
    // Only the first level of each absent key is opened; nothing else is asked.
    for (const RegistryCall call : registry.Calls()) EXPECT_EQ(call, RegistryCall::Open);
}

TEST(UnregisterWalkTest, ValuesLeftInAKeyDoNotStopItsDeletion) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    registry.SetValueAt(u"HKCU\\Software\\Tags\\Demo.Thing", u"Foreign", StringValue(u"x"));
    ASSERT_EQ(Unregister(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), ClassScriptKeptKeys());
}

TEST(UnregisterWalkTest, AnAbsentValueIsNoError) {
    InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCU\\Key");
    ASSERT_EQ(Unregister(registry, u"HKCU { Key { val Missing = s 'x' } }"), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), std::vector<std::string>{});
}

TEST(UnregisterWalkTest, NoRemoveKeysAndValuesStayEvenWhenEmpty) {
    InMemoryRegistry registry;
    registry.SetValueAt(u"HKCU\\Kept", u"V", StringValue(u"x"));
    ASSERT_EQ(Unregister(registry, u"HKCU { NoRemove Kept { NoRemove val V = s 'x' } }"),
              kScriptSucceeded);
    EXPECT_EQ(registry.ValueAt(u"HKCU\\Kept", u"V"), StringValue(u"x"));
}

// A foreign subkey under the CLSID key: the keys walked before it are gone, the refused key and
// its parents stay, and the HKCU block is never reached.
TEST(UnregisterWalkTest, AForeignSubkeyStopsTheWalkAtTheRefusedDeletion) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    registry.CreateKeyPath(u"HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\Foreign");
    ASSERT_EQ(Unregister(registry, kClassScript), kAccessDenied);
    EXPECT_EQ(registry.Dump(),
              (std::vector<std::string>{
                  "HKCR\\CLSID",
                  "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}",
                  "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555} [] 1 54 00 68 00 69 00 6E "
                  "00 67 00 20 00 43 00 6C 00 61 00 73 00 73 00 00 00",
                  "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\Foreign",
                  "HKCU\\Software",
                  "HKCU\\Software\\Tags",
                  "HKCU\\Software\\Tags\\Demo.Thing",
                  "HKCU\\Software\\Tags\\Demo.Thing [Status] 4 08 00 00 00",
              }));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(UnregisterWalkTest, AnOpenErrorOtherThanNotFoundEndsTheWalk) {
    InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCU\\A");
    registry.CreateKeyPath(u"HKCU\\B");
    registry.FailCall(1, kRegistryAccessDenied);
    EXPECT_EQ(Unregister(registry, u"HKCU { A { Inner { val V = s 'x' } } B }"), kAccessDenied);
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{"HKCU\\A", "HKCU\\B"}));
    EXPECT_EQ(registry.CallCount(), 1);
}

TEST(UnregisterWalkTest, ForceRemoveAndDeleteOnlyNameTheKey) {
    InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCU\\A");
    registry.CreateKeyPath(u"HKCU\\B");
    ASSERT_EQ(Unregister(registry, u"HKCU { ForceRemove A = s 'x' Delete B }"), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), std::vector<std::string>{});
}

TEST(UnregisterWalkTest, AKeyWithSubkeysTheScriptDoesNotNameIsRefused) {
    InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCU\\A\\Unnamed");
    EXPECT_EQ(Unregister(registry, u"HKCU { A }"), kAccessDenied);
    EXPECT_TRUE(registry.KeyExists(u"HKCU\\A\\Unnamed"));
}

}  // namespace
}  // namespace vistrel::test
