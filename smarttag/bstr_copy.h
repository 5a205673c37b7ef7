// New BSTR copies of the catalogue's strings, which callers free.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace vistrel {

// A copy of `text` with its length; null for a null `text` or when no copy can be made.
inline BSTR CopyBstr(BSTR text) noexcept {
    return text != nullptr ? SysAllocStringLen(text, SysStringLen(text)) : nullptr;
}

}  // namespace vistrel
