// HRESULTs as the library makes and checks them: a Win32 error code made into one, and the two
// checks of a status, one that returns a failure and one that raises it. Portable (an HRESULT is
// a signed 32-bit number, negative for a failure), so that the registry-script interpreter uses
// the same checks natively.
#pragma once

#include <cstdint>

namespace vistrel {

// A positive Win32 error code becomes 0x8007xxxx with its low 16 bits; 0 and the codes that are
// negative as 32-bit numbers (already HRESULTs) pass unchanged.
constexpr std::int32_t HresultFromWin32(std::uint32_t code) noexcept {
    const auto value = static_cast<std::int32_t>(code);
    if (value <= 0) return value;
    return static_cast<std::int32_t>((code & 0xFFFFu) | 0x80070000u);
}

// Raises the status as the library's exception, _com_error (Windows only).
[[noreturn]] void ThrowStatus(std::int32_t status);

// For THROW_IF_FAILED: raises a failed status; a success passes.
inline void ThrowIfFailed(std::int32_t status) {
    if (status < 0) ThrowStatus(status);
}

}  // namespace vistrel

// Returns a failed status of `expression` from the calling function; a success passes.
#define RETURN_IF_FAILED(expression)                                      \
    do {                                                                  \
        if (const auto vistrelStatus = (expression); vistrelStatus < 0) { \
            return vistrelStatus;                                         \
        }                                                                 \
    } while (false)

// Raises a failed status of `expression` as _com_error; a success passes. A failed call on an
// automation object (calculator/dispatch_status.h) is raised with its error information.
#define THROW_IF_FAILED(expression) ::vistrel::ThrowIfFailed(expression)
