// Runs one of the library's registry scripts (resource type "REGISTRY") from the library file of
// the module instance, with the replacements APPID and Module.
#pragma once

#include <windows.h>

#include "server/registry_script/script_interpreter.h"

namespace vistrel {

// One extra replacement; a list of them ends with a null name.
struct ScriptReplacement {
    const wchar_t* name;
    const wchar_t* value;
};

HRESULT RunRegistryScript(UINT resourceId, ScriptDirection direction,
                          const ScriptReplacement* extraReplacements) noexcept;

}  // namespace vistrel
