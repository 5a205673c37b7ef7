// The instance handle of the module that holds the library's resources (string table, dialog
// template). The library stores its own at load; a test program stores the module it tests.
#pragma once

#include <windows.h>

namespace vistrel {

HINSTANCE ModuleInstance() noexcept;
void SetModuleInstance(HINSTANCE instance) noexcept;

}  // namespace vistrel
