// The instance handle of the module that holds the library's resources (string table, dialog
// template). The library stores its own at load; a test program stores the module it tests.
#pragma once

#include <windows.h>

namespace vistrel {

HINSTANCE ModuleInstance() noexcept;
void SetModuleInstance(HINSTANCE instance) noexcept;

// Keeps the module mapped until the process ends, whatever FreeLibrary calls follow: the
// statically linked runtime takes a thread-local-storage slot and a handle on every load and
// never gives them back, so a host that unloads and reloads idle servers would run out of slots
// after about a thousand cycles. Pins once; false where the loader refuses.
bool KeepModuleLoaded(HINSTANCE instance) noexcept;

}  // namespace vistrel
