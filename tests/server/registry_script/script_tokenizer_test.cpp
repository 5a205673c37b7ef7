#include "server/registry_script/script_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistrel {
namespace {

std::vector<std::u16string> AllTokens(std::u16string_view text, ScriptStatus& last) {
    ScriptTokenizer tokens(text);
    std::vector<std::u16string> result;
    std::u16string token;
    while (!tokens.AtEnd()) {
        last = tokens.Next(token);
        if (last != kScriptSucceeded) return result;
        result.push_back(token);
    }
    last = kScriptSucceeded;
    return result;
}

TEST(ScriptTokenizerTest, BlanksOfEveryKindSeparateTokens) {
    ScriptStatus status = kScriptFailed;
    const auto tokens = AllTokens(u"HKCR\r\n{\tNoRemove  AppID\r\n}\r\n", status);
    EXPECT_EQ(status, kScriptSucceeded);
    EXPECT_EQ(tokens, (std::vector<std::u16string>{u"HKCR", u"{", u"NoRemove", u"AppID", u"}"}));
}

TEST(ScriptTokenizerTest, AQuotedTokenKeepsBlanksAndUndoublesQuotes) {
    ScriptStatus status = kScriptFailed;
    const auto tokens = AllTokens(u"'Smart Tag' 'it''s' '''' '' x", status);
    EXPECT_EQ(status, kScriptSucceeded);
    EXPECT_EQ(tokens, (std::vector<std::u16string>{u"Smart Tag", u"it's", u"'", u"", u"x"}));
}

TEST(ScriptTokenizerTest, AQuotedTokenEndsAtItsQuoteEvenWithoutBlank) {
    ScriptStatus status = kScriptFailed;
    const auto tokens = AllTokens(u"'a'b", status);
    EXPECT_EQ(status, kScriptSucceeded);
    EXPECT_EQ(tokens, (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(ScriptTokenizerTest, AnUnclosedQuoteIsASyntaxError) {
    ScriptStatus status = kScriptSucceeded;
    AllTokens(u"x 'never closed", status);
    EXPECT_EQ(status, kScriptSyntaxError);
    AllTokens(u"x 'ends in a doubled quote''", status);
    EXPECT_EQ(status, kScriptSyntaxError);
}

TEST(ScriptTokenizerTest, AskingPastTheEndIsASyntaxError) {
    ScriptTokenizer tokens(u"only \r\n");
    std::u16string token;
    ASSERT_EQ(tokens.Next(token), kScriptSucceeded);
    EXPECT_EQ(tokens.Next(token), kScriptSyntaxError);
}

struct LengthCase {
    std::size_t length;
    bool quoted;
    ScriptStatus status;
};

class TokenLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(TokenLengthTest, TokensUpTo4094CharactersPass) {
    const LengthCase& c = GetParam();
    const std::u16string body(c.length, u'k');
    const std::u16string text = c.quoted ? u"'" + body + u"' next" : body + u" next";
    ScriptTokenizer tokens(text);
    std::u16string token;
    ASSERT_EQ(tokens.Next(token), c.status);
    if (c.status == kScriptSucceeded) {
        EXPECT_EQ(token, body);
        ASSERT_EQ(tokens.Next(token), kScriptSucceeded);
        EXPECT_EQ(token, u"next");
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, TokenLengthTest,
                         ::testing::Values(LengthCase{4094, false, kScriptSucceeded},
                                           LengthCase{4095, false, kScriptSyntaxError},
                                           LengthCase{4094, true, kScriptSucceeded},
                                           LengthCase{4095, true, kScriptSyntaxError}));

TEST(ScriptTokenizerTest, DoubledQuotesCountOnceTowardsTheLimit) {
    const std::u16string text = u"'" + std::u16string(4093, u'k') + u"'''";
    ScriptTokenizer tokens(text);
    std::u16string token;
    ASSERT_EQ(tokens.Next(token), kScriptSucceeded);
    EXPECT_EQ(token.size(), 4094u);
    EXPECT_EQ(token.back(), u'\'');
}

}  // namespace
}  // namespace vistrel
