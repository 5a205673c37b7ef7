// Conversions of other kinds of failure into HRESULTs, and the checks that raise them.
#pragma once

#include <windows.h>

namespace vistrel {

// A positive Win32 error code becomes 0x8007xxxx with its low 16 bits; 0 and negative values
// (already HRESULTs) pass unchanged.
HRESULT HresultFromWin32(DWORD code) noexcept;
HRESULT HresultFromLastError() noexcept;

// Raises a failed status as CAtlException; a success passes.
void ThrowIfFailed(HRESULT status);

}  // namespace vistrel
