// The table of late-payment interest periods as the rate page lists them, newest first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vistrel {

// The percent sign and the asterisks after a rate decide its kind.
enum class RateKind : std::int32_t {
    None = -1,          // no usable rate: the calculation skips the record
    Annual = 0,         // percent per year
    DailyStar = 1,      // percent per day, marked "%*"
    DailyTwoStars = 2,  // percent per day, marked "%**" (or "%x*")
};

struct RatePeriod {
    std::int32_t start = 0;  // local midnight that begins the period's first day
    std::int32_t end =
        0;  // midnight after the last day, or the moment of reading for an open period
    RateKind kind = RateKind::None;
    double rate = 0.0;  // the number as the page writes it, unscaled
};

inline constexpr std::size_t RateTableCapacity = 200;

// Created with every field cleared: kind None, start = end = 0, rate 0.0.
using RateTable = std::array<RatePeriod, RateTableCapacity>;

}  // namespace vistrel
