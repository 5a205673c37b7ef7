#include "platform/locks.h"

#include <gtest/gtest.h>

#include "platform/structured_exception_guard.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

void RaiseCode(void* code) { RaiseException(*static_cast<DWORD*>(code), 0, 0, nullptr); }

void RaiseNoncontinuable(void* code) {
    RaiseException(*static_cast<DWORD*>(code), EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

void WriteThroughNull(void*) { *static_cast<volatile int*>(nullptr) = 1; }

void CountCall(void* calls) { ++*static_cast<int*>(calls); }

struct RaiseCase {
    void (*call)(void*);
    DWORD code;
    HRESULT expected;
};

class GuardedCallRaising : public ::testing::TestWithParam<RaiseCase> {};

TEST_P(GuardedCallRaising, ReportsTheStatusOfTheException) {
    DWORD code = GetParam().code;
    EXPECT_EQ(CallGuarded(GetParam().call, &code), GetParam().expected);
    // The guard is gone and the thread goes on as before: a second guard works the same way.
    EXPECT_EQ(CallGuarded(GetParam().call, &code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Exceptions, GuardedCallRaising,
    ::testing::Values(
        RaiseCase{&RaiseNoncontinuable, static_cast<DWORD>(STATUS_NO_MEMORY), E_OUTOFMEMORY},
        RaiseCase{&RaiseCode, static_cast<DWORD>(STATUS_NO_MEMORY), E_OUTOFMEMORY},
        RaiseCase{&RaiseNoncontinuable, static_cast<DWORD>(STATUS_INVALID_HANDLE), E_FAIL},
        RaiseCase{&RaiseCode, 0xE0000001u, E_FAIL}, RaiseCase{&WriteThroughNull, 0, E_FAIL}));

TEST(CallUnderStructuredExceptionGuardTest, CallWithoutExceptionRunsOnce) {
    int calls = 0;
    const GuardedCallResult result = CallUnderStructuredExceptionGuard(&CountCall, &calls);
    EXPECT_TRUE(result.guarded);
    EXPECT_FALSE(result.exceptionCode.has_value());
    EXPECT_EQ(calls, 1);
}

TEST(CallUnderStructuredExceptionGuardTest, ReportsTheExactCode) {
    DWORD code = 0xE0001234u;
    const GuardedCallResult result = CallUnderStructuredExceptionGuard(&RaiseNoncontinuable, &code);
    EXPECT_TRUE(result.guarded);
    EXPECT_EQ(result.exceptionCode, 0xE0001234u);
}

// C++ exceptions travel as structured exceptions of success severity on x86_64; the guard lets
// them pass to the handler inside the call.
void ThrowAndCatch(void* caught) {
    try {
        throw 7;
    } catch (int value) {
        *static_cast<int*>(caught) = value;
    }
}

TEST(CallUnderStructuredExceptionGuardTest, CxxExceptionsInsideTheCallPass) {
    int caught = 0;
    const GuardedCallResult result = CallUnderStructuredExceptionGuard(&ThrowAndCatch, &caught);
    EXPECT_FALSE(result.exceptionCode.has_value());
    EXPECT_EQ(caught, 7);
}

DWORD WINAPI TryToEnter(void* section) {
    auto* lock = static_cast<CRITICAL_SECTION*>(section);
    if (!TryEnterCriticalSection(lock)) return 0;
    LeaveCriticalSection(lock);
    return 1;
}

// Whether another thread could take the lock right now.
bool FreeForAnotherThread(CRITICAL_SECTION* section) {
    const UniqueHandle thread(CreateThread(nullptr, 0, &TryToEnter, section, 0, nullptr));
    EXPECT_TRUE(thread);
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD entered = 0;
    GetExitCodeThread(thread.get(), &entered);
    return entered == 1;
}

TEST(CriticalSectionTest, HolderKeepsOtherThreadsOutUntilItGoes) {
    CriticalSection lock;
    EXPECT_FALSE(lock.Initialized());
    EXPECT_EQ(lock.Enter(), E_UNEXPECTED);
    ASSERT_EQ(lock.Initialize(), S_OK);
    EXPECT_TRUE(lock.Initialized());
    {
        const LockHolder holder(lock);
        EXPECT_EQ(holder.Status(), S_OK);
        EXPECT_FALSE(FreeForAnotherThread(lock.get()));
    }
    EXPECT_TRUE(FreeForAnotherThread(lock.get()));
}

TEST(CriticalSectionTest, EnterAndLeavePairUp) {
    CriticalSection lock;
    ASSERT_EQ(lock.Initialize(), S_OK);
    EXPECT_EQ(lock.Enter(), S_OK);
    EXPECT_EQ(lock.Enter(), S_OK);  // a critical section may be entered again by its owner
    lock.Leave();
    EXPECT_FALSE(FreeForAnotherThread(lock.get()));
    lock.Leave();
    EXPECT_TRUE(FreeForAnotherThread(lock.get()));
}

}  // namespace
}  // namespace vistrel
