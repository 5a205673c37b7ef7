// The recognizer as the host drives it: its answers about itself, and the exact calls it makes
// on the host's site and property bags while it tags a cell's text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_smart_tag_site.h"
#include "tests/server/vistrel_dll.h"
#include "tests/support/bstr_text.h"

namespace vistrel {
namespace {

using test::RecordingSite;
using test::TextOf;

constexpr wchar_t kTerm[] = L"Odsetki MF";
constexpr wchar_t kTagType[] = L"brevant/smarttags#vistrel";
constexpr wchar_t kRatePageUrl[] = L"http://www.mf.gov.pl/podatki/odsetki_za_zwloke.shtml";

class Recognizer : public ::testing::Test {
protected:
    test::ComApartment apartment_;
    test::VistrelDll dll_;
    ComPtr<ISmartTagRecognizer> recognizer_ =
        dll_ ? dll_.Create<ISmartTagRecognizer>(__uuidof(STRecognizer)) : nullptr;
};

// What the site sees for one tagged occurrence that got the bag numbered `bag`.
std::vector<std::wstring> TaggedWithBag(int start, int bag) {
    const std::wstring name = L"bag" + std::to_wstring(bag);
    return {L"GetNewPropertyBag", L"Write " + name + L" wwwTag=" + kRatePageUrl,
            L"CommitSmartTag " + std::wstring(kTagType) + L" " + std::to_wstring(start) + L" 10 " +
                name,
            L"Release " + name};
}

struct RecognitionCase {
    const char* what;
    std::wstring text;
    std::vector<int> starts;  // of the tags, in the order committed
};

TEST_F(Recognizer, TagsEveryOccurrenceOfTheTermWithItsAddress) {
    ASSERT_TRUE(recognizer_);
    const RecognitionCase cases[] = {
        {"the term alone", kTerm, {1}},
        {"twice in 27 characters", std::wstring(L"abc") + kTerm + L"defg" + kTerm, {4, 18}},
        {"all small letters", L"odsetki mf", {}},
        {"all capital letters", L"ODSETKI MF", {}},
        {"followed by a further letter", std::wstring(kTerm) + L"y", {1}},
        {"inside a longer word", std::wstring(L"Zal") + kTerm + L"owe", {4}},
        {"after a NUL", std::wstring(L"ab") + L'\0' + kTerm, {}},
        {"before a NUL", std::wstring(kTerm) + L'\0' + kTerm, {1}},
        {"cut short by one letter", L"Odsetki M", {}},
        {"empty", L"", {}},
    };
    for (const RecognitionCase& example : cases) {
        RecordingSite site;
        const UniqueBstr text(
            SysAllocStringLen(example.text.data(), static_cast<UINT>(example.text.size())));
        EXPECT_EQ(recognizer_->Recognize(text.get(), IF_TYPE_CELL, 0x415, &site), S_OK)
            << example.what;
        std::vector<std::wstring> expected;
        int bag = 0;
        for (int start : example.starts) {
            const std::vector<std::wstring> calls = TaggedWithBag(start, ++bag);
            expected.insert(expected.end(), calls.begin(), calls.end());
        }
        EXPECT_EQ(site.log, expected) << example.what;
        for (const auto& given : site.bags) EXPECT_EQ(given->references, 0) << example.what;
        EXPECT_EQ(site.references, 0) << example.what;
    }
}

TEST_F(Recognizer, DataTypeAndLocaleDoNotChangeTheSearch) {
    ASSERT_TRUE(recognizer_);
    const UniqueBstr text(SysAllocString(kTerm));
    for (IF_TYPE type : {IF_TYPE_CHAR, IF_TYPE_SINGLE_WD, IF_TYPE_PARA, IF_TYPE_RUN}) {
        for (int locale : {0, 0x409, 0x415}) {
            RecordingSite site;
            EXPECT_EQ(recognizer_->Recognize(text.get(), type, locale, &site), S_OK);
            EXPECT_EQ(site.log, TaggedWithBag(1, 1)) << type << " " << locale;
        }
    }
}

TEST_F(Recognizer, CommitsWithoutABagWhenTheSiteGivesNone) {
    ASSERT_TRUE(recognizer_);
    RecordingSite site;
    site.givesBags = false;
    const UniqueBstr text(SysAllocString((std::wstring(kTerm) + L" i " + kTerm).c_str()));
    EXPECT_EQ(recognizer_->Recognize(text.get(), IF_TYPE_CELL, 0, &site), S_OK);
    const std::wstring commit = L"CommitSmartTag " + std::wstring(kTagType);
    EXPECT_EQ(site.log,
              (std::vector<std::wstring>{L"GetNewPropertyBag", commit + L" 1 10 no bag",
                                         L"GetNewPropertyBag", commit + L" 14 10 no bag"}));
}

TEST_F(Recognizer, GoesOnWhenTheSiteReportsFailures) {
    ASSERT_TRUE(recognizer_);
    RecordingSite site;
    site.answer = E_FAIL;
    const UniqueBstr text(SysAllocString((std::wstring(kTerm) + kTerm).c_str()));
    EXPECT_EQ(recognizer_->Recognize(text.get(), IF_TYPE_CELL, 0, &site), S_OK);
    std::vector<std::wstring> expected = TaggedWithBag(1, 1);
    const std::vector<std::wstring> second = TaggedWithBag(11, 2);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(site.log, expected);
}

TEST_F(Recognizer, NullTextHoldsNoTerm) {
    ASSERT_TRUE(recognizer_);
    RecordingSite site;
    EXPECT_EQ(recognizer_->Recognize(nullptr, IF_TYPE_CELL, 0, &site), S_OK);
    EXPECT_TRUE(site.log.empty());
}

// Only a found term needs the site: a text without one is answered S_OK as with a site.
TEST_F(Recognizer, NullSiteIsRefusedOnlyWhenATermIsFound) {
    ASSERT_TRUE(recognizer_);
    const UniqueBstr text(SysAllocString(kTerm));
    EXPECT_EQ(recognizer_->Recognize(text.get(), IF_TYPE_CELL, 0, nullptr), E_POINTER);
    const UniqueBstr other(SysAllocString(L"Odsetki mf, bez terminu"));
    EXPECT_EQ(recognizer_->Recognize(other.get(), IF_TYPE_CELL, 0, nullptr), S_OK);
}

TEST_F(Recognizer, DescribesItselfAndItsTagType) {
    ASSERT_TRUE(recognizer_);
    BSTR text = nullptr;
    ASSERT_EQ(recognizer_->get_ProgId(&text), S_OK);
    EXPECT_EQ(TextOf(UniqueBstr(text).get()), L"Vistrel.STRecognizer.1");
    for (int locale : {0, 0x409, 0x415}) {
        ASSERT_EQ(recognizer_->get_Name(locale, &text), S_OK);
        EXPECT_EQ(TextOf(UniqueBstr(text).get()), L"Odsetki za zw\u0142ok\u0119 (Excel)");
        ASSERT_EQ(recognizer_->get_Desc(locale, &text), S_OK);
        EXPECT_EQ(TextOf(UniqueBstr(text).get()), L"Pobieranie odsetek za zw\u0142ok\u0119");
    }
    int count = -1;
    ASSERT_EQ(recognizer_->get_SmartTagCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(recognizer_->get_SmartTagName(1, &text), S_OK);
    EXPECT_EQ(TextOf(UniqueBstr(text).get()), kTagType);
    ASSERT_EQ(recognizer_->get_SmartTagDownloadURL(1, &text), S_OK);
    EXPECT_EQ(TextOf(UniqueBstr(text).get()), L"http://www.brevant.pl");
}

TEST_F(Recognizer, RefusesTagTypeIdsOutsideTheList) {
    ASSERT_TRUE(recognizer_);
    for (int id : {0, 2, -1, 0x7FFFFFFF, static_cast<int>(0x80000000)}) {
        BSTR untouched = reinterpret_cast<BSTR>(&id);
        BSTR text = untouched;
        EXPECT_EQ(recognizer_->get_SmartTagName(id, &text), E_INVALIDARG) << id;
        EXPECT_EQ(text, untouched) << id;
        EXPECT_EQ(recognizer_->get_SmartTagDownloadURL(id, &text), E_INVALIDARG) << id;
        EXPECT_EQ(text, untouched) << id;
    }
}

TEST_F(Recognizer, NullOutPointersAreRefused) {
    ASSERT_TRUE(recognizer_);
    EXPECT_EQ(recognizer_->get_ProgId(nullptr), E_POINTER);
    EXPECT_EQ(recognizer_->get_Name(0, nullptr), E_POINTER);
    EXPECT_EQ(recognizer_->get_Desc(0, nullptr), E_POINTER);
    EXPECT_EQ(recognizer_->get_SmartTagCount(nullptr), E_POINTER);
    // The out pointer is checked before the id.
    for (int id : {1, 0, 2}) {
        EXPECT_EQ(recognizer_->get_SmartTagName(id, nullptr), E_POINTER) << id;
        EXPECT_EQ(recognizer_->get_SmartTagDownloadURL(id, nullptr), E_POINTER) << id;
    }
}

TEST_F(Recognizer, AnswersItsInterfacesWithOneIdentity) {
    ASSERT_TRUE(recognizer_);
    const ComPtr<IUnknown> identity = recognizer_.query<IUnknown>();
    const ComPtr<ISTRecognizer> own = recognizer_.query<ISTRecognizer>();
    const ComPtr<IDispatch> dispatch = recognizer_.query<IDispatch>();
    ASSERT_TRUE(identity && own && dispatch);
    EXPECT_EQ(own.query<IUnknown>().get(), identity.get());
    EXPECT_EQ(dispatch.query<IUnknown>().get(), identity.get());
    // IDispatch is the host's interface; the identity interface is another one.
    EXPECT_EQ(static_cast<IDispatch*>(recognizer_.get()), dispatch.get());
    EXPECT_NE(static_cast<IDispatch*>(own.get()), dispatch.get());
    EXPECT_EQ(own.query<ISmartTagRecognizer>().get(), recognizer_.get());
    for (const IID& other : {__uuidof(ISmartTagAction), __uuidof(ISTAction), IID_IClassFactory}) {
        void* out = &out;
        EXPECT_EQ(recognizer_->QueryInterface(other, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(recognizer_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

}  // namespace
}  // namespace vistrel
