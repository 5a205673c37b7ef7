// Whole runs of the calculator over the bundled rate page, with "now" pinned.
#include "tools/calculator_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "tools/rate_page_file.h"

namespace vistrel::tools {
namespace {

const std::filesystem::path BundledPage = VISTREL_BUNDLED_RATE_PAGE;

// The bundled page named with --strona, unless the case names a page of its own.
CliOutput RunOnBundledPage(const std::vector<std::string>& arguments) {
    std::vector<std::string> withPage = arguments;
    if (std::none_of(arguments.begin(), arguments.end(),
                     [](const std::string& a) { return a.starts_with("--strona"); })) {
        withPage.insert(withPage.begin(), "--strona=" + BundledPage.string());
    }
    return RunCalculatorCli(withPage);
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
        output.out.find("od 2022-09-08 do 2022-09-10   16,50% rocznie         3          13,56 zł"),
        std::string::npos)
        << output.out;
    EXPECT_NE(
        output.out.find("od 2022-09-02 do 2022-09-07   16,00% rocznie         6          26,30 zł"),
        std::string::npos)
        << output.out;
    EXPECT_NE(output.out.find("Odsetki:                  39,86 zł\n"), std::string::npos);
    EXPECT_NE(output.out.find("Odsetki zaokrąglone:      40 zł\n"), std::string::npos);
}

// Each row names the days of delay it counts, not the whole span of its rate period.
TEST(RunCalculatorCli, ShowsTheDaysEachPeriodCounts) {
    const CliOutput output =
        RunOnBundledPage({"--teraz=2026-12-08T12:00:00", "2026-03-04", "2026-03-14", "1000"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(output.out.find("od 2026-03-05 do 2026-03-14   10,50% rocznie        10"),
              std::string::npos)
        << output.out;
}

// A page written for one test, removed again after it.
class TemporaryPage {
public:
    TemporaryPage(const std::string& name, const std::string& latin2)
        : path_(std::filesystem::temp_directory_path() / ("vistrel-" + name + ".html")) {
        std::ofstream(path_, std::ios::binary) << latin2;
    }
    ~TemporaryPage() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TemporaryPage(const TemporaryPage&) = delete;
    TemporaryPage& operator=(const TemporaryPage&) = delete;

    std::string Option() const { return "--strona=" + path_.string(); }

private:
    std::filesystem::path path_;
};

std::string PageRow(const std::string& rate, const std::string& period) {
    return "<tr>\n<td><p>" + rate + "</p></td>\n<td><p>" + period + "</p></td>\n</tr>\n";
}

struct FailureCase {
    const char* name;
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
    std::string page = {};  // a page of the case's own (Latin-2), read in place of the bundled one

    // Without it GoogleTest prints the case's raw bytes, padding (never written) included.
    friend void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.name; }
};

class FailingRuns : public testing::TestWithParam<FailureCase> {};

TEST_P(FailingRuns, ExplainOnStandardErrorAndWriteNothingElse) {
    std::vector<std::string> arguments = GetParam().arguments;
    std::optional<TemporaryPage> page;
    if (!GetParam().page.empty()) {
        page.emplace(GetParam().name, GetParam().page);
        arguments.insert(arguments.begin(), page->Option());
    }
    const CliOutput output = RunOnBundledPage(arguments);
    EXPECT_EQ(output.exitCode, GetParam().exitCode);
    EXPECT_EQ(output.out, "");
    EXPECT_TRUE(output.err.starts_with("Błąd: ")) << output.err;
    EXPECT_NE(output.err.find(GetParam().message), std::string::npos) << output.err;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FailingRuns,
    testing::Values(
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
                    ExitNoRate,
                    "Na stronie nie ma żadnego okresu ze stopą odsetek: "},
        FailureCase{"BeforeTheOldestPeriod",
                    {"--teraz=1796727600", "--bez-przesuniecia", "1993-02-27", "2009-07-20", "1"},
                    ExitNoRate,
                    "nie podaje stopy na dzień po dacie należności 1993-02-27"},
        // No row for April 2025 and none for 1 June: 46 of the 77 days of delay (26 March to
        // 10 June) have a rate, the rest would silently cost nothing.
        FailureCase{"DaysWithoutARate",
                    {"--teraz=2026-12-08T12:00:00", "2025-03-25", "2025-06-10", "1000"},
                    ExitNoRate,
                    "Błąd: Brak stopy odsetek dla części okresu zwłoki (od 2025-04-01 do "
                    "2025-04-30, 2025-06-01), więc odsetek nie można obliczyć.\n",
                    PageRow("Stopa", "Okres") + PageRow("36,50%", "od 2 czerwca 2025") +
                        PageRow("36,50%", "od 1 maja 2025<BR>do 31 maja 2025") +
                        PageRow("73,00%", "od 1 marca 2025<BR>do 31 marca 2025")}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// Read at midnight, the open period ends a whole number of days after its start, like a closed
// one; each row names the days of delay it counts all the same.
TEST(RunCalculatorCli, ShowsTheDaysEachPeriodCountsWhenReadAtMidnight) {
    const CliOutput open =
        RunOnBundledPage({"--teraz=2026-12-08T00:00:00", "2026-03-04", "2026-03-14", "1000"});
    ASSERT_EQ(open.exitCode, ExitSuccess) << open.err;
    EXPECT_NE(open.out.find("od 2026-03-05 do 2026-03-14   10,50% rocznie        10"),
              std::string::npos)
        << open.out;
    const CliOutput closed =
        RunOnBundledPage({"--teraz=2026-12-08T00:00:00", "2025-07-02", "2025-07-12", "1000"});
    ASSERT_EQ(closed.exitCode, ExitSuccess) << closed.err;
    EXPECT_NE(closed.out.find("od 2025-07-03 do 2025-07-12   13,00% rocznie        10"),
              std::string::npos)
        << closed.out;
}

TEST(RunCalculatorCli, WritesTheAmountInPolishForm) {
    const CliOutput output =
        RunOnBundledPage({"--teraz=2026-12-08T12:00:00", "2023-01-10", "2023-01-20", "1234567,8"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(output.out.find("Kwota:                    1 234 567,80 zł\n"), std::string::npos)
        << output.out;
}

// The page's newest period is closed; the payment comes after it: the period runs on to the
// payment, and the report says so.
TEST(RunCalculatorCli, APeriodThatRunsOnPastItsEndEndsAtThePaymentDate) {
    const TemporaryPage page("closed-newest",
                             PageRow("Stopa", "Okres") +
                                 PageRow("36,50%", "od 1 maja 2025<BR>do 31 maja 2025") +
                                 PageRow("73,00%", "od 1 kwietnia 2025<BR>do 30 kwietnia 2025"));
    const CliOutput output = RunOnBundledPage(
        {"--teraz=2026-12-08T12:00:00", page.Option(), "2025-04-25", "2025-06-10", "1000"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(
        output.out.find("od 2025-05-01 do 2025-06-10   36,50% rocznie        41          41,00 zł"),
        std::string::npos)
        << output.out;
    EXPECT_NE(
        output.out.find("od 2025-04-26 do 2025-04-30   73,00% rocznie         5          10,00 zł"),
        std::string::npos)
        << output.out;
    EXPECT_NE(output.out.find("Odsetki:                  51,00 zł\n"), std::string::npos)
        << output.out;
}

// The calculation goes on without the rows it can't read, and names them.
TEST(RunCalculatorCli, NamesTheRowsItCouldNotReadAndImplausibleRates) {
    const std::string longText(80, 'x');
    const TemporaryPage page(
        "unreadable-rows",
        PageRow("Stopa", "Okres") + PageRow("1500,00%", "od 1 czerwca 2025") +
            PageRow("36,50%", "od 1 maja 2025<BR>do 31 maj 2025") +
            PageRow("abc%", "od 1 kwietnia 2025<BR>do 30 kwietnia 2025") +
            PageRow("36,50%", "od 1 marca 202 " + longText + "<BR>do 31 marca 2025") +
            PageRow("36,50%", "od 1 lutego 2025<BR>do 28 lutego 2025"));
    const CliOutput output = RunOnBundledPage({"--teraz=2026-12-08T12:00:00", "--maszynowo",
                                               page.Option(), "2025-01-31", "2025-02-10", "1000"});
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(output.out, "odsetki=10.0 zaokraglone=10 dni=10\n");
    EXPECT_EQ(output.err,
              "Uwaga: wiersz 2 tabeli stóp podaje stopę powyżej 1 000%, a obliczenie ją przyjmuje: "
              "„1500,00% od 1 czerwca 2025”\n"
              "Uwaga: wiersz 3 tabeli stóp nie dał się odczytać w całości, więc odsetki mogą "
              "pominąć jego okres: „36,50% od 1 maja 2025 do 31 maj 2025”\n"
              "Uwaga: wiersz 4 tabeli stóp nie dał się odczytać w całości, więc odsetki mogą "
              "pominąć jego okres: „abc% od 1 kwietnia 2025 do 30 kwietnia 2025”\n"
              "Uwaga: wiersz 5 tabeli stóp nie dał się odczytać w całości, więc odsetki mogą "
              "pominąć jego okres: „36,50% od 1 marca 202 " +
                  std::string(37, 'x') + "…”\n");
}

TEST(RunCalculatorCli, APageWhoseCellNeverClosesHasNoPeriod) {
    const TemporaryPage page("unclosed-cell", "<table><tr><td><p>13,00%</p></td><td><p>od 1 maja");
    const CliOutput output = RunOnBundledPage({page.Option(), "2025-01-31", "2025-02-10", "1000"});
    EXPECT_EQ(output.exitCode, ExitNoRate);
    EXPECT_NE(output.err.find("Błąd: Na stronie nie ma żadnego okresu ze stopą odsetek: "),
              std::string::npos)
        << output.err;
}

TEST(RunCalculatorCli, RefusesANegativeAmountAndOneAboveTenToTheThirteenth) {
    const CliOutput negative = RunOnBundledPage({"2023-01-10", "2023-01-20", "-5"});
    EXPECT_EQ(negative.exitCode, ExitBadArguments);
    EXPECT_EQ(negative.out, "");
    EXPECT_EQ(negative.err,
              "Błąd: Kwota „-5” jest ujemna, a odsetki liczy się od kwoty zaległości.\n");
    const CliOutput large = RunOnBundledPage({"2023-01-10", "2023-01-20", "12345678901234567890"});
    EXPECT_EQ(large.exitCode, ExitBadArguments);
    EXPECT_EQ(large.out, "");
    EXPECT_NE(large.err.find("przekracza 10 000 000 000 000 zł"), std::string::npos) << large.err;
}

// A folder that can't be entered hides the file: the page can't be read, which is not "no file".
TEST(ReadRatePageFile, TellsAFileThatIsNotThereFromOneThatCannotBeLookedAt) {
    EXPECT_TRUE(MeansNoSuchFile(std::make_error_code(std::errc::no_such_file_or_directory)));
    EXPECT_TRUE(MeansNoSuchFile(std::make_error_code(std::errc::not_a_directory)));
    EXPECT_FALSE(MeansNoSuchFile(std::make_error_code(std::errc::permission_denied)));
    EXPECT_FALSE(MeansNoSuchFile(std::make_error_code(std::errc::io_error)));
    EXPECT_EQ(ReadRatePageFile(BundledPage / "strona.html", "x").error,
              "Nie ma pliku strony ze stopami odsetek: x");
}

TEST(RunCalculatorCli, PrintsHelpInPolish) {
    const CliOutput output = RunOnBundledPage({"--pomoc"});
    EXPECT_EQ(output.exitCode, ExitSuccess);
    EXPECT_NE(output.out.find("kalkulator-odsetek [opcje] DATA_NALEŻNOŚCI DATA_ZAPŁATY KWOTA"),
              std::string::npos);
}

}  // namespace
}  // namespace vistrel::tools
