#include "server/registry_script/registry_value.h"

#include <gtest/gtest.h>

#include "tests/server/registry_script/script_runner.h"

namespace vistrel::test {
namespace {

struct ValueCase {
    const char* what;
    std::u16string_view entry;
    ScriptStatus status;
    RegistryValueType type;
    std::vector<std::uint8_t> data;
    // An unknown type letter stops the walk that takes the failed block away, too.
    bool keyLeft = false;
};

class ValueTypeTest : public ::testing::TestWithParam<ValueCase> {};

// Each value is written by a script, then read back from the registry with its type and bytes.
TEST_P(ValueTypeTest, WritesTheTypeAndBytes) {
    const ValueCase& c = GetParam();
    InMemoryRegistry registry;
    const std::u16string script = u"HKCU { Target { val V = " + std::u16string(c.entry) + u" } }";
    ASSERT_EQ(Register(registry, script), c.status);
    const auto value = registry.ValueAt(u"HKCU\\Target", u"V");
    if (c.status != kScriptSucceeded) {
        EXPECT_FALSE(value.has_value());
        EXPECT_EQ(registry.KeyExists(u"HKCU\\Target"), c.keyLeft);
        return;
    }
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(value->data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueTypeTest,
    ::testing::Values(
        ValueCase{"string",
                  u"s 'Ab'",
                  kScriptSucceeded,
                  RegistryValueType::String,
                  {'A', 0, 'b', 0, 0, 0}},
        ValueCase{"empty string", u"S ''", kScriptSucceeded, RegistryValueType::String, {0, 0}},
        ValueCase{"multi string",
                  u"m 'a\\0b'",
                  kScriptSucceeded,
                  RegistryValueType::MultiString,
                  {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}},
        ValueCase{"multi string of one",
                  u"M 'ab'",
                  kScriptSucceeded,
                  RegistryValueType::MultiString,
                  {'a', 0, 'b', 0, 0, 0, 0, 0}},
        ValueCase{"dword", u"d 8", kScriptSucceeded, RegistryValueType::Dword, {8, 0, 0, 0}},
        ValueCase{"largest dword",
                  u"D '4294967295'",
                  kScriptSucceeded,
                  RegistryValueType::Dword,
                  {0xFF, 0xFF, 0xFF, 0xFF}},
        ValueCase{"dword 305419896",
                  u"d 305419896",
                  kScriptSucceeded,
                  RegistryValueType::Dword,
                  {0x78, 0x56, 0x34, 0x12}},
        ValueCase{
            "dword too large", u"d 4294967296", kScriptSyntaxError, RegistryValueType::Dword, {}},
        ValueCase{"dword negative", u"d -1", kScriptSyntaxError, RegistryValueType::Dword, {}},
        ValueCase{
            "dword not a number", u"d eight", kScriptSyntaxError, RegistryValueType::Dword, {}},
        ValueCase{"dword empty", u"d ''", kScriptSyntaxError, RegistryValueType::Dword, {}},
        ValueCase{"binary", u"b 'A0ff'", kScriptSucceeded, RegistryValueType::Binary, {0xA0, 0xFF}},
        ValueCase{"binary non digit counts as 0",
                  u"b 'zA'",
                  kScriptSucceeded,
                  RegistryValueType::Binary,
                  {0x0A}},
        ValueCase{"binary empty", u"b ''", kScriptSucceeded, RegistryValueType::Binary, {}},
        ValueCase{"binary odd", u"b 'A0f'", kScriptFailed, RegistryValueType::Binary, {}},
        ValueCase{
            "unknown type", u"x 'A'", kScriptSyntaxError, RegistryValueType::String, {}, true}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.what; *p != '\0'; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(ValueTypeTest, ADefaultValueTakesTheEmptyName) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, u"HKCR { Key = s 'Text' }"), kScriptSucceeded);
    EXPECT_EQ(registry.ValueAt(u"HKCR\\Key", u""), StringValue(u"Text"));
}

}  // namespace
}  // namespace vistrel::test
