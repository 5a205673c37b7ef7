// Splits a registry script into tokens. Blanks (tab, line feed, carriage return, space) separate
// them; a token that begins with ' runs to the next ' not followed by another, two quotes in a
// row inside it standing for one, and the quotes themselves are not part of it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "server/registry_script/script_status.h"

namespace vistrel {

inline constexpr std::size_t kMaxTokenLength = 4094;

class ScriptTokenizer {
public:
    explicit ScriptTokenizer(std::u16string_view text) noexcept : text_(text) {}

    // The next token; at the end of the text, for an unclosed quote or a token longer than
    // 4094 characters, DISP_E_EXCEPTION.
    ScriptStatus Next(std::u16string& token);
    // True when only blanks are left.
    bool AtEnd() noexcept;

    std::size_t Position() const noexcept { return position_; }
    void Rewind(std::size_t position) noexcept { position_ = position; }

private:
    void SkipBlanks() noexcept;

    std::u16string_view text_;
    std::size_t position_ = 0;
};

}  // namespace vistrel
