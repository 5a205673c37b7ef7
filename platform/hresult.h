// The two checks of a status the library uses: RETURN_IF_FAILED (base/status.h), which returns a
// failure, and THROW_IF_FAILED, which raises it as the library's exception.
#pragma once

#include <cstdint>

#include "base/status.h"

namespace vistrel {

// Raises the status as the library's exception, _com_error.
[[noreturn]] void ThrowStatus(std::int32_t status);

// For THROW_IF_FAILED: raises a failed status; a success passes.
inline void ThrowIfFailed(std::int32_t status) {
    if (status < 0) ThrowStatus(status);
}

}  // namespace vistrel

// Raises a failed status of `expression` as _com_error; a success passes. A failed call on an
// automation object (calculator/dispatch_status.h) is raised with its error information.
#define THROW_IF_FAILED(expression) ::vistrel::ThrowIfFailed(expression)
