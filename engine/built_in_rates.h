// The published history of the late-payment interest rate, carried by the program itself
// (written at build time from data/rate-history.tsv), for a computer that cannot reach the
// ministry's rate page.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "engine/rate_table.h"

namespace vistrel {

enum class PublishedRateUnit { PerYear, PerDay };

// One period of the history: its first day and its rate as published.
struct PublishedRate {
    int year;
    int month;  // 1..12
    int day;
    double rate;  // percent per year or per day, as published
    PublishedRateUnit unit;
};

// Every period, oldest first.
std::span<const PublishedRate> PublishedRateHistory() noexcept;

// The first day of the newest period: the last change the built-in table knows of.
std::chrono::year_month_day BuiltInRatesLastChange() noexcept;

// Fills `table` as the rate page written from the same history reads: one record per period
// from index 0, newest first; each period ends where the next newer one begins and the newest
// is open until `now`; a per-day rate has the kind DailyStar. Instants are local midnights with
// the daylight-saving flag of `now`, as the parser makes them. The records after the history's
// are cleared. False, with the table cleared, when a date has no 32-bit instant.
bool FillBuiltInRateTable(RateTable& table, std::int32_t now);

}  // namespace vistrel
