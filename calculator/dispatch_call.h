// A late-bound call on an automation object through IDispatch::Invoke, as the worksheet
// write-back makes them on the host's cells.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>

#include "calculator/dispatch_status.h"

namespace vistrel {

// Calls member `dispid` of `object` with `parameters` in the member's own order.
// - A property put (DISPATCH_PROPERTYPUT or DISPATCH_PROPERTYPUTREF) needs at least one
//   parameter; its last one is the value, passed as the named argument DISPID_PROPERTYPUT.
// - Trailing parameters that hold the missing-parameter marker (VT_ERROR with
//   DISP_E_PARAMNOTFOUND) are left out.
// - `resultType` VT_EMPTY asks for no result. VT_VARIANT takes the result as it comes; any other
//   type converts it, and `result` (which must then be given, and empty) receives it.
// A failure reported as an exception comes with the object's error information.
DispatchStatus CallAutomation(IDispatch* object, DISPID dispid, WORD flags, VARTYPE resultType,
                              VARIANT* result, std::span<const VARIANT> parameters) noexcept;

}  // namespace vistrel
