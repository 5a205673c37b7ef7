#include "server/exceptions.h"

#include <gtest/gtest.h>

#include <string>

#include "server/dispatch_error_handler.h"
#include "server/dispatch_status.h"
#include "tests/server/fake_error_info.h"

namespace vistrel {
namespace {

using testing::CountedErrorInfo;

TEST(ComErrorTest, CopyAddsAReferenceAndDestructionReleasesIt) {
    CountedErrorInfo info;
    {
        _com_error error(E_FAIL, ComPtr<IErrorInfo>::Copy(&info));
        EXPECT_EQ(info.references, 2u);
        {
            const _com_error copy(error);
            EXPECT_EQ(info.references, 3u);
            EXPECT_EQ(copy.ErrorInfo(), &info);
            EXPECT_EQ(copy.Error(), E_FAIL);
        }
        EXPECT_EQ(info.references, 2u);
        _com_error assigned(E_POINTER);
        assigned = error;
        EXPECT_EQ(info.references, 3u);
        EXPECT_EQ(assigned.Error(), E_FAIL);
    }
    EXPECT_EQ(info.references, 1u);
}

TEST(ComErrorTest, MessageTextIsTheSystemsAndEachCopyOwnsItsOwn) {
    const _com_error error(E_ACCESSDENIED);
    const wchar_t* message = error.ErrorMessage();
    ASSERT_NE(message, nullptr);
    EXPECT_FALSE(std::wstring(message).empty());
    EXPECT_EQ(error.ErrorMessage(), message);
    const _com_error copy(error);
    ASSERT_NE(copy.ErrorMessage(), nullptr);
    EXPECT_NE(copy.ErrorMessage(), message);
    EXPECT_EQ(std::wstring(copy.ErrorMessage()), message);
}

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
