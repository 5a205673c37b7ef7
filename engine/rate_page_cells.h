// How the rate-page parser reads one cell and one date of a period cell. The parser's own
// pieces, declared apart from its interface so that the tests can compare each with its earlier
// form on texts that no page holds (what lies behind a cell's terminator, a view that ends
// inside a cell).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "engine/rate_table.h"

namespace vistrel {

inline constexpr std::size_t CellTextCapacity = 256;  // terminator included
using CellText = std::array<char16_t, CellTextCapacity>;

struct CellReadResult {
    bool found = false;
    std::size_t advance =
        0;  // from the start of the text to just past the cell closing; 0 when not found
    std::size_t copied = 0;  // characters copied into the buffer (at most CellTextCapacity - 1)
};

// Finds the first complete cell in `text`, copies its text into `cell` (a percent sign becomes a
// terminator, the percent signs and asterisks set `kind`; the last percent sign decides). Tags
// inside the cell ("<b>13,00</b>%", "<font ...>") are skipped, any line break tag is copied as
// "<BR>", and a no-break space ("&nbsp;", "&#160;", U+00A0) is copied as a blank; `copied`
// counts the characters so read.
CellReadResult ReadCell(std::u16string_view text, CellText& cell, RateKind& kind);

enum class PeriodBound { Start, End };

// Reads one date written as "xxxD miesiąca YYYY..." (the day also as "09") and stores it as the
// period's start (and, provisionally, its end as the moment of reading) or as its end. Stores
// nothing and answers false when no month name stands where the day's width puts it; stores
// mktime's failure value and answers false for a date that has no instant.
bool ReadPeriodDate(const char16_t* text, RatePeriod& period, PeriodBound bound);

}  // namespace vistrel
