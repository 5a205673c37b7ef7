#include "calculator/excep_info.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/task_allocation_spy.h"

namespace vistrel {
namespace {

std::optional<std::wstring> Text(BSTR text) {
    const UniqueBstr owned(text);
    if (!owned) return std::nullopt;
    return std::wstring(owned.get(), SysStringLen(owned.get()));
}

struct CodeCase {
    WORD code;
    SCODE scode;
    HRESULT expected;
};

class ExcepInfoStatus : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ExcepInfoStatus, FollowsTheCodeOrElseTheScode) {
    EXCEPINFO info{};
    info.wCode = GetParam().code;
    info.scode = GetParam().scode;
    EXPECT_EQ(ExcepInfoToErrorInfo(info).status, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ExcepInfoStatus,
    ::testing::Values(CodeCase{0, E_FAIL, E_FAIL}, CodeCase{0, DISP_E_OVERFLOW, DISP_E_OVERFLOW},
                      CodeCase{1000, 0, static_cast<HRESULT>(0x800405E8)},
                      CodeCase{1000, E_FAIL, static_cast<HRESULT>(0x800405E8)},
                      CodeCase{1, 0, static_cast<HRESULT>(0x80040201)},
                      CodeCase{0xFDFF, 0, static_cast<HRESULT>(0x8004FFFF)},
                      CodeCase{0xFE00, 0, static_cast<HRESULT>(0x8004FFFF)},
                      CodeCase{0xFFFF, 0, static_cast<HRESULT>(0x8004FFFF)},
                      // The call failed: an EXCEPINFO without a failure code still reads as one.
                      CodeCase{0, S_OK, DISP_E_EXCEPTION}, CodeCase{0, S_FALSE, DISP_E_EXCEPTION}));

TEST(ExcepInfoToErrorInfoTest, ErrorInformationCarriesWhatTheObjectReported) {
    EXCEPINFO info{};
    info.wCode = 1000;
    info.bstrSource = SysAllocString(L"Microsoft Excel");
    info.bstrDescription =
        SysAllocString(L"Nie mo\u017Cna ustawi\u0107 w\u0142a\u015Bciwo\u015Bci");
    info.bstrHelpFile = SysAllocString(L"C:\\pomoc.chm");
    info.dwHelpContext = 0x1234;

    const DispatchStatus outcome = ExcepInfoToErrorInfo(info);
    ASSERT_TRUE(outcome.errorInfo);
    GUID guid{};
    EXPECT_EQ(outcome.errorInfo->GetGUID(&guid), S_OK);
    EXPECT_EQ(guid, __uuidof(IDispatch));
    BSTR text = nullptr;
    EXPECT_EQ(outcome.errorInfo->GetSource(&text), S_OK);
    EXPECT_EQ(Text(text), L"Microsoft Excel");
    EXPECT_EQ(outcome.errorInfo->GetDescription(&text), S_OK);
    EXPECT_EQ(Text(text), L"Nie mo\u017Cna ustawi\u0107 w\u0142a\u015Bciwo\u015Bci");
    EXPECT_EQ(outcome.errorInfo->GetHelpFile(&text), S_OK);
    EXPECT_EQ(Text(text), L"C:\\pomoc.chm");
    DWORD context = 0;
    EXPECT_EQ(outcome.errorInfo->GetHelpContext(&context), S_OK);
    EXPECT_EQ(context, 0x1234u);
}

TEST(ExcepInfoToErrorInfoTest, WithoutStringsOnlyGuidAndHelpContext) {
    EXCEPINFO info{};
    info.scode = E_FAIL;
    info.dwHelpContext = 7;

    const DispatchStatus outcome = ExcepInfoToErrorInfo(info);
    ASSERT_TRUE(outcome.errorInfo);
    GUID guid{};
    EXPECT_EQ(outcome.errorInfo->GetGUID(&guid), S_OK);
    EXPECT_EQ(guid, __uuidof(IDispatch));
    BSTR text = nullptr;
    EXPECT_EQ(outcome.errorInfo->GetSource(&text), S_OK);
    EXPECT_EQ(Text(text), std::nullopt);
    EXPECT_EQ(outcome.errorInfo->GetDescription(&text), S_OK);
    EXPECT_EQ(Text(text), std::nullopt);
    EXPECT_EQ(outcome.errorInfo->GetHelpFile(&text), S_OK);
    EXPECT_EQ(Text(text), std::nullopt);
    DWORD context = 0;
    EXPECT_EQ(outcome.errorInfo->GetHelpContext(&context), S_OK);
    EXPECT_EQ(context, 7u);
}

EXCEPINFO* filledIn = nullptr;

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* info) {
    filledIn = info;
    info->bstrDescription = SysAllocString(L"uzupe\u0142nione");
    info->scode = DISP_E_TYPEMISMATCH;
    return S_OK;
}

TEST(ExcepInfoToErrorInfoTest, DeferredFillInRunsFirst) {
    EXCEPINFO info{};
    info.pfnDeferredFillIn = &FillInLater;
    filledIn = nullptr;

    const DispatchStatus outcome = ExcepInfoToErrorInfo(info);
    EXPECT_EQ(filledIn, &info);
    EXPECT_EQ(outcome.status, DISP_E_TYPEMISMATCH);
    ASSERT_TRUE(outcome.errorInfo);
    BSTR text = nullptr;
    EXPECT_EQ(outcome.errorInfo->GetDescription(&text), S_OK);
    EXPECT_EQ(Text(text), L"uzupe\u0142nione");
}

TEST(ExcepInfoToErrorInfoTest, StringsOfTheExcepInfoAreFreed) {
    test::TaskAllocationSpy spy;
    ASSERT_TRUE(spy.Registered());
    {
        EXCEPINFO info{};
        info.scode = E_FAIL;
        info.bstrSource = SysAllocString(L"source");
        info.bstrDescription = SysAllocString(L"description");
        info.bstrHelpFile = SysAllocString(L"help");
        ExcepInfoToErrorInfo(info);
        EXPECT_EQ(info.bstrSource, nullptr);
        EXPECT_EQ(info.bstrDescription, nullptr);
        EXPECT_EQ(info.bstrHelpFile, nullptr);
    }
    EXPECT_EQ(spy.LiveBlocks(), 0);
}

}  // namespace
}  // namespace vistrel
