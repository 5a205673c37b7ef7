// The value of a script entry ("s 'text'", "d 8", "m 'a\0b'", "b 'A0ff'") turned into the type
// and bytes the registry stores.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "server/registry_script/registry_access.h"
#include "server/registry_script/script_status.h"

namespace vistrel {

struct RegistryValue {
    RegistryValueType type = RegistryValueType::String;
    std::vector<std::uint8_t> data;
};

// An unknown type letter, or a `d` text that is not an unsigned 32-bit decimal number →
// DISP_E_EXCEPTION; a `b` text of odd length → E_FAIL. Raises std::bad_alloc.
ScriptStatus MakeRegistryValue(std::u16string_view typeLetter, std::u16string_view text,
                               RegistryValue& value);

// Only checks the type letter, for the direction that writes nothing.
bool IsValueTypeLetter(std::u16string_view typeLetter) noexcept;

}  // namespace vistrel
