// Interprets a registry script over a registry: the replacement pass, then each root block in
// order, walked in the direction asked. A root block whose register walk fails is walked once
// more in the unregister direction to take away what it wrote; earlier blocks stay.
#pragma once

#include <string_view>

#include "server/registry_script/registry_access.h"
#include "server/registry_script/replacement_map.h"
#include "server/registry_script/script_status.h"

namespace vistrel {

enum class ScriptDirection { Register, Unregister };

// The deepest nesting of blocks a script may have: the registry itself has no deeper keys.
inline constexpr int kMaxBlockDepth = 512;

ScriptStatus InterpretRegistryScript(std::u16string_view script, const ReplacementMap& replacements,
                                     ScriptDirection direction, RegistryAccess& registry) noexcept;

}  // namespace vistrel
