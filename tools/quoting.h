// Text of the user's or of the page quoted in a Polish message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vistrel::tools {

// A message shows at most this many characters of what it quotes.
inline constexpr std::size_t QuotedCharacters = 60;

// „text” in Polish quotation marks; UTF-8 text longer than QuotedCharacters characters is cut
// to its first QuotedCharacters - 1 and an ellipsis.
std::string Quoted(std::string_view utf8);

}  // namespace vistrel::tools
