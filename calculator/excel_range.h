// Excel's Range as verb 1 reaches it: the interface the verb's target must offer, and the
// dispatch identifiers of the two members it calls late-bound.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace vistrel {

inline constexpr IID kExcelRangeId = {
    0x00020846, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Offset(rows, columns): another cell, relative to the range.
inline constexpr DISPID kRangeOffset = 254;
// Value2: the cell's value.
inline constexpr DISPID kRangeValue2 = 1388;

}  // namespace vistrel
