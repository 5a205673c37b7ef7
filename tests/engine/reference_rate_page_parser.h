// The rate-page parser as it stood before its speed-up, kept unchanged to compare against.
// Reads the rows of the finance ministry's rate page into a RateTable.
//
// The page is a small subset of HTML: a row is "<tr>" followed by two cells "<td><p>...</p></td>",
// the rate cell ("13,00%", "0,05%*") and the period cell ("od 9 maja 2013 r.<BR>do 5 czerwca 2013 r.").
// Everything else is passed over.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "engine/rate_table.h"

namespace vistrel::test::reference {

inline constexpr std::size_t CellTextCapacity = 256;  // terminator included
using CellText = std::array<char16_t, CellTextCapacity>;

// Polish month names in the genitive, in calendar order (index = tm_mon).
extern const std::array<std::u16string_view, 12> MonthNamesGenitive;

struct CellReadResult {
    bool found = false;
    std::size_t advance = 0;  // from the start of the text to just past the cell closing; 0 when not found
    std::size_t copied = 0;   // characters copied into the buffer (at most CellTextCapacity - 1)
};

// Finds the first complete cell in `text`, copies its text into `cell` (a percent sign becomes a
// terminator, the percent signs and asterisks set `kind`; the last percent sign decides).
CellReadResult ReadCell(std::u16string_view text, CellText& cell, RateKind& kind);

// Replaces every comma of a terminated string by a point, in place.
void CommaToPoint(char16_t* text);

enum class PeriodBound { Start, End };

// Reads one date written as "xxxD miesiąca YYYY..." (the day also as "09") and stores it as the
// period's start (and, provisionally, its end as the moment of reading) or as its end. Stores
// nothing and answers false when no month name stands where the day's width puts it.
bool ReadPeriodDate(const char16_t* text, RatePeriod& period, PeriodBound bound);

// Fills `table` from index 0 with one record per row of the page. Never fails: what cannot be
// read is left out, and a record whose first day was not read gets the kind None. At most
// RateTableCapacity rows are read.
void ParseRatePage(std::u16string_view page, RateTable& table);

}  // namespace vistrel::test::reference
