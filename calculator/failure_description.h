// The words a user is shown for a failed call on the host's objects.
#pragma once

#include <string>

#include "platform/exceptions.h"

namespace vistrel {

// The description that the failing call left in its error information; failing that, the
// system's text for the status; empty when there is neither. Trailing line breaks and blanks
// are dropped.
std::wstring FailureDescription(const _com_error& error);

}  // namespace vistrel
