#include "calculator/dispatch_status.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "tests/support/fake_error_info.h"

namespace vistrel {
namespace {

using test::CountedErrorInfo;

TEST(ThrowIfFailedOutcomeTest, RaisesComErrorThatTakesOverTheReference) {
    CountedErrorInfo info;
    info.AddRef();  // the reference that the failed call handed out
    try {
        THROW_IF_FAILED((DispatchStatus{DISP_E_EXCEPTION, ComPtr<IErrorInfo>::Attach(&info)}));
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), DISP_E_EXCEPTION);
        EXPECT_EQ(error.ErrorInfo(), &info);
        EXPECT_EQ(info.references, 2u);
    }
    EXPECT_EQ(info.references, 1u);
}

TEST(ThrowIfFailedOutcomeTest, RaisesOnlyFailedOutcomes) {
    EXPECT_NO_THROW(THROW_IF_FAILED((DispatchStatus{S_OK, nullptr})));
    EXPECT_NO_THROW(THROW_IF_FAILED((DispatchStatus{S_FALSE, nullptr})));
    CountedErrorInfo info;
    try {
        THROW_IF_FAILED(
            (DispatchStatus{static_cast<HRESULT>(0x800405E8), ComPtr<IErrorInfo>::Copy(&info)}));
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), static_cast<HRESULT>(0x800405E8));
        EXPECT_EQ(error.ErrorInfo(), &info);
    }
    EXPECT_EQ(info.references, 1u);
}

}  // namespace
}  // namespace vistrel
