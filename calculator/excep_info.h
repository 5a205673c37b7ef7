// Error information made from the EXCEPINFO of an automation call that failed with
// DISP_E_EXCEPTION.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "calculator/dispatch_status.h"

namespace vistrel {

// Runs the deferred fill-in routine if there is one, wraps the EXCEPINFO into error
// information (GUID of IDispatch, source, description, help file, help context), frees the
// EXCEPINFO's strings and works out the status from its code.
DispatchStatus ExcepInfoToErrorInfo(EXCEPINFO& info) noexcept;

// Frees the three strings of an EXCEPINFO and sets them to null.
void FreeExcepInfoStrings(EXCEPINFO& info) noexcept;

}  // namespace vistrel
