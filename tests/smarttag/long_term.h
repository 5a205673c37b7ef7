// The 300-character term of long_string.rc: thirty pieces "000-abcdef" to "029-abcdef".
#pragma once

#include <string>

namespace vistrel::test {

inline std::wstring LongTerm() {
    std::wstring text;
    for (int piece = 0; piece < 30; ++piece) {
        std::wstring number = std::to_wstring(piece);
        text += std::wstring(3 - number.size(), L'0') + number + L"-abcdef";
    }
    return text;
}

}  // namespace vistrel::test
