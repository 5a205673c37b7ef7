#include "tests/host/smart_tag_registry.h"

#include <objbase.h>

#include <algorithm>

#include "platform/unique_resource.h"

namespace vistrel::host {
namespace {

// The names of the subkeys of `root`\`list`, in the registry's order.
std::vector<std::wstring> SubkeyNames(HKEY root, const wchar_t* list) {
    std::vector<std::wstring> names;
    UniqueHkey key;
    if (RegOpenKeyExW(root, list, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
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

bool SameName(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<ListedProgId> ListedProgIds(const wchar_t* list) {
    std::vector<ListedProgId> listed;
    for (std::wstring& name : SubkeyNames(HKEY_CURRENT_USER, list)) {
        listed.push_back({std::move(name), L"HKCU"});
    }
    for (std::wstring& name : SubkeyNames(HKEY_LOCAL_MACHINE, list)) {
        const bool known =
            std::any_of(listed.begin(), listed.end(),
                        [&](const ListedProgId& entry) { return SameName(entry.progId, name); });
        if (!known) listed.push_back({std::move(name), L"HKLM"});
    }
    return listed;
}

std::wstring ClassIdText(const std::wstring& progId) {
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(progId.c_str(), &classId))) return {};
    wchar_t text[64] = {};
    StringFromGUID2(classId, text, static_cast<int>(std::size(text)));
    return text;
}

}  // namespace vistrel::host
