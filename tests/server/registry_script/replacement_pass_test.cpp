#include "server/registry_script/replacement_pass.h"

#include <gtest/gtest.h>

#include <string>

namespace vistrel {
namespace {

ReplacementMap ModuleAndAppId() {
    ReplacementMap map;
    EXPECT_EQ(map.Add(u"APPID", u"{A}"), kScriptSucceeded);
    EXPECT_EQ(map.Add(u"Module", u"C:\\it''s\\v.dll"), kScriptSucceeded);
    return map;
}

struct ReplacementCase {
    const char* what;
    std::u16string_view script;
    ScriptStatus status;
    std::u16string_view replaced;
};

class ReplacementPassTest : public ::testing::TestWithParam<ReplacementCase> {};

TEST_P(ReplacementPassTest, GivesTheTextOrTheError) {
    const ReplacementCase& c = GetParam();
    std::u16string replaced;
    EXPECT_EQ(ReplaceNames(c.script, ModuleAndAppId(), replaced), c.status);
    if (c.status == kScriptSucceeded) {
        EXPECT_EQ(replaced, c.replaced);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplacementPassTest,
    ::testing::Values(
        ReplacementCase{"no names", u"HKCR { x }", kScriptSucceeded, u"HKCR { x }"},
        ReplacementCase{"upper case", u"'%MODULE%'", kScriptSucceeded, u"'C:\\it''s\\v.dll'"},
        ReplacementCase{"lower case", u"%module%", kScriptSucceeded, u"C:\\it''s\\v.dll"},
        ReplacementCase{"two names", u"%APPID%-%appid%", kScriptSucceeded, u"{A}-{A}"},
        ReplacementCase{"doubled percent", u"100%% of %%", kScriptSucceeded, u"100% of %"},
        ReplacementCase{"unterminated", u"x %MODULE", kScriptSyntaxError, u""},
        ReplacementCase{"lone percent at the end", u"x %", kScriptSyntaxError, u""},
        ReplacementCase{"unknown name", u"%NOSUCH%", kScriptSyntaxError, u""},
        ReplacementCase{"31 characters, unknown", u"%aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa%",
                        kScriptSyntaxError, u""},
        ReplacementCase{"32 characters", u"%aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa%", kScriptFailed,
                        u""}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.what; *p != '\0'; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(ReplacementMapTest, RefusesNullNameOrValue) {
    ReplacementMap map;
    EXPECT_EQ(map.Add(nullptr, u"v"), kScriptInvalidArgument);
    EXPECT_EQ(map.Add(u"n", nullptr), kScriptInvalidArgument);
    EXPECT_FALSE(map.Find(u"n").has_value());
}

TEST(ReplacementMapTest, FirstOfTwoEqualNamesWins) {
    ReplacementMap map;
    ASSERT_EQ(map.Add(u"APPID", u"first"), kScriptSucceeded);
    ASSERT_EQ(map.Add(u"appid", u"second"), kScriptSucceeded);
    std::u16string replaced;
    ASSERT_EQ(ReplaceNames(u"%AppId%", map, replaced), kScriptSucceeded);
    EXPECT_EQ(replaced, u"first");
}

TEST(ReplacementMapTest, AThirtyOneCharacterNameIsFound) {
    ReplacementMap map;
    const std::u16string name(31, u'n');
    ASSERT_EQ(map.Add(name.c_str(), u"v"), kScriptSucceeded);
    std::u16string replaced;
    EXPECT_EQ(ReplaceNames(u"<%" + name + u"%>", map, replaced), kScriptSucceeded);
    EXPECT_EQ(replaced, u"<v>");
}

}  // namespace
}  // namespace vistrel
