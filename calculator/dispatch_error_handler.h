// What the worksheet write-back does with a failed call on the host's objects: it raises
// _com_error, which the operation that started the work contains.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "calculator/dispatch_status.h"
#include "platform/unique_resource.h"

namespace vistrel {

// Raises _com_error with the status, handing the reference to the error information over to it.
[[noreturn]] void DispatchErrorHandler(HRESULT status, ComPtr<IErrorInfo> errorInfo);

// Raises a status without error information.
[[noreturn]] void RaiseStatus(HRESULT status);

// Hands a failed call's status and error information to DispatchErrorHandler; a success passes.
void RaiseIfFailed(DispatchStatus outcome);

}  // namespace vistrel
