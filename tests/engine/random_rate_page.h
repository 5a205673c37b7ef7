// Rate pages made up from a seed: well-formed rows and every oddity the parser must read alike,
// random markup, letter case and cut-offs. The same seed gives the same page on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/rate_table.h"

namespace vistrel::test {

// A small generator whose sequence is fixed by its seed (xorshift64*), with no library
// distribution in between, so that every platform sees the same pages.
class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}

    std::uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    // A number from 0 to bound - 1.
    std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }
    bool Chance(std::uint32_t percent) { return Below(100) < percent; }
    int Between(int low, int high) {
        return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1)));
    }

private:
    std::uint64_t state_;
};

// One page; `seed` picks everything about it.
std::u16string RandomRatePage(std::uint64_t seed);

// A table of random records as a parser might leave one, or as no parser would.
RateTable RandomRateTable(SeededRandom& random);

}  // namespace vistrel::test
