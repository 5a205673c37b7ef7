#include "server/registry_script/script_tokenizer.h"

namespace vistrel {
namespace {

bool IsBlank(char16_t c) noexcept { return c == u'\t' || c == u'\n' || c == u'\r' || c == u' '; }

}  // namespace

void ScriptTokenizer::SkipBlanks() noexcept {
    while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
}

bool ScriptTokenizer::AtEnd() noexcept {
    SkipBlanks();
    return position_ >= text_.size();
}

ScriptStatus ScriptTokenizer::Next(std::u16string& token) {
    token.clear();
    if (AtEnd()) return kScriptSyntaxError;
    if (text_[position_] == u'\'') {
        ++position_;
        for (;;) {
            if (position_ >= text_.size()) return kScriptSyntaxError;
            const char16_t c = text_[position_++];
            if (c == u'\'') {
                if (position_ >= text_.size() || text_[position_] != u'\'') break;
                ++position_;
            }
            if (token.size() == kMaxTokenLength) return kScriptSyntaxError;
            token.push_back(c);
        }
        return kScriptSucceeded;
    }
    while (position_ < text_.size() && !IsBlank(text_[position_])) {
        if (token.size() == kMaxTokenLength) return kScriptSyntaxError;
        token.push_back(text_[position_++]);
    }
    return kScriptSucceeded;
}

}  // namespace vistrel
