#include "server/registry_script/replacement_pass.h"

#include <algorithm>

#include "base/allocation_hook.h"

namespace vistrel {
namespace {

// The replaced text starts as long as the script and doubles whenever a piece does not fit.
void Append(std::u16string& replaced, std::u16string_view piece) {
    const std::size_t needed = replaced.size() + piece.size();
    if (needed > replaced.capacity()) {
        ThrowIfRefused("replaced text");
        replaced.reserve(std::max(needed, replaced.capacity() * 2));
    }
    replaced.append(piece);
}

}  // namespace

ScriptStatus ReplaceNames(std::u16string_view script, const ReplacementMap& replacements,
                          std::u16string& replaced) noexcept {
    try {
        replaced.clear();
        ThrowIfRefused("replaced text");
        replaced.reserve(script.size());
        std::size_t position = 0;
        while (position < script.size()) {
            const std::size_t percent = script.find(u'%', position);
            if (percent == std::u16string_view::npos) {
                Append(replaced, script.substr(position));
                break;
            }
            Append(replaced, script.substr(position, percent - position));
            const std::size_t closing = script.find(u'%', percent + 1);
            if (closing == std::u16string_view::npos) return kScriptSyntaxError;
            const std::u16string_view name = script.substr(percent + 1, closing - percent - 1);
            if (name.empty()) {
                Append(replaced, u"%");
            } else {
                if (name.size() > kMaxReplacementNameLength) return kScriptFailed;
                const auto value = replacements.Find(name);
                if (!value) return kScriptSyntaxError;
                Append(replaced, *value);
            }
            position = closing + 1;
        }
        return kScriptSucceeded;
    } catch (...) {
        return kScriptOutOfMemory;
    }
}

}  // namespace vistrel
