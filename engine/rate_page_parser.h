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

namespace vistrel {

// Polish month names in the genitive, in calendar order (index = tm_mon).
extern const std::array<std::u16string_view, 12> MonthNamesGenitive;

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
    bool endFromNewerRow = false;  // no end date read: the period ends where the row above begins

    // Something marks the row as a rate period, but not all of it could be read.
    bool IsIncomplete() const {
        const bool looksLikeAPeriod = rateMarked || startRead;
        return looksLikeAPeriod && !(rateMarked && rateRead && startRead && !endUnread);
    }
    // The page gives the period a first day and no last day, and no row above it ends it.
    bool IsOpen() const { return startRead && !endRead && !endFromNewerRow; }
};

// Fills `table` from index 0 with one record per row of the page. Never fails: what cannot be
// read is left out, and a record whose first day or rate was not read gets the kind None. A
// period other than the newest whose last day can't be read ends where the row above it begins
// (kind None when that row's first day was not read either). At most RateTableCapacity rows are
// read. Answers one reading per record filled, in table order.
std::vector<RowReading> ParseRatePage(std::u16string_view page, RateTable& table);

}  // namespace vistrel
