// The two classes when the system allocator has no memory for a string copy: the exact answer of
// each method, nothing left allocated, and the next call answering in full again.
#include "smarttag/st_action.h"
#include "smarttag/st_recognizer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "smarttag/smart_tag_catalogue.h"
#include "tests/support/bstr_text.h"
#include "tests/support/recording_smart_tag_site.h"
#include "tests/support/string_table_module.h"
#include "tests/support/task_allocation_spy.h"

namespace vistrel {
namespace {

using test::RecordingSite;

template <typename Interface>
ComPtr<Interface> Create(HRESULT (*createInstance)(IUnknown*, REFIID, void**) noexcept) {
    ComPtr<Interface> object;
    EXPECT_EQ(createInstance(nullptr, __uuidof(Interface), object.put_void()), S_OK);
    return object;
}

class StringCopyFailure : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module_);
        ASSERT_TRUE(BuildCatalogue());
        ASSERT_TRUE(spy_.Registered());
    }
    void TearDown() override { DestroyCatalogue(); }

    test::StringTableModule module_{L"shipped_strings.dll"};
    test::TaskAllocationSpy spy_;
};

// One method that gives a string, and its answer when the copy cannot be had.
struct StringMethod {
    const char* what;
    std::function<HRESULT(BSTR*)> call;
    HRESULT withoutMemory;
};

void CheckEveryMethod(const std::vector<StringMethod>& methods, test::TaskAllocationSpy& spy) {
    for (const StringMethod& method : methods) {
        const long refusedBefore = spy.RefusedAllocations();
        const long liveBefore = spy.LiveBlocks();  // the catalogue's own strings
        spy.RefuseAllocations(0);
        BSTR text = reinterpret_cast<BSTR>(&text);
        EXPECT_EQ(method.call(&text), method.withoutMemory) << method.what;
        EXPECT_EQ(text, nullptr) << method.what;
        EXPECT_EQ(spy.RefusedAllocations(), refusedBefore + 1) << method.what;
        EXPECT_EQ(spy.LiveBlocks(), liveBefore) << method.what;

        // The next call gets its string.
        ASSERT_EQ(method.call(&text), S_OK) << method.what;
        const UniqueBstr given(text);
        EXPECT_NE(given.get(), nullptr) << method.what;
        EXPECT_GT(SysStringLen(given.get()), 0u) << method.what;
    }
}

TEST_F(StringCopyFailure, RecognizerNamesOutOfMemoryOnlyForItsOwnTexts) {
    const auto recognizer = Create<ISmartTagRecognizer>(&STRecognizer::CreateInstance);
    ASSERT_TRUE(recognizer);
    ISmartTagRecognizer* object = recognizer.get();
    CheckEveryMethod(
        {
            {"ProgId", [&](BSTR* out) { return object->get_ProgId(out); }, S_OK},
            {"Name", [&](BSTR* out) { return object->get_Name(0x415, out); }, E_OUTOFMEMORY},
            {"Desc", [&](BSTR* out) { return object->get_Desc(0x415, out); }, E_OUTOFMEMORY},
            {"SmartTagName", [&](BSTR* out) { return object->get_SmartTagName(1, out); }, S_OK},
            {"SmartTagDownloadURL",
             [&](BSTR* out) { return object->get_SmartTagDownloadURL(1, out); }, S_OK},
        },
        spy_);
}

TEST_F(StringCopyFailure, ActionAnswersOutOfMemoryForEveryString) {
    const auto action = Create<ISmartTagAction>(&STAction::CreateInstance);
    ASSERT_TRUE(action);
    ISmartTagAction* object = action.get();
    CheckEveryMethod(
        {
            {"ProgId", [&](BSTR* out) { return object->get_ProgId(out); }, E_OUTOFMEMORY},
            {"Name", [&](BSTR* out) { return object->get_Name(0x415, out); }, E_OUTOFMEMORY},
            {"Desc", [&](BSTR* out) { return object->get_Desc(0x415, out); }, E_OUTOFMEMORY},
            {"SmartTagName", [&](BSTR* out) { return object->get_SmartTagName(1, out); },
             E_OUTOFMEMORY},
            {"SmartTagCaption",
             [&](BSTR* out) { return object->get_SmartTagCaption(1, 0x415, out); }, E_OUTOFMEMORY},
            {"VerbNameFromID", [&](BSTR* out) { return object->get_VerbNameFromID(1, out); },
             E_OUTOFMEMORY},
            {"VerbCaptionFromID",
             [&](BSTR* out) { return object->get_VerbCaptionFromID(2, nullptr, 0x415, out); },
             E_OUTOFMEMORY},
        },
        spy_);
}

// Recognition makes three copies per occurrence, in this order: the tag type's name, the
// property's key and the term's address.
struct RecognitionCopyCase {
    const char* what;
    int refused;  // 0-based among the three
    bool tagged;
    bool written;
};

TEST_F(StringCopyFailure, RecognitionSkipsWhatItCannotCopy) {
    const auto recognizer = Create<ISmartTagRecognizer>(&STRecognizer::CreateInstance);
    ASSERT_TRUE(recognizer);
    const UniqueBstr cell(SysAllocString(L"Odsetki MF"));
    ASSERT_TRUE(cell);
    const long liveBefore = spy_.LiveBlocks();  // the catalogue's strings and the cell's text
    const RecognitionCopyCase cases[] = {
        {"the tag type's name", 0, false, false},
        {"the property's key", 1, true, false},
        {"the address", 2, true, false},
        {"none", 3, true, true},
    };
    for (const RecognitionCopyCase& example : cases) {
        RecordingSite site;
        const long refusedBefore = spy_.RefusedAllocations();
        spy_.RefuseAllocations(example.refused);
        EXPECT_EQ(recognizer->Recognize(cell.get(), IF_TYPE_CELL, 0x415, &site), S_OK)
            << example.what;
        spy_.RefuseAllocations(0, 0);
        EXPECT_EQ(spy_.RefusedAllocations(), refusedBefore + (example.refused < 3 ? 1 : 0))
            << example.what;
        bool committed = false;
        bool written = false;
        for (const std::wstring& call : site.log) {
            if (call.rfind(L"CommitSmartTag ", 0) == 0) committed = true;
            if (call.rfind(L"Write ", 0) == 0) written = true;
        }
        EXPECT_EQ(committed, example.tagged) << example.what;
        EXPECT_EQ(written, example.written) << example.what;
        for (const auto& bag : site.bags) EXPECT_EQ(bag->references, 0) << example.what;
        EXPECT_EQ(spy_.LiveBlocks(), liveBefore) << example.what;
    }
}

}  // namespace
}  // namespace vistrel
