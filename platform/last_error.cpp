#include "platform/last_error.h"

#include "platform/hresult.h"

namespace vistrel {

HRESULT HresultFromLastError() noexcept { return HresultFromWin32(GetLastError()); }

HRESULT FailureFromLastError() noexcept { return FailureOr(HresultFromLastError(), E_FAIL); }

}  // namespace vistrel
