// How long a list of 100 000 debts takes, from the list's text to the lines with the figures,
// over the bundled rate page. No threshold: it prints the median of 5 runs and the rows per
// second, for comparing one build with another (the aim is under a second natively).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "benchmarks/benchmark_pages.h"
#include "tools/calculator_options.h"
#include "rules/case_calculation.h"
#include "tools/debt_list.h"
#include "tools/debt_list_run.h"
#include "tools/rate_freshness.h"

namespace {

using namespace vistrel::tools;

constexpr std::int32_t ReadingMoment = 1796727600;  // 2026-12-08 11:00 UTC
constexpr int Rows = 100'000;
constexpr int Runs = 5;

// Due dates over 2010-2025, payments 1 to 800 days later, amounts of every size.
std::string ListOfDebts() {
    std::string text = "należność;zapłata;kwota\n";
    const std::chrono::sys_days first{std::chrono::year{2010} / 1 / 4};
    for (int i = 0; i < Rows; ++i) {
        const std::chrono::sys_days due = first + std::chrono::days{(i * 37) % 5800};
        const std::chrono::sys_days paid = due + std::chrono::days{1 + (i * 13) % 800};
        const auto date = [](std::chrono::sys_days day) {
            const std::chrono::year_month_day ymd{day};
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                          static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
            return std::string(buffer);
        };
        text += date(due) + ";" + date(paid) + ";" + std::to_string(100 + (i * 7919) % 900000) +
                ",45\n";
    }
    return text;
}

}  // namespace

int main() {
    const vistrel::PinnedClock clock(ReadingMoment);
    vistrel::rules::RateSource rates;
    rates.readings =
        vistrel::ParseRatePage(BundledRatePage(VISTREL_BUNDLED_RATE_PAGE), rates.table);
    rates.newestStart = NewestPeriodStart(rates.table);
    const ListText list = DecodeListText(ListOfDebts());
    CalculatorOptions options;
    std::vector<double> seconds;
    std::size_t failed = 0;
    for (int run = 0; run < Runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const DebtListResult result = ComputeDebtList(rates, list, options, ReadingMoment, {});
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        failed = result.failedRows;
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[Runs / 2];
    std::printf(
        "list of %d debts: %.3f s (median of %d runs, %.0f rows/s, %zu rows unread)   "
        "(goal: under 1 s)\n",
        Rows, median, Runs, Rows / median, failed);
    return 0;
}
