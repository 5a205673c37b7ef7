// A status as the library makes and returns it: a Win32 error code made into one, and the check
// that returns a failure from the calling function. Portable (a status is an HRESULT, a signed
// 32-bit number, negative for a failure), so that the registry-script interpreter uses the same
// check natively; platform/hresult.h adds the check that raises.
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

}  // namespace vistrel

// Returns a failed status of `expression` from the calling function; a success passes.
#define RETURN_IF_FAILED(expression)                                      \
    do {                                                                  \
        if (const auto vistrelStatus = (expression); vistrelStatus < 0) { \
            return vistrelStatus;                                         \
        }                                                                 \
    } while (false)
