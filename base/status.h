// A status as the library makes and returns it, and its portable checks, one form each: the test
// of a Win32 error code and its conversion into a status, "this status, or a fallback failure",
// and RETURN_IF_FAILED, which returns a failure from the calling function. Portable (a status is
// an HRESULT, a signed 32-bit number, negative for a failure), so that the registry-script
// interpreter uses the same checks natively; platform/hresult.h adds the check that raises.
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

// Whether a Win32 error code (what a registry call returns, GetLastError) tells of a failure:
// every code but 0, ERROR_SUCCESS. Where the failure is returned, RETURN_IF_FAILED of
// HresultFromWin32 of the code does both at once.
constexpr bool Win32Failed(std::int64_t code) noexcept { return code != 0; }

// `status` when it is a failure, otherwise `fallback` (a failure): after something has failed, a
// status that reads as success must never be passed on.
constexpr std::int32_t FailureOr(std::int32_t status, std::int32_t fallback) noexcept {
    return status < 0 ? status : fallback;
}

}  // namespace vistrel

// Returns a failed status of `expression` from the calling function; a success passes.
#define RETURN_IF_FAILED(expression)                                      \
    do {                                                                  \
        if (const auto vistrelStatus = (expression); vistrelStatus < 0) { \
            return vistrelStatus;                                         \
        }                                                                 \
    } while (false)
