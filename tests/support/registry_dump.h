// The real registry read back as text, one line per key ("HKCR\\A\\B") and per value
// ("HKCR\\A\\B [name] REG_SZ text", "[Status] REG_DWORD 8"), sorted: whole subtrees compared in
// one assertion. The in-memory registry's dump lists the same keys; values are written as text.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/unique_resource.h"

namespace vistrel::test {

inline std::wstring ValueText(DWORD type, const std::vector<BYTE>& data) {
    switch (type) {
    case REG_SZ: {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()),
                          data.size() / sizeof(wchar_t));
        if (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        } else {
            text += L" (unterminated)";
        }
        return L"REG_SZ " + text;
    }
    case REG_DWORD:
        if (data.size() != 4) return L"REG_DWORD of " + std::to_wstring(data.size()) + L" bytes";
        return L"REG_DWORD " + std::to_wstring(data[0] | data[1] << 8 | data[2] << 16 |
                                               static_cast<DWORD>(data[3]) << 24);
    default: {
        std::wstring text = L"type " + std::to_wstring(type);
        for (const BYTE byte : data) text += L" " + std::to_wstring(byte);
        return text;
    }
    }
}

inline void DumpKey(HKEY key, const std::wstring& path, std::vector<std::wstring>& lines) {
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameLength = 16384;
        RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &size);
        lines.push_back(path + L" [" + std::wstring(name, nameLength) + L"] " +
                        ValueText(type, data));
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::wstring childPath = path + L"\\" + std::wstring(name, nameLength);
        lines.push_back(childPath);
        UniqueHkey child;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            DumpKey(child.get(), childPath, lines);
    }
}

// The key `subkey` of `root` with everything below it, `rootName` standing for the root; empty
// when the key does not exist.
inline std::vector<std::wstring> DumpRegistry(HKEY root, const std::wstring& rootName,
                                              const std::wstring& subkey) {
    std::vector<std::wstring> lines;
    UniqueHkey key;
    if (RegOpenKeyExW(root, subkey.empty() ? nullptr : subkey.c_str(), 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        return lines;
    }
    const std::wstring path = subkey.empty() ? rootName : rootName + L"\\" + subkey;
    if (!subkey.empty()) lines.push_back(path);
    DumpKey(key.get(), path, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

inline bool RegistryKeyExists(HKEY root, const wchar_t* subkey) {
    UniqueHkey key;
    return RegOpenKeyExW(root, subkey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

}  // namespace vistrel::test
