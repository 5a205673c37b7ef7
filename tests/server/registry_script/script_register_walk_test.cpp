#include <gtest/gtest.h>

#include "tests/server/registry_script/class_script.h"
#include "tests/server/registry_script/script_runner.h"

namespace vistrel::test {
namespace {

TEST(RegisterWalkTest, WritesExactlyTheScriptsKeysAndValues) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), ClassScriptRegistered());
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegisterWalkTest, TheModulePathWithAQuoteArrivesUnchanged) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, u"HKCR { Server = s '%MODULE%' }"), kScriptSucceeded);
    EXPECT_EQ(registry.ValueAt(u"HKCR\\Server", u""), StringValue(kTestModulePath));
}

TEST(RegisterWalkTest, RegisteringTwiceLeavesTheSameKeys) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), ClassScriptRegistered());
}

TEST(RegisterWalkTest, ForceRemoveReplacesAnExistingKeyWhole) {
    InMemoryRegistry registry;
    registry.SetValueAt(u"HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\Extra\\Deeper", u"x",
                        StringValue(u"old"));
    registry.SetValueAt(u"HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}", u"Stale",
                        StringValue(u"old"));
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), ClassScriptRegistered());
}

TEST(RegisterWalkTest, ExistingKeysOutsideForceRemoveKeepWhatTheyHold) {
    InMemoryRegistry registry;
    registry.SetValueAt(u"HKCR\\Demo.Thing.1\\Other", u"", StringValue(u"kept"));
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.ValueAt(u"HKCR\\Demo.Thing.1\\Other", u""), StringValue(u"kept"));
    EXPECT_EQ(registry.ValueAt(u"HKCR\\Demo.Thing.1", u""), StringValue(u"Thing Class"));
}

struct ProtectedCase {
    std::u16string_view script;
    std::u16string_view survivor;
};

class ProtectedNameTest : public ::testing::TestWithParam<ProtectedCase> {};

TEST_P(ProtectedNameTest, IsNeverDeletedWithItsSubtree) {
    InMemoryRegistry registry;
    registry.SetValueAt(GetParam().survivor, u"", StringValue(u"foreign"));
    ASSERT_EQ(Register(registry, GetParam().script), kScriptSucceeded);
    EXPECT_EQ(registry.ValueAt(GetParam().survivor, u""), StringValue(u"foreign"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProtectedNameTest,
    ::testing::Values(ProtectedCase{u"HKCU { ForceRemove Software }", u"HKCU\\Software\\Other"},
                      ProtectedCase{u"HKCU { ForceRemove software }", u"HKCU\\Software\\Other"},
                      ProtectedCase{u"HKCR { Delete CLSID }", u"HKCR\\CLSID\\{X}"},
                      ProtectedCase{u"HKCR { Delete 'Component Categories' }",
                                    u"HKCR\\Component Categories\\Y"},
                      ProtectedCase{u"HKCR { ForceRemove TypeLib { Sub } }", u"HKCR\\TypeLib\\Z"},
                      ProtectedCase{u"HKLM { Delete SYSTEM }", u"HKLM\\SYSTEM\\W"}));

TEST(RegisterWalkTest, DeleteRemovesAnUnprotectedKeyAndCreatesNothing) {
    InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCR\\Old.Thing\\CLSID\\Deeper");
    ASSERT_EQ(
        Register(registry,
                 u"HKCR { Delete Old.Thing = s 'ignored' { Inner } Delete Never.There After }"),
        kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{"HKCR\\After"}));
}

TEST(RegisterWalkTest, AKeyThatRefusesWritingIsOpenedReadOnly) {
    InMemoryRegistry registry;
    registry.MakeReadOnly(u"HKCU\\Locked");
    ASSERT_EQ(Register(registry, u"HKCU { NoRemove Locked }"), kScriptSucceeded);
    EXPECT_EQ(registry.Calls(), (std::vector<RegistryCall>{RegistryCall::Open, RegistryCall::Open,
                                                           RegistryCall::Close}));
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{"HKCU\\Locked"}));
}

TEST(RegisterWalkTest, AValueOnAReadOnlyKeyFailsWithTheRegistrysError) {
    InMemoryRegistry registry;
    registry.MakeReadOnly(u"HKCU\\Locked");
    EXPECT_EQ(Register(registry, u"HKCU { NoRemove Locked = s 'x' }"),
              static_cast<ScriptStatus>(0x80070005u));
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{"HKCU\\Locked"}));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegisterWalkTest, AFailedRootBlockIsTakenAwayAndEarlierBlocksStay) {
    InMemoryRegistry registry;
    registry.MakeReadOnly(u"HKCU\\Software\\Locked");
    EXPECT_EQ(Register(registry,
                       u"HKCR { First = s 'one' } "
                       u"HKCU { NoRemove Software { Written { val V = d 1 } Locked { New } } }"),
              static_cast<ScriptStatus>(0x80070005u));
    EXPECT_EQ(registry.Dump(),
              (std::vector<std::string>{"HKCR\\First", "HKCR\\First [] 1 6F 00 6E 00 65 00 00 00",
                                        "HKCU\\Software", "HKCU\\Software\\Locked"}));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace vistrel::test
