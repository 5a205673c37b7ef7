// UTF-8, the text of the command line, of the lists and of everything the calculator writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vistrel::tools {

// The length of the well-formed UTF-8 sequence at `i` and its code point; 0 when there is none
// (an overlong form, a surrogate, a code point past U+10FFFF, a sequence cut short).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& code);

// Appends the code point `c` in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// UTF-16 of UTF-8 text, as the engine reads text; each byte that starts no well-formed sequence
// becomes U+FFFD, which no reader takes for part of a number or a date.
std::u16string Utf16FromUtf8(std::string_view utf8);

}  // namespace vistrel::tools
