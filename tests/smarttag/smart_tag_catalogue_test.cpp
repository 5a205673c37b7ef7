#include "smarttag/smart_tag_catalogue.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/task_allocation_spy.h"
#include "tests/support/bstr_text.h"
#include "tests/smarttag/long_term.h"
#include "tests/support/string_table_module.h"

namespace vistrel {
namespace {

using test::StringTableModule;
using test::TextOf;

constexpr const wchar_t* kRatePageUrl = L"http://www.mf.gov.pl/podatki/odsetki_za_zwloke.shtml";
constexpr const wchar_t* kLateInterest = L"Odsetki za zw\u0142ok\u0119";

class ShippedCatalogue : public ::testing::Test {
protected:
    StringTableModule module_{L"shipped_strings.dll"};
    std::unique_ptr<SmartTagCatalogue> catalogue_ = SmartTagCatalogue::Load();
};

TEST_F(ShippedCatalogue, HoldsOneTagTypeTwoVerbsAndOneTerm) {
    ASSERT_TRUE(catalogue_);
    EXPECT_EQ(catalogue_->TagTypeCount(), 1u);
    EXPECT_EQ(catalogue_->VerbCount(), 2u);
    EXPECT_EQ(catalogue_->TermCount(), 1u);
}

TEST_F(ShippedCatalogue, TagTypeHasNameDownloadUrlAndCaption) {
    ASSERT_TRUE(catalogue_);
    const SmartTagType* type = catalogue_->TagType(0);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(TextOf(type->Name()), L"brevant/smarttags#vistrel");
    EXPECT_EQ(TextOf(type->DownloadUrl()), L"http://www.brevant.pl");
    EXPECT_EQ(TextOf(type->Caption()), std::wstring(kLateInterest) + L" (Excel)");
}

TEST_F(ShippedCatalogue, VerbsAreTheCalculatorAndTheRatePage) {
    ASSERT_TRUE(catalogue_);
    const SmartTagVerb* first = catalogue_->Verb(0);
    const SmartTagVerb* second = catalogue_->Verb(1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(TextOf(first->Name()), L"Action1");
    EXPECT_EQ(TextOf(first->Caption()), kLateInterest);
    EXPECT_EQ(TextOf(second->Name()), L"Action2");
    EXPECT_EQ(TextOf(second->Caption()), L"Poka\u017C stron\u0119 WWW...");
}

TEST_F(ShippedCatalogue, TermCarriesTheRatePageAddress) {
    ASSERT_TRUE(catalogue_);
    const SmartTagTerm* term = catalogue_->Term(0);
    ASSERT_NE(term, nullptr);
    EXPECT_EQ(TextOf(term->Term()), L"Odsetki MF");
    EXPECT_EQ(TextOf(term->Url()), kRatePageUrl);
    // Read in place: the same string, not a copy.
    EXPECT_EQ(catalogue_->RatePageUrl(), term->Url());
}

TEST_F(ShippedCatalogue, ClassStringsOfRecognizerAndAction) {
    ASSERT_TRUE(catalogue_);
    const ClassStrings& recognizer = catalogue_->RecognizerStrings();
    EXPECT_EQ(TextOf(recognizer.ProgId()), L"Vistrel.STRecognizer.1");
    EXPECT_EQ(TextOf(recognizer.Name()), std::wstring(kLateInterest) + L" (Excel)");
    EXPECT_EQ(TextOf(recognizer.Description()), L"Pobieranie odsetek za zw\u0142ok\u0119");
    const ClassStrings& action = catalogue_->ActionStrings();
    EXPECT_EQ(TextOf(action.ProgId()), L"Vistrel.STAction.1");
    EXPECT_EQ(TextOf(action.Name()), L"Warto\u015Bci odsetek za zw\u0142ok\u0119");
    EXPECT_EQ(TextOf(action.Description()), L"Wy\u015Bwietlanie odsetek za zw\u0142ok\u0119");
}

TEST_F(ShippedCatalogue, PositionsAndIdsStopAtTheEndOfTheirList) {
    ASSERT_TRUE(catalogue_);
    EXPECT_EQ(catalogue_->TagType(1), nullptr);
    EXPECT_EQ(catalogue_->Verb(2), nullptr);
    EXPECT_EQ(catalogue_->Term(1), nullptr);
    EXPECT_EQ(catalogue_->TagTypeWithId(1), catalogue_->TagType(0));
    EXPECT_EQ(catalogue_->VerbWithId(2), catalogue_->Verb(1));
    for (int id : {0, -1, 2}) EXPECT_EQ(catalogue_->TagTypeWithId(id), nullptr) << "id " << id;
    for (int id : {0, -1, 3}) EXPECT_EQ(catalogue_->VerbWithId(id), nullptr) << "id " << id;
}

struct ExpectedTerm {
    std::wstring term;
    std::optional<std::wstring> url;
};

struct TableCase {
    const wchar_t* module;
    std::uint32_t tagTypes;
    std::uint32_t verbs;
    std::vector<ExpectedTerm> terms;
};

void PrintTo(const TableCase& tableCase, std::ostream* out) {
    *out << std::string(tableCase.module, tableCase.module + wcslen(tableCase.module));
}

class CatalogueOfTable : public ::testing::TestWithParam<TableCase> {};

// Each list runs over consecutive records until the first one that lacks a required string.
TEST_P(CatalogueOfTable, ListsEndAtTheirFirstGap) {
    StringTableModule module(GetParam().module);
    ASSERT_TRUE(module);
    const auto catalogue = SmartTagCatalogue::Load();
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->TagTypeCount(), GetParam().tagTypes);
    EXPECT_EQ(catalogue->VerbCount(), GetParam().verbs);
    const std::vector<ExpectedTerm>& expected = GetParam().terms;
    ASSERT_EQ(catalogue->TermCount(), expected.size());
    for (std::uint32_t position = 0; position < expected.size(); ++position) {
        const SmartTagTerm* term = catalogue->Term(position);
        ASSERT_NE(term, nullptr);
        EXPECT_EQ(TextOf(term->Term()), expected[position].term) << "position " << position;
        EXPECT_EQ(TextOf(term->Url()), expected[position].url) << "position " << position;
    }
}

INSTANTIATE_TEST_SUITE_P(
    StringTables, CatalogueOfTable,
    ::testing::Values(
        TableCase{L"shipped_strings.dll", 1, 2, {{L"Odsetki MF", kRatePageUrl}}},
        TableCase{
            L"second_term.dll",
            1,
            2,
            {{L"Odsetki MF", kRatePageUrl}, {L"Odsetki US", L"http://www.example.pl/odsetki"}}},
        TableCase{L"only_7003.dll", 1, 2, {{L"Odsetki MF", kRatePageUrl}}},
        TableCase{L"gaps.dll",
                  1,
                  1,
                  {{L"Odsetki MF", std::nullopt}, {L"Odsetki US", L"http://drugi/termin"}}},
        TableCase{L"long_string.dll", 0, 0, {{test::LongTerm().substr(0, 255), kRatePageUrl}}},
        TableCase{L"index_forms.dll", 0, 1, {}}));

TEST(CatalogueGaps, MissingOptionalStringsStayNull) {
    StringTableModule module(L"gaps.dll");
    ASSERT_TRUE(module);
    const auto catalogue = SmartTagCatalogue::Load();
    ASSERT_TRUE(catalogue);
    const SmartTagType* type = catalogue->TagType(0);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(TextOf(type->Name()), L"typ/pierwszy");
    EXPECT_EQ(type->DownloadUrl(), nullptr);
    EXPECT_EQ(TextOf(type->Caption()), L"Pierwszy typ");
    const SmartTagVerb* verb = catalogue->Verb(0);
    ASSERT_NE(verb, nullptr);
    EXPECT_EQ(TextOf(verb->Name()), L"Action1");
    EXPECT_EQ(verb->Caption(), nullptr);
}

TEST(CatalogueGaps, EmptyTermListHasNoRatePage) {
    StringTableModule module(L"index_forms.dll");
    ASSERT_TRUE(module);
    const auto catalogue = SmartTagCatalogue::Load();
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->Term(0), nullptr);
    EXPECT_EQ(catalogue->RatePageUrl(), nullptr);
}

class CatalogueAllocations : public ::testing::TestWithParam<const wchar_t*> {};

// Also across records that fail half-way (gaps.dll: a tag type whose caption is missing).
TEST_P(CatalogueAllocations, EveryStringIsFreedWithTheCatalogue) {
    StringTableModule module(GetParam());
    ASSERT_TRUE(module);
    test::TaskAllocationSpy spy;
    ASSERT_TRUE(spy.Registered());
    auto catalogue = SmartTagCatalogue::Load();
    ASSERT_TRUE(catalogue);
    EXPECT_GT(spy.LiveBlocks(), 0);
    catalogue.reset();
    EXPECT_EQ(spy.LiveBlocks(), 0);
}

INSTANTIATE_TEST_SUITE_P(StringTables, CatalogueAllocations,
                         ::testing::Values(L"shipped_strings.dll", L"second_term.dll", L"gaps.dll",
                                           L"long_string.dll", L"index_forms.dll"));

TEST(ProcessCatalogue, BuiltAtAttachAndGoneAfterDetach) {
    StringTableModule module(L"shipped_strings.dll");
    ASSERT_TRUE(module);
    test::TaskAllocationSpy spy;
    ASSERT_TRUE(spy.Registered());
    EXPECT_EQ(Catalogue(), nullptr);
    EXPECT_TRUE(BuildCatalogue());
    ASSERT_NE(Catalogue(), nullptr);
    EXPECT_EQ(Catalogue()->TermCount(), 1u);
    DestroyCatalogue();
    EXPECT_EQ(Catalogue(), nullptr);
    EXPECT_EQ(spy.LiveBlocks(), 0);
}

}  // namespace
}  // namespace vistrel
