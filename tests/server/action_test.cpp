// The action as the host drives it: its answers about itself and its verbs, and verb 2 opening
// the rate page in the browser that Wine's launcher runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/recording_smart_tag_site.h"
#include "tests/server/vistrel_dll.h"
#include "tests/support/bstr_text.h"
#include "tests/server/recording_browser.h"

namespace vistrel {
namespace {

using test::TextOf;

constexpr wchar_t kTagType[] = L"brevant/smarttags#vistrel";
constexpr char kRatePageUrl[] = "http://www.mf.gov.pl/podatki/odsetki_za_zwloke.shtml";
constexpr wchar_t kLateInterest[] = L"Odsetki za zw\u0142ok\u0119";

class Action : public ::testing::Test {
protected:
    test::ComApartment apartment_;
    test::VistrelDll dll_;
    ComPtr<ISmartTagAction> action_ =
        dll_ ? dll_.Create<ISmartTagAction>(__uuidof(STAction)) : nullptr;
};

// A string of the action, got with `call`, or the status when it failed.
template <typename Call>
std::wstring StringFrom(Call call) {
    BSTR text = nullptr;
    const HRESULT status = call(&text);
    const UniqueBstr owned(text);
    if (status != S_OK) return L"status " + std::to_wstring(status);
    return TextOf(owned.get()).value_or(L"(null)");
}

TEST_F(Action, DescribesItselfForEveryLocale) {
    ASSERT_TRUE(action_);
    EXPECT_EQ(StringFrom([&](BSTR* out) { return action_->get_ProgId(out); }),
              L"Vistrel.STAction.1");
    for (int locale : {0, 0x409, 0x415, -1}) {
        EXPECT_EQ(StringFrom([&](BSTR* out) { return action_->get_Name(locale, out); }),
                  L"Warto\u015Bci odsetek za zw\u0142ok\u0119");
        EXPECT_EQ(StringFrom([&](BSTR* out) { return action_->get_Desc(locale, out); }),
                  L"Wy\u015Bwietlanie odsetek za zw\u0142ok\u0119");
    }
}

TEST_F(Action, DescribesTheOneTagType) {
    ASSERT_TRUE(action_);
    int count = -1;
    ASSERT_EQ(action_->get_SmartTagCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(StringFrom([&](BSTR* out) { return action_->get_SmartTagName(1, out); }), kTagType);
    for (int locale : {0, 0x409, 0x415}) {
        EXPECT_EQ(
            StringFrom([&](BSTR* out) { return action_->get_SmartTagCaption(1, locale, out); }),
            std::wstring(kLateInterest) + L" (Excel)");
    }
}

TEST_F(Action, OffersTwoVerbsForAnyTagTypeName) {
    ASSERT_TRUE(action_);
    const UniqueBstr ours(SysAllocString(kTagType));
    const UniqueBstr other(SysAllocString(L"somebody/else#type"));
    for (BSTR name : {ours.get(), other.get(), static_cast<BSTR>(nullptr)}) {
        int count = -1;
        ASSERT_EQ(action_->get_VerbCount(name, &count), S_OK);
        EXPECT_EQ(count, 2);
        for (int index : {1, 2}) {
            int id = -1;
            ASSERT_EQ(action_->get_VerbID(name, index, &id), S_OK);
            EXPECT_EQ(id, index);
        }
    }
}

struct VerbTexts {
    int id;
    const wchar_t* name;
    std::wstring caption;
};

TEST_F(Action, NamesAndCaptionsEachVerbForEveryHostAndLocale) {
    ASSERT_TRUE(action_);
    const VerbTexts verbs[] = {{1, L"Action1", kLateInterest},
                               {2, L"Action2", L"Poka\u017C stron\u0119 WWW..."}};
    const UniqueBstr excel(SysAllocString(L"Excel.Application.10"));
    const UniqueBstr word(SysAllocString(L"Word.Application.10"));
    for (const VerbTexts& verb : verbs) {
        EXPECT_EQ(StringFrom([&](BSTR* out) { return action_->get_VerbNameFromID(verb.id, out); }),
                  verb.name);
        for (BSTR host : {excel.get(), word.get(), static_cast<BSTR>(nullptr)}) {
            for (int locale : {0, 0x409, 0x415}) {
                EXPECT_EQ(StringFrom([&](BSTR* out) {
                              return action_->get_VerbCaptionFromID(verb.id, host, locale, out);
                          }),
                          verb.caption)
                    << verb.id << " " << locale;
            }
        }
    }
}

TEST_F(Action, RefusesIdsOutsideItsListsLeavingTheOutValue) {
    ASSERT_TRUE(action_);
    const UniqueBstr name(SysAllocString(kTagType));
    for (int badTagType : {0, 2, -1}) {
        BSTR untouched = reinterpret_cast<BSTR>(&badTagType);
        BSTR text = untouched;
        EXPECT_EQ(action_->get_SmartTagName(badTagType, &text), E_INVALIDARG);
        EXPECT_EQ(action_->get_SmartTagCaption(badTagType, 0, &text), E_INVALIDARG);
        EXPECT_EQ(text, untouched);
    }
    for (int badVerb : {0, 3, -1}) {
        BSTR untouched = reinterpret_cast<BSTR>(&badVerb);
        BSTR text = untouched;
        EXPECT_EQ(action_->get_VerbNameFromID(badVerb, &text), E_INVALIDARG) << badVerb;
        EXPECT_EQ(action_->get_VerbCaptionFromID(badVerb, nullptr, 0, &text), E_INVALIDARG)
            << badVerb;
        EXPECT_EQ(text, untouched);
        int id = 77;
        EXPECT_EQ(action_->get_VerbID(name.get(), badVerb, &id), E_INVALIDARG) << badVerb;
        EXPECT_EQ(id, 77);
    }
}

TEST_F(Action, NullOutPointersAreRefusedBeforeAnythingElse) {
    ASSERT_TRUE(action_);
    EXPECT_EQ(action_->get_ProgId(nullptr), E_POINTER);
    EXPECT_EQ(action_->get_Name(0, nullptr), E_POINTER);
    EXPECT_EQ(action_->get_Desc(0, nullptr), E_POINTER);
    EXPECT_EQ(action_->get_SmartTagCount(nullptr), E_POINTER);
    EXPECT_EQ(action_->get_VerbCount(nullptr, nullptr), E_POINTER);
    for (int id : {1, 0, 3}) {
        EXPECT_EQ(action_->get_SmartTagName(id, nullptr), E_POINTER) << id;
        EXPECT_EQ(action_->get_SmartTagCaption(id, 0, nullptr), E_POINTER) << id;
        EXPECT_EQ(action_->get_VerbID(nullptr, id, nullptr), E_POINTER) << id;
        EXPECT_EQ(action_->get_VerbCaptionFromID(id, nullptr, 0, nullptr), E_POINTER) << id;
        EXPECT_EQ(action_->get_VerbNameFromID(id, nullptr), E_POINTER) << id;
    }
}

TEST_F(Action, AnswersItsInterfacesWithOneIdentity) {
    ASSERT_TRUE(action_);
    const ComPtr<IUnknown> identity = action_.query<IUnknown>();
    const ComPtr<ISTAction> own = action_.query<ISTAction>();
    const ComPtr<IDispatch> dispatch = action_.query<IDispatch>();
    ASSERT_TRUE(identity && own && dispatch);
    EXPECT_EQ(own.query<IUnknown>().get(), identity.get());
    EXPECT_EQ(static_cast<IDispatch*>(action_.get()), dispatch.get());
    EXPECT_NE(static_cast<IDispatch*>(own.get()), dispatch.get());
    for (const IID& other : {__uuidof(ISmartTagRecognizer), __uuidof(ISTRecognizer)}) {
        void* out = &out;
        EXPECT_EQ(action_->QueryInterface(other, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
}

// The host's objects handed to InvokeVerb: any call on them fails the test.
class UntouchedTarget final : public test::UnplannedCalls<IDispatch> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return Unplanned(), 2; }
    ULONG STDMETHODCALLTYPE Release() override { return Unplanned(), 1; }
};
class UntouchedBag final : public test::UnplannedCalls<ISmartTagProperties> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return Unplanned(), 2; }
    ULONG STDMETHODCALLTYPE Release() override { return Unplanned(), 1; }
    HRESULT STDMETHODCALLTYPE get_Read(BSTR, BSTR*) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE Write(BSTR, BSTR) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE get_Count(int*) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE get_KeyFromIndex(int, BSTR*) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE get_ValueFromIndex(int, BSTR*) override { return Unplanned(); }
};

TEST_F(Action, VerbTwoOpensTheRatePageInTheBrowserWhateverTheTagHolds) {
    ASSERT_TRUE(action_);
    const test::RecordingBrowser browser;
    UntouchedTarget target;
    UntouchedBag bag;
    const UniqueBstr text(SysAllocString(L"Odsetki MF"));
    const UniqueBstr host(SysAllocString(L"Excel.Application.10"));
    EXPECT_EQ(action_->InvokeVerb(2, host.get(), &target, &bag, text.get(), nullptr), S_OK);
    const std::vector<std::string> opened = browser.OpenedAddresses(20000);
    EXPECT_EQ(opened, std::vector<std::string>{kRatePageUrl});
}

TEST_F(Action, VerbsOutsideTheListDoNothing) {
    ASSERT_TRUE(action_);
    const test::RecordingBrowser browser;
    UntouchedTarget target;
    UntouchedBag bag;
    const UniqueBstr text(SysAllocString(L"Odsetki MF"));
    for (int verb : {0, 3, -1, 1000}) {
        EXPECT_EQ(action_->InvokeVerb(verb, nullptr, &target, &bag, text.get(), nullptr), S_OK)
            << verb;
        EXPECT_EQ(action_->InvokeVerb(verb, nullptr, nullptr, nullptr, nullptr, nullptr), S_OK)
            << verb;
    }
    // Long enough for a launcher that had been started to have run.
    EXPECT_TRUE(browser.OpenedAddresses(3000).empty());
}

}  // namespace
}  // namespace vistrel
