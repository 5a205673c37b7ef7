// The library's two exception types. They carry failures to the place that turns them into an
// HRESULT; none of them ever leaves an exported function or an interface method.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <utility>

#include "platform/unique_resource.h"

namespace vistrel {

// A catalogue record lacks one of its required strings; the list being read ends there.
class ExGeneral {};

// A failed status: THROW_IF_FAILED's (platform/hresult.h), or a failed call on the host's
// automation objects with the error information that the object gave, of which the exception
// owns one reference.
class _com_error {
public:
    explicit _com_error(HRESULT status, ComPtr<IErrorInfo> errorInfo = {}) noexcept
        : status_(status), errorInfo_(std::move(errorInfo)) {}
    // A copy shares the error information and makes its own message text when asked.
    _com_error(const _com_error& other) noexcept
        : status_(other.status_), errorInfo_(other.errorInfo_) {}
    _com_error& operator=(const _com_error& other) noexcept;
    virtual ~_com_error() = default;

    HRESULT Error() const noexcept { return status_; }
    IErrorInfo* ErrorInfo() const noexcept { return errorInfo_.get(); }
    // The system's text for the status, made on first use; null when the system has none.
    const wchar_t* ErrorMessage() const noexcept;

private:
    HRESULT status_;
    ComPtr<IErrorInfo> errorInfo_;
    mutable UniqueLocalText message_;
};

}  // namespace vistrel
