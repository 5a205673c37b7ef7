#include "smarttag/string_loading.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/bstr_text.h"
#include "tests/smarttag/long_term.h"
#include "tests/support/string_table_module.h"

namespace vistrel {
namespace {

using test::StringTableModule;
using test::TextOf;

struct PolishString {
    int id;
    const wchar_t* text;  // written with escapes, so that the source encoding cannot hide a fault
};

class ShippedPolishStrings : public ::testing::TestWithParam<PolishString> {};

// The resource compiler reads the UTF-8 script as code page 65001 and stores UTF-16.
TEST_P(ShippedPolishStrings, LoadAsTheExactUtf16Text) {
    StringTableModule module(L"shipped_strings.dll");
    ASSERT_TRUE(module);
    EXPECT_EQ(TextOf(LoadStringBstr(GetParam().id).get()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    StringTable, ShippedPolishStrings,
    ::testing::Values(PolishString{201, L"Odsetki za zw\u0142ok\u0119 (Excel)"},
                      PolishString{202, L"Pobieranie odsetek za zw\u0142ok\u0119"},
                      PolishString{301, L"Warto\u015Bci odsetek za zw\u0142ok\u0119"},
                      PolishString{302, L"Wy\u015Bwietlanie odsetek za zw\u0142ok\u0119"},
                      PolishString{5002, L"Odsetki za zw\u0142ok\u0119 (Excel)"},
                      PolishString{6001, L"Odsetki za zw\u0142ok\u0119"},
                      PolishString{6003, L"Poka\u017C stron\u0119 WWW..."}));

TEST(LoadStringBstrTest, ProjectNameStandsAt100) {
    StringTableModule module(L"shipped_strings.dll");
    ASSERT_TRUE(module);
    EXPECT_EQ(TextOf(LoadStringBstr(100).get()), L"Vistrel");
}

TEST(LoadStringBstrTest, MissingStringAndIdsOutside16BitsGiveNull) {
    StringTableModule module(L"shipped_strings.dll");
    ASSERT_TRUE(module);
    for (int id : {5003, 6004, 7002, -1, 0x10000 + 100}) {
        EXPECT_EQ(LoadStringBstr(id).get(), nullptr) << "id " << id;
    }
}

TEST(LoadStringBstrTest, StringOf300CharactersKeepsItsFirst255) {
    StringTableModule module(L"long_string.dll");
    ASSERT_TRUE(module);
    const UniqueBstr term = LoadStringBstr(7000);
    ASSERT_TRUE(term);
    EXPECT_EQ(SysStringLen(term.get()), 255u);
    EXPECT_EQ(TextOf(term.get()), test::LongTerm().substr(0, 255));
}

struct IndexCase {
    const wchar_t* module;
    int id;
    int expected;
};

class IndexStrings : public ::testing::TestWithParam<IndexCase> {};

TEST_P(IndexStrings, ReadAsAtoiReadsTheirFirst8Characters) {
    StringTableModule module(GetParam().module);
    ASSERT_TRUE(module);
    EXPECT_EQ(LoadIndexString(GetParam().id), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(StringTable, IndexStrings,
                         ::testing::Values(IndexCase{L"shipped_strings.dll", 1000, 5000},
                                           IndexCase{L"shipped_strings.dll", 1001, 6000},
                                           IndexCase{L"shipped_strings.dll", 1002, 7000},
                                           IndexCase{L"shipped_strings.dll", 1003, 0},
                                           IndexCase{L"index_forms.dll", 1000, 0},
                                           IndexCase{L"index_forms.dll", 1001, 6000},
                                           IndexCase{L"index_forms.dll", 1002, 700}));

}  // namespace
}  // namespace vistrel
