// The thread's last Win32 error as an HRESULT.
#pragma once

#include <windows.h>

namespace vistrel {

// HresultFromWin32 of GetLastError(): S_OK when the system set no error.
HRESULT HresultFromLastError() noexcept;

// The same, but E_FAIL when the system set no error: after a call that failed, a failure must
// never read as success.
HRESULT FailureFromLastError() noexcept;

}  // namespace vistrel
