#include "tools/quoting.h"

namespace vistrel::tools {
namespace {

bool StartsACharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::string Quoted(std::string_view utf8) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!StartsACharacter(utf8[i])) continue;
        if (++characters == QuotedCharacters) {
            // The 60th character starts here: it stays only when it is the last one.
            std::size_t next = i + 1;
            while (next < utf8.size() && !StartsACharacter(utf8[next])) ++next;
            if (next < utf8.size()) return "„" + std::string(utf8.substr(0, i)) + "…”";
        }
    }
    return "„" + std::string(utf8) + "”";
}

}  // namespace vistrel::tools
