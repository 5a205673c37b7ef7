// The outcome of a call on an automation object: its status and, when the object reported an
// exception, the error information made from it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/unique_resource.h"

namespace vistrel {

struct DispatchStatus {
    HRESULT status = S_OK;
    ComPtr<IErrorInfo> errorInfo;
};

}  // namespace vistrel
