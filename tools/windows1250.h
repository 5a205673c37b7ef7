// Windows-1250 (Central European), the encoding Polish spreadsheets export text in, to and from
// UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vistrel::tools {

// Every byte is one character: below 0x80 ASCII, above it the Windows-1250 table; the five bytes
// the code page leaves unassigned stand for the control characters of the same value, as
// Windows converts them.
std::string Windows1250ToUtf8(std::string_view bytes);

// UTF-8 text (well formed) to Windows-1250; a character the code page lacks becomes "?".
std::string Utf8ToWindows1250(std::string_view utf8);

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(std::string_view bytes);

}  // namespace vistrel::tools
