// Files that the build puts beside a test program: string-table modules and type libraries.
#pragma once

#include <windows.h>

#include <string>

namespace vistrel::test {

inline std::wstring PathBesideProgram(const wchar_t* fileName) {
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path(program, length);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + fileName;
}

}  // namespace vistrel::test
