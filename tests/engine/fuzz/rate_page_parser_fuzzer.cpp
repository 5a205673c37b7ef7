// The rate-page parser on arbitrary UTF-16 text (the input's bytes taken in pairs, low byte
// first): it writes only the table's 200 records, and every record it leaves is one that the
// interest walk can take.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tests/engine/fuzz/utf16_input.h"

namespace {

using vistrel::RateKind;
using vistrel::RatePeriod;
using vistrel::RateTable;

// The table between two guard records, so that a write past either end shows.
struct GuardedTable {
    RatePeriod before;
    RateTable table;
    RatePeriod after;
};

bool IsKnownKind(RateKind kind) {
    switch (kind) {
    case RateKind::None:
    case RateKind::Annual:
    case RateKind::DailyStar:
    case RateKind::DailyTwoStars: return true;
    }
    return false;
}

bool SameBytes(const RatePeriod& left, const RatePeriod& right) {
    return std::memcmp(&left, &right, sizeof left) == 0;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string page = vistrel::test::Utf16FromBytes(data, size);

    RatePeriod guard{};
    std::memset(&guard, 0xA5, sizeof guard);
    GuardedTable guarded{guard, RateTable{}, guard};
    vistrel::ParseRatePage(page, guarded.table);
    Require(SameBytes(guarded.before, guard));
    Require(SameBytes(guarded.after, guard));

    for (const RatePeriod& period : guarded.table) {
        Require(IsKnownKind(period.kind));
        // A rate is a number the walk can multiply: never NaN (infinity, from a rate written
        // with a huge exponent, makes a non-finite interest that the callers refuse).
        Require(!std::isnan(period.rate));
    }
    return 0;
}
