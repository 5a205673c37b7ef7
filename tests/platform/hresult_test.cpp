#include "platform/hresult.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "platform/exceptions.h"
#include "platform/hresult_boundary.h"
#include "platform/last_error.h"

namespace vistrel {
namespace {

struct Win32Case {
    DWORD code;
    HRESULT expected;
};

class HresultFromWin32Cases : public ::testing::TestWithParam<Win32Case> {};

TEST_P(HresultFromWin32Cases, PositiveCodesBecome8007WithTheirLow16Bits) {
    EXPECT_EQ(HresultFromWin32(GetParam().code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, HresultFromWin32Cases,
    ::testing::Values(Win32Case{5, static_cast<HRESULT>(0x80070005)}, Win32Case{0, S_OK},
                      Win32Case{0x80070057, E_INVALIDARG},
                      Win32Case{ERROR_FILE_NOT_FOUND, static_cast<HRESULT>(0x80070002)},
                      Win32Case{0x12345, static_cast<HRESULT>(0x80072345)},
                      Win32Case{0x7FFFFFFF, static_cast<HRESULT>(0x8007FFFF)},
                      Win32Case{0xFFFFFFFF, static_cast<HRESULT>(0xFFFFFFFF)}));

TEST(HresultFromLastErrorTest, TakesTheThreadsLastError) {
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(HresultFromLastError(), E_ACCESSDENIED);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(HresultFromLastError(), S_OK);
}

TEST(FailureFromLastErrorTest, NoErrorSetIsStillAFailure) {
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(FailureFromLastError(), E_ACCESSDENIED);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FailureFromLastError(), E_FAIL);
}

struct FallbackCase {
    HRESULT status;
    HRESULT fallback;
    HRESULT expected;
};

TEST(FailureOrTest, AFailurePassesAnyOtherStatusBecomesTheFallback) {
    const FallbackCase cases[] = {
        {E_POINTER, E_FAIL, E_POINTER},
        {static_cast<HRESULT>(0x80070002), DISP_E_EXCEPTION, static_cast<HRESULT>(0x80070002)},
        {S_OK, E_FAIL, E_FAIL},
        {S_FALSE, CLASS_E_CLASSNOTAVAILABLE, CLASS_E_CLASSNOTAVAILABLE},
        {0x7FFFFFFF, DISP_E_EXCEPTION, DISP_E_EXCEPTION},
    };
    for (const FallbackCase& c : cases) {
        EXPECT_EQ(FailureOr(c.status, c.fallback), c.expected) << std::hex << c.status;
    }
}

TEST(Win32FailedTest, EveryCodeButSuccessIsAFailure) {
    EXPECT_FALSE(Win32Failed(ERROR_SUCCESS));
    EXPECT_TRUE(Win32Failed(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Win32Failed(ERROR_NO_MORE_ITEMS));
    EXPECT_TRUE(Win32Failed(static_cast<LONG>(-1)));
    EXPECT_TRUE(Win32Failed(DWORD{0xFFFFFFFF}));
}

TEST(ThrowIfFailedTest, RaisesFailuresOnlyWithoutErrorInformation) {
    EXPECT_NO_THROW(THROW_IF_FAILED(S_OK));
    EXPECT_NO_THROW(THROW_IF_FAILED(S_FALSE));
    try {
        THROW_IF_FAILED(E_POINTER);
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
        EXPECT_EQ(error.ErrorInfo(), nullptr);
    }
}

// Answers `status` through RETURN_IF_FAILED, or S_FALSE when it passed.
HRESULT ReturnedBy(HRESULT status) {
    RETURN_IF_FAILED(status);
    return S_FALSE;
}

TEST(ReturnIfFailedTest, ReturnsFailuresOnly) {
    EXPECT_EQ(ReturnedBy(S_OK), S_FALSE);
    EXPECT_EQ(ReturnedBy(S_FALSE), S_FALSE);
    EXPECT_EQ(ReturnedBy(E_POINTER), E_POINTER);
    EXPECT_EQ(ReturnedBy(static_cast<HRESULT>(0x8007FFFF)), static_cast<HRESULT>(0x8007FFFF));
}

// What an exported function returns for each exception that could reach it.
template <typename Raise>
HRESULT BoundaryResultOf(Raise raise) noexcept {
    try {
        raise();
        return S_OK;
    } catch (...) {
        return HresultFromCaughtException();
    }
}

TEST(HresultFromCaughtExceptionTest, EveryExceptionBecomesAFailure) {
    EXPECT_EQ(BoundaryResultOf([] { THROW_IF_FAILED(CLASS_E_NOAGGREGATION); }),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(BoundaryResultOf([] { throw _com_error(DISP_E_EXCEPTION); }), DISP_E_EXCEPTION);
    EXPECT_EQ(BoundaryResultOf([] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(BoundaryResultOf([] { throw ExGeneral(); }), E_FAIL);
    EXPECT_EQ(BoundaryResultOf([] { throw std::runtime_error("x"); }), E_FAIL);
    EXPECT_EQ(BoundaryResultOf([] { throw 42; }), E_FAIL);
}

TEST(HresultFromCaughtExceptionTest, ExceptionWithSuccessStatusStillFails) {
    EXPECT_EQ(BoundaryResultOf([] { throw _com_error(S_OK); }), E_FAIL);
    EXPECT_EQ(BoundaryResultOf([] { throw _com_error(S_FALSE); }), E_FAIL);
}

}  // namespace
}  // namespace vistrel
