// The outcome of a call on an automation object: its status and, when the object reported an
// exception, the error information made from it; THROW_IF_FAILED raises a failed one with it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <utility>

#include "platform/exceptions.h"
#include "platform/hresult.h"
#include "platform/unique_resource.h"

namespace vistrel {

struct DispatchStatus {
    HRESULT status = S_OK;
    ComPtr<IErrorInfo> errorInfo;
};

// For THROW_IF_FAILED: raises a failed outcome as _com_error, which takes over the reference to
// the error information; a success passes.
inline void ThrowIfFailed(DispatchStatus outcome) {
    if (FAILED(outcome.status)) throw _com_error(outcome.status, std::move(outcome.errorInfo));
}

}  // namespace vistrel
