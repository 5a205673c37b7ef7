#include "server/registry_script/replacement_map.h"

#include <new>

#include "base/text_compare.h"
#include "base/allocation_hook.h"

namespace vistrel {

bool NamesEqual(std::u16string_view left, std::u16string_view right) noexcept {
    return left.size() == right.size() && StartsWithIgnoringCase(left, right);
}

ScriptStatus ReplacementMap::Add(const char16_t* name, const char16_t* value) noexcept {
    if (name == nullptr || value == nullptr) return kScriptInvalidArgument;
    try {
        ThrowIfRefused("replacement copy");
        pairs_.emplace_back(name, value);
        return kScriptSucceeded;
    } catch (...) {
        return kScriptOutOfMemory;
    }
}

std::optional<std::u16string_view> ReplacementMap::Find(std::u16string_view name) const noexcept {
    for (const auto& [pairName, pairValue] : pairs_) {
        if (NamesEqual(pairName, name)) return std::u16string_view(pairValue);
    }
    return std::nullopt;
}

}  // namespace vistrel
