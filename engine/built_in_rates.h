// The published history of the late-payment interest rate, compiled in from
// data/rate-history.tsv, for a calculation that needs no rate page: the same periods the bundled
// page lists, read into a RateTable as the parser reads that page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/rate_table.h"

namespace vistrel {

// One period as published: its first day and its rate; it lasts until the next one begins.
struct PublishedRate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;
    double rate = 0.0;  // as published, unscaled
    RateKind kind = RateKind::Annual;  // Annual, or DailyStar for the rates per day
};

// Oldest period first, as the history file lists them.
std::span<const PublishedRate> BuiltInRateHistory();

// Fills `table` from index 0, newest period first, exactly as ParseRatePage fills it from a page
// written from the same history (the page's header row apart): each period from the local
// midnight of its first day to the midnight after its last, the newest one open until `now`,
// with the daylight-saving flag of `now`. Records past the history keep the kind None. Answers
// the number of periods written (at most RateTableCapacity, the newest ones).
std::size_t FillBuiltInRateTable(RateTable& table, std::int32_t now);

}  // namespace vistrel
