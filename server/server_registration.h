// What DllRegisterServer and DllUnregisterServer do, over the class rows' registration routines
// in the class table's order. Each stops at the first failing step and returns its error;
// nothing done before is undone.
#pragma once

#include <windows.h>

#include <span>

#include "server/registry_script_resource.h"

namespace vistrel {

// A class row's registration routine: runs its registry script forwards or backwards.
using ClassRegistration = HRESULT (*)(bool registering) noexcept;

template <UINT Script>
HRESULT RunClassRegistryScript(bool registering) noexcept {
    return RunRegistryScript(
        Script, registering ? ScriptDirection::Register : ScriptDirection::Unregister, nullptr);
}

// The AppID script, then each class's script, then the type library.
HRESULT RegisterServer(std::span<const ClassRegistration> classes) noexcept;
// Each class's script, then the type library, then the AppID script.
HRESULT UnregisterServer(std::span<const ClassRegistration> classes) noexcept;

}  // namespace vistrel
