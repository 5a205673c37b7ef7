#include "calculator/dispatch_call.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "calculator/excel_range.h"
#include "tests/support/recording_dispatch.h"

namespace vistrel {
namespace {

using test::RecordingDispatch;
using test::SeenVariant;

VARIANT Integer(LONG value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

VARIANT Missing() {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_ERROR;
    variant.scode = DISP_E_PARAMNOTFOUND;
    return variant;
}

std::vector<LONG> IntegersOf(const std::vector<SeenVariant>& arguments) {
    std::vector<LONG> values;
    for (const SeenVariant& argument : arguments) {
        values.push_back(argument.type == VT_I4 ? argument.integer : -1);
    }
    return values;
}

TEST(CallAutomationTest, NullObjectIsRefused) {
    const VARIANT parameters[] = {Integer(1)};
    EXPECT_EQ(
        CallAutomation(nullptr, kRangeValue2, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parameters)
            .status,
        E_POINTER);
}

TEST(CallAutomationTest, PutWithoutParametersFailsBeforeInvoke) {
    RecordingDispatch object;
    for (WORD flags : {WORD{DISPATCH_PROPERTYPUT}, WORD{DISPATCH_PROPERTYPUTREF}}) {
        const DispatchStatus outcome =
            CallAutomation(&object, kRangeValue2, flags, VT_EMPTY, nullptr, {});
        EXPECT_EQ(outcome.status, E_INVALIDARG);
        EXPECT_FALSE(outcome.errorInfo);
    }
    EXPECT_TRUE(object.invokes.empty());
}

TEST(CallAutomationTest, InvokeSeesTheParametersLastFirst) {
    RecordingDispatch object;
    const VARIANT parameters[] = {Integer(1), Integer(2), Integer(3)};
    EXPECT_EQ(CallAutomation(&object, 7, DISPATCH_METHOD, VT_EMPTY, nullptr, parameters).status,
              S_OK);
    ASSERT_EQ(object.invokes.size(), 1u);
    const test::SeenInvoke& seen = object.invokes[0];
    EXPECT_EQ(seen.dispid, 7);
    EXPECT_EQ(seen.interfaceId, GUID_NULL);
    EXPECT_EQ(seen.locale, 0u);
    EXPECT_EQ(seen.flags, DISPATCH_METHOD);
    EXPECT_EQ(IntegersOf(seen.arguments), (std::vector<LONG>{3, 2, 1}));
    EXPECT_TRUE(seen.namedArguments.empty());
    EXPECT_FALSE(seen.resultAsked);
    EXPECT_TRUE(seen.excepInfoGiven);
}

TEST(CallAutomationTest, PutPassesItsValueAsTheNamedPropertyPutArgument) {
    RecordingDispatch object;
    const VARIANT parameters[] = {Integer(1), Integer(2), Integer(99)};
    EXPECT_EQ(
        CallAutomation(&object, kRangeValue2, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parameters)
            .status,
        S_OK);
    ASSERT_EQ(object.invokes.size(), 1u);
    EXPECT_EQ(IntegersOf(object.invokes[0].arguments), (std::vector<LONG>{99, 2, 1}));
    EXPECT_EQ(object.invokes[0].namedArguments, (std::vector<DISPID>{DISPID_PROPERTYPUT}));
}

struct TrailingCase {
    WORD flags;
    std::vector<bool> missing;   // which parameters, in the member's order, hold the marker
    std::vector<LONG> expected;  // what Invoke sees, last first; -1 for a marker
};

class TrailingMissingParameters : public ::testing::TestWithParam<TrailingCase> {};

TEST_P(TrailingMissingParameters, AreLeftOutOfTheCall) {
    std::vector<VARIANT> parameters;
    for (std::size_t i = 0; i < GetParam().missing.size(); ++i) {
        parameters.push_back(GetParam().missing[i] ? Missing() : Integer(static_cast<LONG>(i + 1)));
    }
    RecordingDispatch object;
    CallAutomation(&object, 5, GetParam().flags, VT_EMPTY, nullptr, parameters);
    ASSERT_EQ(object.invokes.size(), 1u);
    EXPECT_EQ(IntegersOf(object.invokes[0].arguments), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, TrailingMissingParameters,
    ::testing::Values(
        TrailingCase{DISPATCH_METHOD, {false, true, true}, {1}},
        TrailingCase{DISPATCH_METHOD, {false, true, false}, {3, -1, 1}},
        TrailingCase{DISPATCH_METHOD, {true, true}, {}},
        // The value of a put is never left out, only the positional parameters before it.
        TrailingCase{DISPATCH_PROPERTYPUT, {false, true, false}, {3, 1}},
        TrailingCase{DISPATCH_PROPERTYPUT, {true}, {-1}}));

TEST(CallAutomationTest, ResultIsConvertedToTheTypeAsked) {
    RecordingDispatch object;
    object.answer = [](VARIANT* result, EXCEPINFO*) {
        result->vt = VT_I4;
        result->lVal = 42;
        return S_OK;
    };
    UniqueVariant result;
    const VARIANT parameters[] = {Integer(0), Integer(1)};
    EXPECT_EQ(CallAutomation(&object, kRangeOffset, DISPATCH_PROPERTYGET, VT_BSTR, result.put(),
                             parameters)
                  .status,
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal), L"42");
    ASSERT_EQ(object.invokes.size(), 1u);
    EXPECT_TRUE(object.invokes[0].resultAsked);
}

TEST(CallAutomationTest, VariantResultComesAsItIs) {
    RecordingDispatch object;
    object.answer = [](VARIANT* result, EXCEPINFO*) {
        result->vt = VT_I4;
        result->lVal = 42;
        return S_FALSE;
    };
    UniqueVariant result;
    EXPECT_EQ(
        CallAutomation(&object, kRangeOffset, DISPATCH_PROPERTYGET, VT_VARIANT, result.put(), {})
            .status,
        S_FALSE);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 42);
}

TEST(CallAutomationTest, FailedConversionClearsTheResultAndGivesItsStatus) {
    RecordingDispatch object;
    object.answer = [](VARIANT* result, EXCEPINFO*) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(L"nie liczba");
        return S_OK;
    };
    UniqueVariant result;
    const DispatchStatus outcome =
        CallAutomation(&object, kRangeOffset, DISPATCH_PROPERTYGET, VT_I4, result.put(), {});
    EXPECT_EQ(outcome.status, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST(CallAutomationTest, ResultAskedWithoutPlaceForItIsRefusedBeforeInvoke) {
    RecordingDispatch object;
    EXPECT_EQ(CallAutomation(&object, kRangeOffset, DISPATCH_PROPERTYGET, VT_DISPATCH, nullptr, {})
                  .status,
              E_POINTER);
    EXPECT_TRUE(object.invokes.empty());
}

TEST(CallAutomationTest, ExceptionBecomesStatusAndErrorInformation) {
    RecordingDispatch object;
    object.answer = [](VARIANT* result, EXCEPINFO* exception) {
        result->vt = VT_I4;  // a half-made result, which the call must not hand out
        exception->wCode = 1000;
        exception->bstrDescription = SysAllocString(L"Nie mo\u017Cna");
        return DISP_E_EXCEPTION;
    };
    UniqueVariant result;
    const DispatchStatus outcome =
        CallAutomation(&object, kRangeOffset, DISPATCH_PROPERTYGET, VT_DISPATCH, result.put(), {});
    EXPECT_EQ(outcome.status, static_cast<HRESULT>(0x800405E8));
    ASSERT_TRUE(outcome.errorInfo);
    BSTR description = nullptr;
    EXPECT_EQ(outcome.errorInfo->GetDescription(&description), S_OK);
    const UniqueBstr owned(description);
    EXPECT_EQ(std::wstring(owned.get()), L"Nie mo\u017Cna");
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST(CallAutomationTest, OtherFailureComesWithoutErrorInformation) {
    RecordingDispatch object;
    object.answer = [](VARIANT*, EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; };
    const VARIANT parameters[] = {Integer(5)};
    const DispatchStatus outcome =
        CallAutomation(&object, kRangeValue2, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parameters);
    EXPECT_EQ(outcome.status, DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(outcome.errorInfo);
}

}  // namespace
}  // namespace vistrel
