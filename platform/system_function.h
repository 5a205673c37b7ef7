// System DLLs that only a verb needs (WinINet for the rate page, urlmon for the browser), loaded
// when a verb first needs them rather than imported: loading the library then pulls in no
// network stack, so a host loads and initialises it with the DLLs every COM server has, and a
// system whose network DLLs cannot start still gets the recognizer and the action.
#pragma once

#include <windows.h>

namespace vistrel {

// Loads the system DLL `library` (a bare file name, looked for in the system folder only). It
// stays loaded until the process ends, as an imported one would; null with the last error set
// when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* library) noexcept;

// The function `name` of `module` as a pointer of its own type; null (last error set) when the
// module is null or lacks it.
template <typename Function>
Function* FunctionOf(HMODULE module, const char* name) noexcept {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace vistrel
