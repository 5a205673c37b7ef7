#include "platform/exceptions.h"

#include "platform/hresult.h"

namespace vistrel {

void detail::ThrowStatus(std::int32_t status) { throw _com_error(status); }

_com_error& _com_error::operator=(const _com_error& other) noexcept {
    if (this != &other) {
        status_ = other.status_;
        errorInfo_ = other.errorInfo_;
        message_.reset();
    }
    return *this;
}

const wchar_t* _com_error::ErrorMessage() const noexcept {
    if (!message_) {
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(status_), 0,
                       reinterpret_cast<wchar_t*>(message_.put()), 0, nullptr);
    }
    return message_.get();
}

}  // namespace vistrel
