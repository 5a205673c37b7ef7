#include "server/registry_script/replacement_pass.h"

namespace vistrel {

ScriptStatus ReplaceNames(std::u16string_view script, const ReplacementMap& replacements,
                          std::u16string& replaced) noexcept {
    try {
        replaced.clear();
        replaced.reserve(script.size());
        std::size_t position = 0;
        while (position < script.size()) {
            const std::size_t percent = script.find(u'%', position);
            if (percent == std::u16string_view::npos) {
                replaced.append(script.substr(position));
                break;
            }
            replaced.append(script.substr(position, percent - position));
            const std::size_t closing = script.find(u'%', percent + 1);
            if (closing == std::u16string_view::npos) return kScriptSyntaxError;
            const std::u16string_view name = script.substr(percent + 1, closing - percent - 1);
            if (name.empty()) {
                replaced.push_back(u'%');
            } else {
                if (name.size() > kMaxReplacementNameLength) return kScriptFailed;
                const auto value = replacements.Find(name);
                if (!value) return kScriptSyntaxError;
                replaced.append(*value);
            }
            position = closing + 1;
        }
        return kScriptSucceeded;
    } catch (...) {
        return kScriptOutOfMemory;
    }
}

}  // namespace vistrel
