// The rate-page parser as it stood before its speed-up, kept unchanged to compare against.
// Reads the rows of the finance ministry's rate page into a RateTable.
//
// The page is a small subset of HTML: a row is "<tr>" followed by two cells "<td><p>...</p></td>",
// the rate cell ("13,00%", "0,05%*") and the period cell ("od 9 maja 2013 r.<BR>do 5 czerwca 2013
// r."). Everything else is passed over.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/rate_table.h"

namespace vistrel::test::reference {

inline constexpr std::size_t CellTextCapacity = 256;  // terminator included
using CellText = std::array<char16_t, CellTextCapacity>;

// Polish month names in the genitive, in calendar order (index = tm_mon).
extern const std::array<std::u16string_view, 12> MonthNamesGenitive;

struct CellReadResult {
    bool found = false;
    std::size_t advance =
        0;  // from the start of the text to just past the cell closing; 0 when not found
    std::size_t copied = 0;  // characters copied into the buffer (at most CellTextCapacity - 1)
};

// Finds the first complete cell in `text`, copies its text into `cell` (a percent sign becomes a
// terminator, the percent signs and asterisks set `kind`; the last percent sign decides).
CellReadResult ReadCell(std::u16string_view text, CellText& cell, RateKind& kind);

// Replaces every comma of a terminated string by a point, in place.
void CommaToPoint(char16_t* text);

enum class PeriodBound { Start, End };

// Reads one date written as "xxxD miesiąca YYYY..." (the day also as "09") and stores it as the
// period's start (and, provisionally, its end as the moment of reading) or as its end. Stores
// nothing and answers false when no month name stands where the day's width puts it; stores
// mktime's failure value and answers false for a date that has no instant.
bool ReadPeriodDate(const char16_t* text, RatePeriod& period, PeriodBound bound);

// What the parser made of one row of the page, for a caller that wants to tell a closed period
// from an open one or name the rows it could not read.
struct RowReading {
    std::size_t begin = 0;    // where the row marker stands on the page
    std::size_t end = 0;      // just past the last cell read for the row
    bool rateMarked = false;  // a percent sign gave the rate a kind
    bool rateRead = false;    // a number stood before the percent sign
    bool startRead = false;   // the period's first day was read
    bool endRead = false;     // an end date was read: the period is closed
    bool endUnread = false;   // the period cell breaks the line, but no end date after it was read

    // Something marks the row as a rate period, but not all of it could be read.
    bool IsIncomplete() const {
        const bool looksLikeAPeriod = rateMarked || startRead;
        return looksLikeAPeriod && !(rateMarked && rateRead && startRead && !endUnread);
    }
    // The page gives the period a first day and no last day.
    bool IsOpen() const { return startRead && !endRead; }
};

// Fills `table` from index 0 with one record per row of the page. Never fails: what cannot be
// read is left out, and a record whose first day was not read gets the kind None. At most
// RateTableCapacity rows are read. Answers one reading per record filled, in table order.
std::vector<RowReading> ParseRatePage(std::u16string_view page, RateTable& table);

}  // namespace vistrel::test::reference
