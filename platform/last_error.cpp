#include "platform/last_error.h"

#include "platform/hresult.h"

namespace vistrel {

HRESULT HresultFromLastError() noexcept { return HresultFromWin32(GetLastError()); }

HRESULT FailureFromLastError() noexcept {
    const HRESULT status = HresultFromLastError();
    return status == S_OK ? E_FAIL : status;
}

}  // namespace vistrel
