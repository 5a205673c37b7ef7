#include "tests/host/smart_tag_registry.h"

#include <objbase.h>

#include "platform/unique_resource.h"

namespace vistrel::host {

std::vector<std::wstring> ListedProgIds(const wchar_t* list) {
    std::vector<std::wstring> names;
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, list, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG status =
            RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

std::wstring ClassIdText(const std::wstring& progId) {
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(progId.c_str(), &classId))) return {};
    wchar_t text[64] = {};
    StringFromGUID2(classId, text, static_cast<int>(std::size(text)));
    return text;
}

}  // namespace vistrel::host
