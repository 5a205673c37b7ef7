// Whole runs of the calculator over the bundled rate page, with "now" pinned.
#include "tools/calculator_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace vistrel::tools {
namespace {

const std::filesystem::path BundledPage = VISTREL_BUNDLED_RATE_PAGE;

CliOutput RunOnBundledPage(const std::vector<std::string>& arguments) {
    return RunCalculatorCli(arguments, BundledPage);
}

struct RunCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* line;  // --maszynowo output
};

class BundledPageRuns : public testing::TestWithParam<RunCase> {};

TEST_P(BundledPageRuns, GiveTheHandComputedInterest) {
    std::vector<std::string> arguments = {"--maszynowo"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const CliOutput output = RunOnBundledPage(arguments);
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(output.out, GetParam().line);
    EXPECT_EQ(output.err, "");
}

// 16.5% from 2022-09-08: 10000 * 16.5 * 10 * 0.01 / 365 = 45.205...
// Across 2022-09-08: 6 days at 16% (26.301...) and 3 at 16.5% (13.561...) = 39.863...
// From 2024-12-31 to 2025-07-10: 127 days at 14.5%, 56 at 13.5%, 8 at 13%: 50.452... + 20.712...
//   + 2.849... = 74.01... on 1000.
// Only daylight-saving time differs between the two "now"s: the day counts stay the same.
INSTANTIATE_TEST_SUITE_P(
    Payments, BundledPageRuns,
    testing::Values(RunCase{"OnePeriodWinter",
                            {"--teraz=2026-12-08T12:00:00", "2023-01-10", "2023-01-20", "10000"},
                            "odsetki=45.2 zaokraglone=45 dni=10\n"},
                    RunCase{"OnePeriodSummer",
                            {"--teraz=2026-07-01T12:00:00", "2023-01-10", "2023-01-20", "10000"},
                            "odsetki=45.2 zaokraglone=45 dni=10\n"},
                    RunCase{"TwoPeriods",
                            {"--teraz=1796727600", "2022-09-01", "2022-09-10", "10000,00"},
                            "odsetki=39.9 zaokraglone=40 dni=9\n"},
                    RunCase{"ThreePeriods",
                            {"--teraz=2026-12-08T12:00:00", "2024-12-31", "2025-07-10", "1000"},
                            "odsetki=74.0 zaokraglone=74 dni=191\n"},
                    RunCase{"SameDay",
                            {"--teraz=2026-12-08T12:00:00", "2023-01-10", "2023-01-10", "10000"},
                            "odsetki=0.0 zaokraglone=0 dni=0\n"}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(RunCalculatorCli, ReportsEachPeriodInPolish) {
    const CliOutput output =
        RunOnBundledPage({"--teraz=2026-12-08T12:00:00", "2022-09-01", "2022-09-10", "10000"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(
        output.out.find("od 2022-09-08 do 2023-09-06   16.50% rocznie         3         13.56"),
        std::string::npos)
        << output.out;
    EXPECT_NE(
        output.out.find("od 2022-07-08 do 2022-09-07   16.00% rocznie         6         26.30"),
        std::string::npos)
        << output.out;
    EXPECT_NE(output.out.find("Odsetki:                  39.9\n"), std::string::npos);
    EXPECT_NE(output.out.find("Odsetki zaokrąglone:      40 zł\n"), std::string::npos);
}

TEST(RunCalculatorCli, ShowsTheNewestPeriodAsOpen) {
    const CliOutput output =
        RunOnBundledPage({"--teraz=2026-12-08T12:00:00", "2025-07-02", "2025-07-12", "1000"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(output.out.find("od 2025-07-03 (bez końca)     13.00% rocznie        10"),
              std::string::npos)
        << output.out;
}

struct FailureCase {
    const char* name;
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;

    // Without it GoogleTest prints the case's raw bytes, padding (never written) included.
    friend void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.name; }
};

class FailingRuns : public testing::TestWithParam<FailureCase> {};

TEST_P(FailingRuns, ExplainOnStandardErrorAndWriteNothingElse) {
    const CliOutput output = RunOnBundledPage(GetParam().arguments);
    EXPECT_EQ(output.exitCode, GetParam().exitCode);
    EXPECT_EQ(output.out, "");
    EXPECT_TRUE(output.err.starts_with("Błąd: ")) << output.err;
    EXPECT_NE(output.err.find(GetParam().message), std::string::npos) << output.err;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FailingRuns,
    testing::Values(
        FailureCase{"DueAfterPayment",
                    {"2023-01-21", "2023-01-20", "100"},
                    ExitBadArguments,
                    "Data Należności późniejsza od Daty Zapłaty!"},
        FailureCase{"WrongCount", {"2023-01-10"}, ExitBadArguments, "Oczekiwano trzech"},
        FailureCase{"MissingPage",
                    {"--strona=nie-ma-takiej-strony.html", "2023-01-10", "2023-01-20", "1"},
                    ExitUnreadablePage,
                    "Nie ma pliku strony ze stopami odsetek: nie-ma-takiej-strony.html"},
        FailureCase{"PageIsAFolder",
                    {"--strona=.", "2023-01-10", "2023-01-20", "1"},
                    ExitUnreadablePage,
                    "To nie jest zwykły plik"},
        FailureCase{"PageWithoutRates",
                    {"--strona=" + (BundledPage.parent_path() / "README.md").string(), "2023-01-10",
                     "2023-01-20", "1"},
                    ExitNoRate, "Na stronie nie ma żadnego okresu ze stopą odsetek: "},
        FailureCase{"BeforeTheOldestPeriod",
                    {"--teraz=1796727600", "2009-06-23", "2009-07-20", "1"},
                    ExitNoRate,
                    "nie podaje stopy na dzień po dacie należności 2009-06-23"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(RunCalculatorCli, PrintsHelpInPolish) {
    const CliOutput output = RunOnBundledPage({"--pomoc"});
    EXPECT_EQ(output.exitCode, ExitSuccess);
    EXPECT_NE(output.out.find("kalkulator-odsetek [opcje] DATA_NALEŻNOŚCI DATA_ZAPŁATY KWOTA"),
              std::string::npos);
}

}  // namespace
}  // namespace vistrel::tools
