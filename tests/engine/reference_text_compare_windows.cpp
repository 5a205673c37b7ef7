// The case-insensitive comparison as it stood before the speed-up, kept unchanged to compare
// against.
#include <windows.h>

#include "tests/engine/reference_text_compare.h"

namespace vistrel::test::reference {

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view wanted) {
    if (wanted.size() > text.size()) return false;
    if (wanted.empty()) return true;
    // The user's locale decides what counts as the same letter, Polish letters included.
    const int count = static_cast<int>(wanted.size());
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                          reinterpret_cast<const wchar_t*>(text.data()), count,
                          reinterpret_cast<const wchar_t*>(wanted.data()), count) == CSTR_EQUAL;
}

}  // namespace vistrel::test::reference
