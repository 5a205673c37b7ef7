// The registry as registration leaves it, read back and written out from the meaning of the
// three registry scripts: shared by the registration tests in and out of the library.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/registry_dump.h"

#include "smarttag/vistrel.h"

namespace vistrel::test {

inline constexpr wchar_t kAppId[] = L"{078F066D-265C-467A-8C4B-D7BA03FD49B0}";
inline constexpr wchar_t kSmartTagKey[] = L"Software\\Microsoft\\Office\\Common\\Smart Tag";

inline std::wstring TextOf(const GUID& guid) {
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}

// The keys registration owns, each with its whole subtree.
inline std::vector<std::wstring> RegisteredState() {
    std::vector<std::wstring> state;
    const auto add = [&](HKEY root, const wchar_t* rootName, const std::wstring& subkey) {
        const auto lines = DumpRegistry(root, rootName, subkey);
        state.insert(state.end(), lines.begin(), lines.end());
    };
    add(HKEY_CLASSES_ROOT, L"HKCR", std::wstring(L"AppID\\") + kAppId);
    add(HKEY_CLASSES_ROOT, L"HKCR", L"AppID\\Vistrel.DLL");
    for (const wchar_t* name : {L"STAction", L"STRecognizer"}) {
        add(HKEY_CLASSES_ROOT, L"HKCR", std::wstring(L"Vistrel.") + name + L".1");
        add(HKEY_CLASSES_ROOT, L"HKCR", std::wstring(L"Vistrel.") + name);
    }
    add(HKEY_CLASSES_ROOT, L"HKCR", L"CLSID\\" + TextOf(CLSID_STAction));
    add(HKEY_CLASSES_ROOT, L"HKCR", L"CLSID\\" + TextOf(CLSID_STRecognizer));
    add(HKEY_CURRENT_USER, L"HKCU", kSmartTagKey);
    std::sort(state.begin(), state.end());
    return state;
}

// The three tables, written out from their meaning: ProgIDs, class keys, the smart tag keys.
inline std::vector<std::wstring> ExpectedState(const std::wstring& modulePath) {
    const std::wstring libraryId = TextOf(LIBID_VistrelLib);
    std::vector<std::wstring> lines = {
        std::wstring(L"HKCR\\AppID\\") + kAppId,
        std::wstring(L"HKCR\\AppID\\") + kAppId + L" [] REG_SZ Vistrel",
        L"HKCR\\AppID\\Vistrel.DLL",
        std::wstring(L"HKCR\\AppID\\Vistrel.DLL [AppID] REG_SZ ") + kAppId,
        std::wstring(L"HKCU\\") + kSmartTagKey,
        std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Actions",
        std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Recognizers",
    };
    const auto addClass = [&](const std::wstring& name, const GUID& clsid,
                              const std::wstring& listKey) {
        const std::wstring progId = L"Vistrel." + name;
        const std::wstring classKey = L"HKCR\\CLSID\\" + TextOf(clsid);
        const std::wstring description = L" [] REG_SZ " + name + L" Class";
        const std::vector<std::wstring> classLines = {
            L"HKCR\\" + progId + L".1",
            L"HKCR\\" + progId + L".1" + description,
            L"HKCR\\" + progId + L".1\\CLSID",
            L"HKCR\\" + progId + L".1\\CLSID [] REG_SZ " + TextOf(clsid),
            L"HKCR\\" + progId,
            L"HKCR\\" + progId + description,
            L"HKCR\\" + progId + L"\\CLSID",
            L"HKCR\\" + progId + L"\\CLSID [] REG_SZ " + TextOf(clsid),
            L"HKCR\\" + progId + L"\\CurVer",
            L"HKCR\\" + progId + L"\\CurVer [] REG_SZ " + progId + L".1",
            classKey,
            classKey + description,
            classKey + L"\\ProgID",
            classKey + L"\\ProgID [] REG_SZ " + progId + L".1",
            classKey + L"\\VersionIndependentProgID",
            classKey + L"\\VersionIndependentProgID [] REG_SZ " + progId,
            classKey + L"\\Programmable",
            classKey + L"\\InprocServer32",
            classKey + L"\\InprocServer32 [] REG_SZ " + modulePath,
            classKey + L"\\InprocServer32 [ThreadingModel] REG_SZ Apartment",
            classKey + L"\\TypeLib",
            classKey + L"\\TypeLib [] REG_SZ " + libraryId,
            std::wstring(L"HKCU\\") + kSmartTagKey + L"\\" + listKey + L"\\" + progId,
        };
        lines.insert(lines.end(), classLines.begin(), classLines.end());
    };
    addClass(L"STAction", CLSID_STAction, L"Actions");
    addClass(L"STRecognizer", CLSID_STRecognizer, L"Recognizers");
    lines.push_back(std::wstring(L"HKCU\\") + kSmartTagKey +
                    L"\\Recognizers\\Vistrel.STRecognizer [Status] REG_DWORD 8");
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The smart tag containers that unregistering keeps once registering has made them.
inline std::vector<std::wstring> ContainerKeys() {
    return {std::wstring(L"HKCU\\") + kSmartTagKey,
            std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Actions",
            std::wstring(L"HKCU\\") + kSmartTagKey + L"\\Recognizers"};
}

inline std::vector<std::wstring> WithoutContainers(std::vector<std::wstring> state) {
    const auto containers = ContainerKeys();
    std::erase_if(state, [&](const std::wstring& line) {
        return std::find(containers.begin(), containers.end(), line) != containers.end();
    });
    return state;
}

}  // namespace vistrel::test
