// The check that raises a failed status, THROW_IF_FAILED, beside the portable ones of
// base/status.h (RETURN_IF_FAILED, Win32Failed, FailureOr): the library's checks of a status, one
// form each. A failure is raised only through THROW_IF_FAILED.
#pragma once

#include <cstdint>

#include "base/status.h"

namespace vistrel {

namespace detail {
// Raises the status as the library's exception, _com_error; THROW_IF_FAILED's own.
[[noreturn]] void ThrowStatus(std::int32_t status);
}  // namespace detail

// For THROW_IF_FAILED: raises a failed status; a success passes.
inline void ThrowIfFailed(std::int32_t status) {
    if (status < 0) detail::ThrowStatus(status);
}

}  // namespace vistrel

// Raises a failed status of `expression` as _com_error; a success passes. A failed call on an
// automation object (calculator/dispatch_status.h) is raised with its error information.
#define THROW_IF_FAILED(expression) ::vistrel::ThrowIfFailed(expression)
