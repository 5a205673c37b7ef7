#include "calculator/dispatch_error_handler.h"

#include <utility>

#include "platform/exceptions.h"

namespace vistrel {

void DispatchErrorHandler(HRESULT status, ComPtr<IErrorInfo> errorInfo) {
    throw _com_error(status, std::move(errorInfo));
}

void RaiseStatus(HRESULT status) { DispatchErrorHandler(status, nullptr); }

void RaiseIfFailed(DispatchStatus outcome) {
    if (FAILED(outcome.status)) DispatchErrorHandler(outcome.status, std::move(outcome.errorInfo));
}

}  // namespace vistrel
