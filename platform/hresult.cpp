#include "platform/hresult.h"

#include "platform/exceptions.h"

namespace vistrel {

HRESULT HresultFromWin32(DWORD code) noexcept {
    const auto value = static_cast<HRESULT>(code);
    if (value <= 0) return value;
    return static_cast<HRESULT>((code & 0xFFFFu) | 0x80070000u);
}

HRESULT HresultFromLastError() noexcept { return HresultFromWin32(GetLastError()); }

void ThrowIfFailed(HRESULT status) {
    if (FAILED(status)) throw CAtlException(status);
}

}  // namespace vistrel
