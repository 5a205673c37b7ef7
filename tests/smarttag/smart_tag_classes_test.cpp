// The two classes when the catalogue is missing or lacks its tag types: they offer nothing, refuse
// every id, answer E_FAIL for the catalogue's texts and call nothing on the host.
#include "smarttag/st_action.h"
#include "smarttag/st_recognizer.h"

#include <gtest/gtest.h>

#include "platform/server_module.h"
#include "smarttag/smart_tag_catalogue.h"
#include "tests/support/bstr_text.h"
#include "tests/support/recording_smart_tag_site.h"
#include "tests/support/string_table_module.h"

namespace vistrel {
namespace {

using test::RecordingSite;
using test::StringTableModule;

// Every call on the verb's target fails the test.
class UntouchedTarget final : public test::UnplannedCalls<IDispatch> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return Unplanned(), 2; }
    ULONG STDMETHODCALLTYPE Release() override { return Unplanned(), 1; }
};

template <typename Interface>
ComPtr<Interface> Create(HRESULT (*createInstance)(IUnknown*, REFIID, void**) noexcept) {
    ComPtr<Interface> object;
    EXPECT_EQ(createInstance(nullptr, __uuidof(Interface), object.put_void()), S_OK);
    return object;
}

// The string table is there, the catalogue is not: as after a build that failed.
class WithoutCatalogue : public ::testing::Test {
protected:
    void SetUp() override { DestroyCatalogue(); }
    StringTableModule module_{L"shipped_strings.dll"};
};

TEST_F(WithoutCatalogue, RecognizerOffersNothingAndTagsNothing) {
    const auto recognizer = Create<ISmartTagRecognizer>(&STRecognizer::CreateInstance);
    ASSERT_TRUE(recognizer);
    int count = -1;
    EXPECT_EQ(recognizer->get_SmartTagCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    BSTR untouched = reinterpret_cast<BSTR>(&count);
    BSTR text = untouched;
    EXPECT_EQ(recognizer->get_SmartTagName(1, &text), E_INVALIDARG);
    EXPECT_EQ(recognizer->get_SmartTagDownloadURL(1, &text), E_INVALIDARG);
    EXPECT_EQ(text, untouched);
    EXPECT_EQ(recognizer->get_ProgId(&text), E_FAIL);
    EXPECT_EQ(text, nullptr);
    // Name and description come from the string table itself.
    ASSERT_EQ(recognizer->get_Name(0, &text), S_OK);
    EXPECT_EQ(test::TextOf(UniqueBstr(text).get()), L"Odsetki za zw\u0142ok\u0119 (Excel)");

    RecordingSite site;
    const UniqueBstr term(SysAllocString(L"Odsetki MF"));
    EXPECT_EQ(recognizer->Recognize(term.get(), IF_TYPE_CELL, 0, &site), S_OK);
    EXPECT_TRUE(site.log.empty());
}

TEST_F(WithoutCatalogue, ActionOffersNothingAndDoesNothing) {
    const auto action = Create<ISmartTagAction>(&STAction::CreateInstance);
    ASSERT_TRUE(action);
    int count = -1;
    EXPECT_EQ(action->get_SmartTagCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(action->get_VerbCount(nullptr, &count), S_OK);
    EXPECT_EQ(count, 0);
    int id = 77;
    EXPECT_EQ(action->get_VerbID(nullptr, 1, &id), E_INVALIDARG);
    EXPECT_EQ(id, 77);
    BSTR untouched = reinterpret_cast<BSTR>(&count);
    BSTR text = untouched;
    EXPECT_EQ(action->get_SmartTagName(1, &text), E_INVALIDARG);
    EXPECT_EQ(action->get_SmartTagCaption(1, 0, &text), E_INVALIDARG);
    EXPECT_EQ(action->get_VerbNameFromID(1, &text), E_INVALIDARG);
    EXPECT_EQ(action->get_VerbCaptionFromID(2, nullptr, 0, &text), E_INVALIDARG);
    EXPECT_EQ(text, untouched);
    for (auto method : {&ISmartTagAction::get_Name, &ISmartTagAction::get_Desc}) {
        text = untouched;
        EXPECT_EQ((action.get()->*method)(0, &text), E_FAIL);
        EXPECT_EQ(text, nullptr);
    }
    text = untouched;
    EXPECT_EQ(action->get_ProgId(&text), E_FAIL);
    EXPECT_EQ(text, nullptr);

    UntouchedTarget target;
    for (int verb : {1, 2}) {
        EXPECT_EQ(action->InvokeVerb(verb, nullptr, &target, nullptr, nullptr, nullptr), S_OK);
    }
}

TEST_F(WithoutCatalogue, EveryLiveInstanceHoldsOneModuleLock) {
    const LONG before = TheServerModule().LockCount();
    {
        const auto recognizer = Create<ISmartTagRecognizer>(&STRecognizer::CreateInstance);
        EXPECT_EQ(TheServerModule().LockCount(), before + 1);
        const auto action = Create<ISmartTagAction>(&STAction::CreateInstance);
        EXPECT_EQ(TheServerModule().LockCount(), before + 2);
        void* out = &out;
        EXPECT_EQ(STAction::CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(TheServerModule().LockCount(), before + 2);
    }
    EXPECT_EQ(TheServerModule().LockCount(), before);
}

TEST(TermsWithoutTagTypes, TagNothing) {
    const StringTableModule module(L"terms_without_types.dll");
    ASSERT_TRUE(BuildCatalogue());
    ASSERT_NE(Catalogue(), nullptr);
    ASSERT_EQ(Catalogue()->TermCount(), 1u);
    ASSERT_EQ(Catalogue()->TagTypeCount(), 0u);
    const auto recognizer = Create<ISmartTagRecognizer>(&STRecognizer::CreateInstance);
    ASSERT_TRUE(recognizer);
    RecordingSite site;
    const UniqueBstr term(SysAllocString(L"Odsetki MF"));
    EXPECT_EQ(recognizer->Recognize(term.get(), IF_TYPE_CELL, 0, &site), S_OK);
    EXPECT_TRUE(site.log.empty());
    DestroyCatalogue();
}

}  // namespace
}  // namespace vistrel
