#include "platform/system_function.h"

#include <cwchar>

namespace vistrel {

HMODULE LoadSystemLibrary(const wchar_t* library) noexcept {
    wchar_t path[MAX_PATH];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    if (folder == 0 || folder >= MAX_PATH) return nullptr;
    const std::size_t name = std::wcslen(library);
    if (folder + 1 + name >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    path[folder] = L'\\';
    std::wmemcpy(path + folder + 1, library, name + 1);
    return LoadLibraryW(path);
}

}  // namespace vistrel
