#include <gtest/gtest.h>

#include "tests/server/registry_script/script_runner.h"

namespace vistrel::test {
namespace {

struct GrammarCase {
    const char* what;
    std::u16string_view script;
    ScriptStatus status;
    // A failed register walk is walked again to take away what it wrote; that walk stops at the
    // same fault of the text, so a key whose block holds the fault stays.
    std::vector<std::string> leftAfterRegister = {};
};

class ScriptGrammarTest : public ::testing::TestWithParam<GrammarCase> {};

// Every case runs in both directions over an empty registry; a failing script leaves it empty.
TEST_P(ScriptGrammarTest, AnswersInBothDirections) {
    const GrammarCase& c = GetParam();
    for (const auto direction : {ScriptDirection::Register, ScriptDirection::Unregister}) {
        InMemoryRegistry registry;
        EXPECT_EQ(RunScript(registry, c.script, direction), c.status);
        if (c.status != kScriptSucceeded) {
            EXPECT_EQ(registry.Dump(), direction == ScriptDirection::Register
                                           ? c.leftAfterRegister
                                           : std::vector<std::string>{});
        }
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptGrammarTest,
    ::testing::Values(
        GrammarCase{"empty script", u"", kScriptSucceeded},
        GrammarCase{"only blanks", u" \r\n\t", kScriptSucceeded},
        GrammarCase{"empty root block", u"HKCR\r\n{\r\n}\r\n", kScriptSucceeded},
        GrammarCase{"long root name any case", u"hkey_current_user { }", kScriptSucceeded},
        GrammarCase{"every root name",
                    u"HKCR { } HKCU { } HKLM { } HKU { } HKPD { } HKDD { } HKCC { }",
                    kScriptSucceeded},
        GrammarCase{"unknown root", u"HKXX { }", kScriptSyntaxError},
        GrammarCase{"root without brace", u"HKCR Key { }", kScriptSyntaxError},
        GrammarCase{"missing closing brace", u"HKCR { Key", kScriptSyntaxError},
        GrammarCase{"missing closing brace of sub block",
                    u"HKCR { Key { Sub }",
                    kScriptSyntaxError,
                    {"HKCR\\Key"}},
        GrammarCase{"backslash in key name", u"HKCR { 'A\\B' }", kScriptSyntaxError},
        GrammarCase{"backslash after a good key", u"HKCR { A B\\C }", kScriptSyntaxError},
        GrammarCase{"value without equals",
                    u"HKCR { Key { val V s 'x' } }",
                    kScriptSyntaxError,
                    {"HKCR\\Key"}},
        GrammarCase{"unknown value type",
                    u"HKCR { Key { val V = q 'x' } }",
                    kScriptSyntaxError,
                    {"HKCR\\Key"}},
        GrammarCase{"unknown default value type", u"HKCR { Key = q 'x' }", kScriptSyntaxError},
        GrammarCase{
            "value at the end", u"HKCR { Key { val V = s", kScriptSyntaxError, {"HKCR\\Key"}},
        GrammarCase{"unreplaced name", u"HKCR { '%NOPE%' }", kScriptSyntaxError},
        GrammarCase{"name too long", u"HKCR { '%NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN%' }",
                    kScriptFailed}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.what; *p != '\0'; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(ScriptGrammarTest, KeywordsInAnyCase) {
    InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCR\\Gone\\Sub");
    registry.CreateKeyPath(u"HKCR\\Old\\Sub");
    ASSERT_EQ(
        Register(registry, u"HKCR { noremove Kept { VAL V = s 'x' } FORCEREMOVE Old delete Gone }"),
        kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{
                                   "HKCR\\Kept", "HKCR\\Kept [V] 1 78 00 00 00", "HKCR\\Old"}));
    ASSERT_EQ(Unregister(registry,
                         u"HKCR { noremove Kept { VAL V = s 'x' } FORCEREMOVE Old delete Gone }"),
              kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{"HKCR\\Kept"}));
}

TEST(ScriptGrammarTest, ASyntaxErrorTakesAwayWhatItsRootBlockWrote) {
    InMemoryRegistry registry;
    EXPECT_EQ(
        Register(registry,
                 u"HKCU { Earlier } HKCR { NoRemove CLSID { A = s 'x' { val V = d 1 } } 'B\\C' }"),
        kScriptSyntaxError);
    EXPECT_EQ(registry.Dump(), (std::vector<std::string>{"HKCR\\CLSID", "HKCU\\Earlier"}));
}

TEST(ScriptGrammarTest, NestingDeeperThanTheRegistryIsRefused) {
    std::u16string script = u"HKCU {";
    for (int i = 0; i < kMaxBlockDepth; ++i) script += u" k {";
    for (int i = 0; i < kMaxBlockDepth; ++i) script += u" }";
    script += u" }";
    InMemoryRegistry registry;
    EXPECT_EQ(Unregister(registry, script), kScriptSyntaxError);
    EXPECT_EQ(registry.CallCount(), 1);
    EXPECT_EQ(Register(registry, script), kScriptSyntaxError);
    // One level less is written whole.
    const std::u16string shallower = u"HKCU {" + script.substr(10, script.size() - 14) + u" }";
    InMemoryRegistry other;
    EXPECT_EQ(Register(other, shallower), kScriptSucceeded);
    EXPECT_EQ(other.Dump().size(), static_cast<std::size_t>(kMaxBlockDepth - 1));
}

}  // namespace
}  // namespace vistrel::test
