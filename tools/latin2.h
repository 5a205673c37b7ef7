// ISO 8859-2 (Latin-2), the encoding of the rate page, decoded to UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace vistrel::tools {

// Every byte is one character: 0x00-0x9F keep their value, 0xA0-0xFF follow the Latin-2 table.
std::u16string DecodeLatin2(std::string_view bytes);

}  // namespace vistrel::tools
