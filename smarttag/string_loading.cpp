#include "smarttag/string_loading.h"

#include <cstdlib>

#include "platform/module_instance.h"

namespace vistrel {
namespace {

// String ids are 16-bit; anything else would alias another string.
bool IsStringId(int id) noexcept { return id >= 0 && id <= 0xFFFF; }

}  // namespace

UniqueBstr LoadStringBstr(int id) noexcept {
    if (!IsStringId(id)) return UniqueBstr();
    wchar_t text[kMaxLoadedStringLength + 1];
    const int length =
        LoadStringW(ModuleInstance(), static_cast<UINT>(id), text, kMaxLoadedStringLength + 1);
    if (length <= 0) return UniqueBstr();
    return UniqueBstr(SysAllocStringLen(text, static_cast<UINT>(length)));
}

int LoadIndexString(int id) noexcept {
    if (!IsStringId(id)) return 0;
    char text[9] = {};
    if (LoadStringA(ModuleInstance(), static_cast<UINT>(id), text, sizeof text) <= 0) return 0;
    // Eight characters at most: atoi cannot overflow.
    return std::atoi(text);
}

}  // namespace vistrel
