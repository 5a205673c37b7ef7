// How long the engine takes to read rate pages and to walk a full table, beside a plain single
// pass over the same pages in the same process. No thresholds: it prints the figures and the
// ratios between them, medians of 10 runs, for comparing one build with another.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "benchmarks/benchmark_pages.h"

namespace {

using vistrel::tools::BundledRatePage;
using vistrel::tools::FullRatePage;
using vistrel::tools::PageOfUnclosedCells;
using vistrel::tools::PageWithCelllessRows;

constexpr int Repetitions = 10;

// The open period ends "now": every run reads the pages at the same moment.
constexpr std::int32_t ReadingMoment = 1796727600;  // 2026-12-08 11:00 UTC

const std::u16string& RealPage() {
    static const std::u16string page = BundledRatePage(VISTREL_BUNDLED_RATE_PAGE);
    return page;
}

const std::u16string& Page(const std::string& name) {
    static std::map<std::string, std::u16string> pages;
    auto found = pages.find(name);
    if (found != pages.end()) return found->second;
    std::u16string page;
    if (name == "real") page = RealPage();
    if (name == "200 rows") page = FullRatePage();
    if (name == "10 KB cell-less rows") page = PageWithCelllessRows(RealPage(), 10 * 1024);
    if (name == "100 KB cell-less rows") page = PageWithCelllessRows(RealPage(), 100 * 1024);
    if (name == "16 MiB unclosed cells") page = PageOfUnclosedCells();
    return pages.emplace(name, std::move(page)).first->second;
}

void Parse(benchmark::State& state, const std::string& name) {
    const std::u16string& page = Page(name);
    const vistrel::PinnedClock clock(ReadingMoment);
    for (auto _ : state) {
        vistrel::RateTable table{};
        vistrel::ParseRatePage(page, table);
        benchmark::DoNotOptimize(table);
    }
    state.counters["chars"] = static_cast<double>(page.size());
}

void SinglePass(benchmark::State& state, const std::string& name) {
    const std::u16string& page = Page(name);
    for (auto _ : state) benchmark::DoNotOptimize(vistrel::tools::SinglePassDigest(page));
}

void ScanForMarkup(benchmark::State& state, const std::string& name) {
    const std::u16string& page = Page(name);
    for (auto _ : state) benchmark::DoNotOptimize(vistrel::tools::CountMarkupStarts(page));
}

// From the oldest period's first day to the newest one's last: every row contributes.
void ComputeInterestOverFullTable(benchmark::State& state) {
    const vistrel::PinnedClock clock(ReadingMoment);
    vistrel::RateTable table{};
    vistrel::ParseRatePage(FullRatePage(), table);
    const std::int32_t due = table[vistrel::RateTableCapacity - 1].start;
    const std::int32_t payment = table[0].end;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vistrel::ComputeInterest(table, due, payment, 10000.0));
    }
}

void Register() {
    const auto repeated = [](benchmark::internal::Benchmark* b) {
        b->Repetitions(Repetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
    };
    for (const char* name : {"real", "200 rows", "10 KB cell-less rows", "100 KB cell-less rows"}) {
        repeated(benchmark::RegisterBenchmark((std::string("Parse/") + name).c_str(), Parse, name));
    }
    benchmark::RegisterBenchmark("Parse/16 MiB unclosed cells", Parse, "16 MiB unclosed cells")
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
    for (const char* name : {"real", "200 rows"}) {
        repeated(benchmark::RegisterBenchmark((std::string("SinglePass/") + name).c_str(),
                                              SinglePass, name));
        repeated(benchmark::RegisterBenchmark((std::string("ScanForMarkup/") + name).c_str(),
                                              ScanForMarkup, name));
    }
    repeated(
        benchmark::RegisterBenchmark("ComputeInterestOverFullTable", ComputeInterestOverFullTable));
}

// Keeps the medians for the ratios printed at the end.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median") continue;
            medians_[run.run_name.function_name] = {run.GetAdjustedRealTime() * Scale(run),
                                                    run.GetAdjustedCPUTime() * Scale(run)};
        }
    }

    struct Median {
        double real = 0.0;  // nanoseconds
        double cpu = 0.0;
    };

    // Zeros when the benchmark did not run (filtered out).
    Median Of(const std::string& name) const {
        const auto found = medians_.find(name);
        return found == medians_.end() ? Median{} : found->second;
    }

private:
    static double Scale(const Run& run) {
        switch (run.time_unit) {
        case benchmark::kNanosecond: return 1.0;
        case benchmark::kMicrosecond: return 1e3;
        case benchmark::kMillisecond: return 1e6;
        default: return 1e9;
        }
    }

    std::map<std::string, Median> medians_;
};

void PrintRatio(const MedianCollector& medians, const char* what, const std::string& numerator,
                const std::string& denominator, const char* goal) {
    const auto top = medians.Of(numerator);
    const auto bottom = medians.Of(denominator);
    if (top.real == 0.0 || bottom.real == 0.0 || bottom.cpu == 0.0) return;
    std::printf("%-44s %7.2fx real %7.2fx CPU   (goal: %s)\n", what, top.real / bottom.real,
                top.cpu / bottom.cpu, goal);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Register();
    MedianCollector medians;
    benchmark::RunSpecifiedBenchmarks(&medians);

    std::printf("\nRatios of medians:\n");
    PrintRatio(medians, "real page: parse / single pass", "Parse/real", "SinglePass/real",
               "at most 3x");
    PrintRatio(medians, "200-row page: parse / single pass", "Parse/200 rows",
               "SinglePass/200 rows", "at most 3x");
    PrintRatio(medians, "real page: parse / scan for '<'", "Parse/real", "ScanForMarkup/real",
               "none; was 175x");
    PrintRatio(medians, "cell-less rows: 100 KB / 10 KB", "Parse/100 KB cell-less rows",
               "Parse/10 KB cell-less rows", "at most 10x");
    const auto unclosed = medians.Of("Parse/16 MiB unclosed cells");
    if (unclosed.real != 0.0) {
        std::printf("%-44s %7.3f s real %7.3f s CPU   (goal: under 1 s)\n",
                    "16 MiB page of unclosed cells", unclosed.real / 1e9, unclosed.cpu / 1e9);
    }
    benchmark::Shutdown();
    return 0;
}
