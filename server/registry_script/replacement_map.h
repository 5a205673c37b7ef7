// The names a registry script may write between percent signs, with their values, for one run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/registry_script/script_status.h"

namespace vistrel {

class ReplacementMap {
public:
    // Appends copies of both strings; a name may come more than once. A null name or value is
    // refused with E_INVALIDARG, a copy that cannot be had with E_OUTOFMEMORY.
    ScriptStatus Add(const char16_t* name, const char16_t* value) noexcept;

    // The value of the first pair whose name equals `name` without regard to case.
    std::optional<std::u16string_view> Find(std::u16string_view name) const noexcept;

private:
    std::vector<std::pair<std::u16string, std::u16string>> pairs_;
};

// Case-insensitive equality of two names, as the script's keywords and names are compared.
bool NamesEqual(std::u16string_view left, std::u16string_view right) noexcept;

}  // namespace vistrel
