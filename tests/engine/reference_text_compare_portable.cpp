// The case-insensitive comparison as it stood before the speed-up, kept unchanged to compare
// against.
#include "tests/engine/reference_text_compare.h"

#include <cstddef>

namespace vistrel::test::reference {
namespace {

// Lower case for Basic Latin, Latin-1 and Latin Extended-A, where the Polish letters live.
char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<char16_t>(c + 0x20);
    if (c == 0x0130) return u'i';
    if (c == 0x0178) return 0x00FF;
    const bool evenUpper = (c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177);
    const bool oddUpper = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return static_cast<char16_t>(c + 1);
    return c;
}

}  // namespace

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view wanted) {
    if (wanted.size() > text.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(wanted[i])) return false;
    }
    return true;
}

}  // namespace vistrel::test::reference
