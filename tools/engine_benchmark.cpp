// How long the engine takes to read a rate page and to walk a full table. No thresholds: the
// numbers are for comparing one build with another.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/latin2.h"

namespace {

std::u16string BundledPage() {
    std::ifstream file(VISTREL_BUNDLED_RATE_PAGE, std::ios::binary);
    if (!file) {
        throw std::runtime_error("bundled rate page missing: " VISTREL_BUNDLED_RATE_PAGE);
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return vistrel::tools::DecodeLatin2(bytes);
}

std::u16string Digits(int value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

std::u16string DateText(int year, int month, int day) {
    return Digits(day) + u" " + std::u16string(vistrel::MonthNamesGenitive[month - 1]) + u" " +
           Digits(year) + u" r.";
}

int DaysInMonth(int year, int month) {
    const std::chrono::year_month_day_last last{std::chrono::year{year} /
                                                std::chrono::month{static_cast<unsigned>(month)} /
                                                std::chrono::last};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

// The open period ends "now": every run reads the pages at the same moment.
constexpr std::int32_t ReadingMoment = 1796727600;  // 2026-12-08 11:00 UTC

// 200 rows of one month each, newest first, ending with January 2025: the table's full capacity.
std::u16string FullPage() {
    std::u16string page = u"<html><body><table>\n";
    for (int row = 0; row < static_cast<int>(vistrel::RateTableCapacity); ++row) {
        const int monthIndex = 2025 * 12 - row;  // months since year 0, January 2025 = 2025 * 12
        const int year = monthIndex / 12;
        const int month = monthIndex % 12 + 1;
        const int lastDay = DaysInMonth(year, month);
        page += u"<tr>\n<td><p>" + Digits(8 + row % 9) + u",50%</p></td>\n<td><p>od " +
                DateText(year, month, 1) + u"<BR>do " + DateText(year, month, lastDay) +
                u"</p></td>\n</tr>\n";
    }
    return page + u"</table></body></html>\n";
}

void ParseBundledPage(benchmark::State& state) {
    const std::u16string page = BundledPage();
    const vistrel::PinnedClock clock(ReadingMoment);
    for (auto _ : state) {
        vistrel::RateTable table{};
        vistrel::ParseRatePage(page, table);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(ParseBundledPage);

void ParseFullPage(benchmark::State& state) {
    const std::u16string page = FullPage();
    const vistrel::PinnedClock clock(ReadingMoment);
    for (auto _ : state) {
        vistrel::RateTable table{};
        vistrel::ParseRatePage(page, table);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(ParseFullPage);

// From the oldest period's first day to the newest one's last: every row contributes.
void ComputeInterestOverFullTable(benchmark::State& state) {
    const vistrel::PinnedClock clock(ReadingMoment);
    vistrel::RateTable table{};
    vistrel::ParseRatePage(FullPage(), table);
    const std::int32_t due = table[vistrel::RateTableCapacity - 1].start;
    const std::int32_t payment = table[0].end;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vistrel::ComputeInterest(table, due, payment, 10000.0));
    }
}
BENCHMARK(ComputeInterestOverFullTable);

}  // namespace
