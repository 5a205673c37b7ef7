// What DllRegisterServer and DllUnregisterServer do, over the class rows' registry scripts in
// the class table's order. Each stops at the first failing step and returns its error; nothing
// done before is undone.
#pragma once

#include <windows.h>

#include <span>

namespace vistrel {

// The AppID script, then each class's script, then the type library.
HRESULT RegisterServer(std::span<const UINT> classScripts) noexcept;
// Each class's script, then the type library, then the AppID script.
HRESULT UnregisterServer(std::span<const UINT> classScripts) noexcept;

}  // namespace vistrel
