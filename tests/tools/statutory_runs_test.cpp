// Whole runs over the bundled rate page with the statutory rules: the rate kinds, the threshold,
// the due date moved off a day off work, the Polish figures.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tools/calculator_cli.h"
#include "tools/exit_code.h"
#include "tools/polish_number.h"

namespace vistrel::tools {
namespace {

struct LineCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* line;

    friend void PrintTo(const LineCase& line, std::ostream* out) { *out << line.name; }
};

class StatutoryRuns : public testing::TestWithParam<LineCase> {};

TEST_P(StatutoryRuns, GiveTheHandComputedLine) {
    std::vector<std::string> arguments = {"--maszynowo", "--teraz=2026-12-08T12:00:00"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const CliOutput output = RunCalculatorCli(arguments);
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(output.out, GetParam().line);
}

// 2015-12-21 (Monday) to 2016-01-10 on 100 000 zł: 20 days at the basic 8%:
// 100000 * 8 * 20 / 36500 = 438.356...
// Reduced, no correction day: any correction in the 7 days before the payment falls in the first
// half of 2016, and arrears from before 2016 then get 50% for every day: 4% * 20 days = 219.178...
// Increased: the arrears arose in 2015, before the increased rate existed: the basic 438.356...
// Reduced with the correction filed 2014-06-02, paid 2014-06-05: 75% of 10% = 7,50%, 16 days
// from 2014-05-21: 100000 * 7.5 * 16 / 36500 = 328.767...
// Corrected 2013-01-02, paid 2013-01-03, due 2012-12-10: 24 days at 75% of 13,50% as
// announced, 10,13% (not 10,125%): 1000000 * 10.13 * 24 / 36500 = 6660.82 (6657.53 at 10,125%).
// Threshold, 10 days at 14.5% from 2024-01-10: 2190 zł gives 8.70 (not charged), 2188 zł 8.692
// (not charged), 2193 zł 8.7119 (charged). In March 2012 the threshold was 6,60 zł: 1554 zł
// for 10 days at 14% is 5.9605, not charged.
// 2016-10-07 to 2016-11-28 on 408 562,68 zł: 52 days at 8% = 4656.4952, which the law rounds
// once to 4 656 zł (its grosze, 4 656,50, would round up).
// Due 2023-04-08 is a Saturday before Easter: moved to Tuesday 2023-04-11, 10 days to
// 2023-04-21 at 16.5% on 10 000 zł = 45.205...; without the move 13 days = 58.767...; paid on
// Easter Monday, before the moved term, no day of delay; paid before the due date, none either.
INSTANTIATE_TEST_SUITE_P(
    Rules, StatutoryRuns,
    testing::Values(LineCase{"Basic",
                             {"2015-12-21", "2016-01-10", "100000"},
                             "odsetki=438.4 zaokraglone=438 dni=20\n"},
                    LineCase{"Reduced",
                             {"--stawka=obnizona", "2015-12-21", "2016-01-10", "100000"},
                             "odsetki=219.2 zaokraglone=219 dni=20\n"},
                    LineCase{"Increased",
                             {"--stawka=podwyższona", "2015-12-21", "2016-01-10", "100000"},
                             "odsetki=438.4 zaokraglone=438 dni=20\n"},
                    LineCase{"ReducedCorrectedIn2014",
                             {"--stawka=obnizona", "--korekta=2014-06-02", "2014-05-20",
                              "2014-06-05", "100000"},
                             "odsetki=328.8 zaokraglone=329 dni=16\n"},
                    LineCase{"ReducedAtTheAnnouncedRate",
                             {"--stawka=obnizona", "--korekta=2013-01-02", "2012-12-10",
                              "2013-01-03", "1000000"},
                             "odsetki=6660.8 zaokraglone=6661 dni=24\n"},
                    LineCase{"AtTheThreshold",
                             {"2024-01-10", "2024-01-20", "2190"},
                             "odsetki=8.7 zaokraglone=0 dni=10 prog=8.70\n"},
                    LineCase{"BelowTheThreshold",
                             {"2024-01-10", "2024-01-20", "2188"},
                             "odsetki=8.7 zaokraglone=0 dni=10 prog=8.70\n"},
                    LineCase{"AboveTheThreshold",
                             {"2024-01-10", "2024-01-20", "2193"},
                             "odsetki=8.7 zaokraglone=9 dni=10\n"},
                    LineCase{"BelowTheThresholdOf2012",
                             {"2012-03-01", "2012-03-11", "1554"},
                             "odsetki=6.0 zaokraglone=0 dni=10 prog=6.60\n"},
                    LineCase{"RoundedOnceFromTheExactSum",
                             {"2016-10-07", "2016-11-28", "408562,68"},
                             "odsetki=4656.5 zaokraglone=4656 dni=52\n"},
                    LineCase{"DueOnASaturday",
                             {"2023-04-08", "2023-04-21", "10000"},
                             "odsetki=45.2 zaokraglone=45 dni=10\n"},
                    LineCase{"DueOnASaturdayNotMoved",
                             {"--bez-przesuniecia", "2023-04-08", "2023-04-21", "10000"},
                             "odsetki=58.8 zaokraglone=59 dni=13\n"},
                    LineCase{"PaidBeforeTheMovedTerm",
                             {"2023-04-08", "2023-04-10", "10000"},
                             "odsetki=0.0 zaokraglone=0 dni=0\n"},
                    LineCase{"PaidBeforeTheDueDate",
                             {"2023-04-20", "2023-04-10", "10000"},
                             "odsetki=0.0 zaokraglone=0 dni=0\n"}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

// Cases the law as its sources state it does not settle are refused, saying what is open.
TEST(StatutoryRuns, RefuseWhatTheLawDoesNotSettle) {
    struct Case {
        std::vector<std::string> arguments;
        const char* says;
    };
    const Case cases[] = {
        {{"--stawka=obnizona", "--korekta=2010-01-02", "2008-06-02", "2010-01-05", "1000"},
         "przed 2009"},
        {{"--stawka=obnizona", "2015-06-01", "2016-01-05", "1000"}, "--korekta"},
        {{"--stawka=obnizona", "--korekta=2022-03-01", "2015-03-02", "2022-03-03", "1000"},
         "od 2022-02-09"},
        {{"--stawka=obnizona", "--korekta=2024-03-01", "2024-01-25", "2024-02-28", "1000"},
         "przed złożeniem korekty"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"--teraz=2026-12-08T12:00:00"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const CliOutput output = RunCalculatorCli(arguments);
        SCOPED_TRACE(c.says);
        EXPECT_EQ(output.exitCode, ExitUnsettled) << output.out;
        EXPECT_NE(output.err.find(c.says), std::string::npos) << output.err;
        EXPECT_TRUE(output.out.empty());
    }
}

TEST(StatutoryReport, SaysWhatTheRulesDid) {
    const CliOutput output = RunCalculatorCli(
        {"--teraz=2026-12-08T12:00:00", "--stawka=obnizona", "2015-12-20", "2016-01-10", "2190"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    for (const char* expected :
         {"Data należności:          2015-12-20 (niedziela, dzień wolny od pracy)\n",
          "Termin przesunięty na:    2015-12-21 (następny dzień roboczy",
          "Stawka:                   obniżona: 50% stawki podstawowej w każdym dniu zwłoki (art. "
          "19 ust. 3",
          "Przyjęte warunki:", "złożona do 30 czerwca 2016 r.",
          "Uwaga: dnia złożenia korekty nie podano", "4,00% rocznie (50% z 8,00%)",
          "od 2015-12-22 do 2015-12-31", "od 2016-01-01 do 2016-01-10",
          // 2190 * 4 * 20 / 36500 = 4.80
          "Odsetki:                  4,80 zł\n", "Odsetki do zapłaty:       0 zł\n",
          "Odsetek nie nalicza się: nie przekraczają 8,70 zł"}) {
        EXPECT_NE(output.out.find(expected), std::string::npos) << expected << "\n" << output.out;
    }
    EXPECT_EQ(output.out.find("zaokrąglone"), std::string::npos) << output.out;
    // The periods, oldest first.
    EXPECT_LT(output.out.find("od 2015-12-22"), output.out.find("od 2016-01-01"));
}

// Where the exact sum rounds to another złoty than its grosze would, the report shows it.
TEST(StatutoryReport, ShowsTheExactSumWhereItsGroszeWouldMislead) {
    const CliOutput output =
        RunCalculatorCli({"--teraz=2026-12-08T12:00:00", "2016-10-07", "2016-11-28", "408562,68"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(output.out.find("Odsetki:                  4 656,50 zł\n"), std::string::npos);
    EXPECT_NE(output.out.find("Odsetki dokładnie:        4 656,495202 zł\n"), std::string::npos)
        << output.out;
    EXPECT_NE(output.out.find("Odsetki zaokrąglone:      4 656 zł\n"), std::string::npos);
}

TEST(StatutoryReport, RefusesAnUnknownRateKind) {
    const CliOutput output = RunCalculatorCli({"--stawka=ulgowa", "2023-01-10", "2023-01-20", "1"});
    EXPECT_EQ(output.exitCode, ExitBadArguments);
    EXPECT_NE(output.err.find("podstawowa, obnizona albo podwyzszona"), std::string::npos);
}

// The built-in rates serve without --strona: the newest period begins 2026-03-05, and 120 days
// later is 2026-07-03, the last payment date without a warning.
TEST(BuiltInRates, NameTheNewestPeriodAndWarnPastOneHundredTwentyDays) {
    const CliOutput inTime =
        RunCalculatorCli({"--teraz=2026-12-08T12:00:00", "2026-06-23", "2026-07-03", "10000"});
    ASSERT_EQ(inTime.exitCode, ExitSuccess) << inTime.err;
    EXPECT_NE(inTime.out.find("Stopy: wbudowane (z historii stóp ogłaszanych przez Ministerstwo "
                              "Finansów), najnowszy okres od 2026-03-05.\n"),
              std::string::npos)
        << inTime.out;
    EXPECT_EQ(inTime.out.find("Uwaga"), std::string::npos) << inTime.out;

    const CliOutput late = RunCalculatorCli(
        {"--teraz=2026-12-08T12:00:00", "--wbudowane", "2026-06-23", "2026-07-04", "10000"});
    ASSERT_EQ(late.exitCode, ExitSuccess) << late.err;
    EXPECT_NE(late.out.find("Uwaga: data zapłaty 2026-07-04 wypada ponad 120 dni po 2026-03-05"),
              std::string::npos)
        << late.out;

    // 11 days at 10.5% on 10 000 zł = 31.643...; the warning goes to standard error.
    const CliOutput machine = RunCalculatorCli(
        {"--teraz=2026-12-08T12:00:00", "--maszynowo", "2026-06-23", "2026-07-04", "10000"});
    EXPECT_EQ(machine.out, "odsetki=31.6 zaokraglone=32 dni=11\n");
    EXPECT_NE(machine.err.find("ponad 120 dni po 2026-03-05"), std::string::npos) << machine.err;
}

// Read at the midnight that begins the newest period, the built-in rates still name it: it is
// the last change they know, though none of its days has passed yet.
TEST(BuiltInRates, NameTheNewestPeriodFromItsFirstMoment) {
    const CliOutput output =
        RunCalculatorCli({"--teraz=2026-03-05T00:00:00", "2026-02-23", "2026-03-04", "10000"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_NE(output.out.find("najnowszy okres od 2026-03-05.\n"), std::string::npos) << output.out;
}

TEST(BuiltInRates, ExcludeAPage) {
    const CliOutput output =
        RunCalculatorCli({"--wbudowane", "--strona=x.html", "2023-01-10", "2023-01-20", "1"});
    EXPECT_EQ(output.exitCode, ExitBadArguments);
    EXPECT_NE(output.err.find("--wbudowane i --strona wykluczają się"), std::string::npos);
}

struct NumberCase {
    double value;
    int decimals;
    const char* text;

    // Without it GoogleTest prints the case's raw bytes, padding (never written) included.
    friend void PrintTo(const NumberCase& number, std::ostream* out) { *out << number.text; }
};

class FormatPolishNumberCases : public testing::TestWithParam<NumberCase> {};

TEST_P(FormatPolishNumberCases, GroupsThousandsWithACommaForDecimals) {
    EXPECT_EQ(FormatPolishNumber(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatPolishNumberCases,
    testing::Values(NumberCase{3505.47, 2, "3 505,47"}, NumberCase{1072.6, 2, "1 072,60"},
                    NumberCase{14.5, 2, "14,50"}, NumberCase{-2500.5, 2, "-2 500,50"},
                    NumberCase{999.0, 0, "999"}, NumberCase{1000.0, 0, "1 000"},
                    NumberCase{1234567.0, 0, "1 234 567"}, NumberCase{0.05, 2, "0,05"}));

}  // namespace
}  // namespace vistrel::tools
