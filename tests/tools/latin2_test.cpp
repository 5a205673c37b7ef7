#include "tools/latin2.h"

#include <gtest/gtest.h>

namespace vistrel::tools {
namespace {

TEST(DecodeLatin2, KeepsBytesBelowTheUpperHalf) {
    EXPECT_EQ(DecodeLatin2(std::string("<td><p>13,00%\x7f\x9f", 15)), u"<td><p>13,00%\x7f\x9f");
}

// The whole upper half against the characters themselves, written out rather than as numbers.
TEST(DecodeLatin2, DecodesTheWholeUpperHalf) {
    std::string bytes;
    for (int code = 0xA0; code <= 0xFF; ++code) bytes.push_back(static_cast<char>(code));
    EXPECT_EQ(DecodeLatin2(bytes),
              u"\u00A0Ą˘Ł¤ĽŚ§¨ŠŞŤŹ\u00ADŽŻ°ą˛ł´ľśˇ¸šşťź˝žżŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔŐÖ×ŘŮÚŰÜÝŢß"
              u"ŕáâăäĺćçčéęëěíîďđńňóôőö÷řůúűüýţ˙");
}

struct Latin2Case {
    const char* bytes;
    std::u16string_view text;
};

class DecodeLatin2Letters : public testing::TestWithParam<Latin2Case> {};

TEST_P(DecodeLatin2Letters, GivesThePolishLetters) {
    EXPECT_EQ(DecodeLatin2(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    PolishWords, DecodeLatin2Letters,
    testing::Values(Latin2Case{"\xb1", u"\u0105"}, Latin2Case{"\xb6", u"\u015b"},
                    Latin2Case{"\xbc", u"\u017a"}, Latin2Case{"wrze\xb6nia", u"września"},
                    Latin2Case{"pa\xbc"
                               "dziernika",
                               u"października"},
                    Latin2Case{"Odsetki za zw\xb3ok\xea", u"Odsetki za zwłokę"},
                    Latin2Case{"\xa1\xc6\xca\xa3\xd1\xd3\xa6\xac\xaf", u"ĄĆĘŁŃÓŚŹŻ"},
                    Latin2Case{"\xb1\xe6\xea\xb3\xf1\xf3\xb6\xbc\xbf", u"ąćęłńóśźż"}));

}  // namespace
}  // namespace vistrel::tools
