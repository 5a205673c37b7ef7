// Strings of the library's own string table, read through the module instance.
#pragma once

#include <windows.h>

#include "platform/unique_resource.h"

namespace vistrel {

// The longest string that a load keeps; a longer one is cut there.
inline constexpr int kMaxLoadedStringLength = 255;

// A new BSTR with the string `id`; null when the table does not hold it (an empty string reads
// the same), when `id` is no string id, or when no copy can be made.
UniqueBstr LoadStringBstr(int id) noexcept;

// The number that the index string `id` holds, read as 8-bit text of at most 8 characters the
// way atoi reads it: leading white space, a sign, then digits; 0 when there are none or when the
// string is missing.
int LoadIndexString(int id) noexcept;

}  // namespace vistrel
