// The first step of interpreting a script: every name written between two percent signs
// ("%MODULE%") is replaced by its value; two percent signs in a row stand for one.
#pragma once

#include <string>
#include <string_view>

#include "server/registry_script/replacement_map.h"
#include "server/registry_script/script_status.h"

namespace vistrel {

// The longest name that may stand between the percent signs.
inline constexpr std::size_t kMaxReplacementNameLength = 31;

// No closing percent sign or an unknown name → DISP_E_EXCEPTION; a name longer than 31
// characters → E_FAIL; no memory for the text → E_OUTOFMEMORY.
ScriptStatus ReplaceNames(std::u16string_view script, const ReplacementMap& replacements,
                          std::u16string& replaced) noexcept;

}  // namespace vistrel
