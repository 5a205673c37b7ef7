// Runs a system call under a guard against structured exceptions, which g++ cannot catch with
// __try/__except.
#pragma once

#include <windows.h>

#include <optional>

namespace vistrel {

struct GuardedCallResult {
    bool guarded = false;                // the guard could be set up and the call was made
    std::optional<DWORD> exceptionCode;  // the exception that ended the call, if one did
};

// Calls `call(context)` on this thread. A structured exception of warning or error severity
// raised during the call ends it there: the stack is abandoned back to this function (no inner
// clean-up runs) and its code is reported; that includes breakpoints and single steps, which
// are of warning severity. Exceptions of success or informational severity, among them C++
// exceptions and debug output, pass as usual. Meant for system calls that report failure by
// raising, such as initialising a critical section.
GuardedCallResult CallUnderStructuredExceptionGuard(void (*call)(void*), void* context) noexcept;

// The same call's outcome as a status: S_OK without exception, E_OUTOFMEMORY for STATUS_NO_MEMORY
// or a guard that could not be set up, E_FAIL for any other exception.
HRESULT CallGuarded(void (*call)(void*), void* context) noexcept;

}  // namespace vistrel
