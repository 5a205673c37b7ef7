#include "calculator/dispatch_error_handler.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "tests/support/fake_error_info.h"

namespace vistrel {
namespace {

using test::CountedErrorInfo;

TEST(DispatchErrorHandlerTest, RaisesComErrorThatTakesOverTheReference) {
    CountedErrorInfo info;
    info.AddRef();  // the reference that the failed call handed out
    try {
        DispatchErrorHandler(DISP_E_EXCEPTION, ComPtr<IErrorInfo>::Attach(&info));
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), DISP_E_EXCEPTION);
        EXPECT_EQ(error.ErrorInfo(), &info);
        EXPECT_EQ(info.references, 2u);
    }
    EXPECT_EQ(info.references, 1u);
}

TEST(DispatchErrorHandlerTest, RaisedStatusHasNoErrorInformation) {
    try {
        RaiseStatus(E_OUTOFMEMORY);
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_OUTOFMEMORY);
        EXPECT_EQ(error.ErrorInfo(), nullptr);
    }
}

TEST(RaiseIfFailedTest, RaisesOnlyFailedOutcomes) {
    EXPECT_NO_THROW(RaiseIfFailed({S_OK, nullptr}));
    EXPECT_NO_THROW(RaiseIfFailed({S_FALSE, nullptr}));
    CountedErrorInfo info;
    try {
        RaiseIfFailed({static_cast<HRESULT>(0x800405E8), ComPtr<IErrorInfo>::Copy(&info)});
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), static_cast<HRESULT>(0x800405E8));
        EXPECT_EQ(error.ErrorInfo(), &info);
    }
    EXPECT_EQ(info.references, 1u);
}

}  // namespace
}  // namespace vistrel
