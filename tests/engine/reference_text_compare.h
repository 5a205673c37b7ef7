// The case-insensitive comparison as it stood before the speed-up, kept unchanged to compare
// against. Case-insensitive equality of two runs of UTF-16 text of the same length. On Windows the
// user's locale decides (CompareStringW); elsewhere a fold that covers Latin-1 and Latin
// Extended-A.
#pragma once

#include <string_view>

namespace vistrel::test::reference {

// True when `text` starts with `wanted` ignoring letter case; `wanted` must lie wholly within
// `text`.
bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view wanted);

}  // namespace vistrel::test::reference
