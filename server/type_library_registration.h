// Registers and unregisters the library's own type library (resource "TYPELIB" 1 of the library
// file, or the ".tlb" file beside it).
#pragma once

#include <windows.h>

namespace vistrel {

HRESULT RegisterTypeLibrary() noexcept;
HRESULT UnregisterTypeLibrary() noexcept;

}  // namespace vistrel
