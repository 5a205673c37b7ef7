// Debts paid in parts: each payment split between the arrears and the interest due on its day.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tools/calculator_cli.h"
#include "rules/partial_payments.h"

namespace vistrel::tools {

using namespace rules;
namespace {

// Worked by hand over the published rates: 10 000 zł due 2022-03-15, 365 days to 2023-03-15
// (22 at 10%, 29 at 12%, 34 at 13.5%, 29 at 15%, 62 at 16%, 189 at 16.5%) give 1 526.712... zł,
// credited to the grosz (no rounding to whole złoty when a payment is credited): 5 000 zł split
// 5000 × 10000 / 11526.71 = 4 337.7475 → 4 337.75 to the arrears and 662.25 to the interest;
// 5 662.25 and 864.46 remain. From 2023-03-16 to 2024-06-30, 473 days (175 at 16.5%, 28 at 15%,
// 270 at 14.5%) on 5 662.25 give 5662.25 × 7222.5 / 36500 = 1 120.43 zł, rounded 1 120; owed
// 5 662.25 + 864.46 + 1 120 = 7 646.71 zł.
TEST(PartialPayments, SplitTheWorkedExample) {
    const CliOutput output =
        RunCalculatorCli({"--teraz=2026-12-08T12:00:00", "2022-03-15", "10000,00",
                          "--wplata=2023-03-15:5000,00", "--na-dzien=2024-06-30"});
    ASSERT_EQ(output.exitCode, ExitSuccess) << output.err;
    for (const char* expected :
         {"365 dni po 2022-03-15: 1 526,71 zł, do zaliczenia wpłaty bez zaokrąglania (art. 63 § "
          "3)\n",
          "  Odsetki należne w dniu wpłaty: 1 526,71 zł\n",
          "  Na zaległość:                  4 337,75 zł\n",
          "  Na odsetki:                    662,25 zł\n",
          "  Pozostaje zaległości:          5 662,25 zł\n",
          "  Pozostaje odsetek:             864,46 zł\n",
          "473 dni po 2023-03-15: 1 120,43 zł, zaokrąglone 1 120 zł\n",
          "Pozostaje zaległości:            5 662,25 zł\n",
          "Pozostaje odsetek:               1 984,46 zł\n",
          "Razem do zapłaty:                7 646,71 zł\n"}) {
        EXPECT_NE(output.out.find(expected), std::string::npos) << expected << "\n" << output.out;
    }
}

struct PaymentsCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* lines;
    int exitCode;
    const char* error;

    friend void PrintTo(const PaymentsCase& c, std::ostream* out) { *out << c.name; }
};

class PaymentRuns : public testing::TestWithParam<PaymentsCase> {};

TEST_P(PaymentRuns, PrintOneLinePerPayment) {
    std::vector<std::string> arguments = {"--maszynowo", "--teraz=2026-12-08T12:00:00"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const CliOutput output = RunCalculatorCli(arguments);
    EXPECT_EQ(output.exitCode, GetParam().exitCode) << output.err;
    EXPECT_EQ(output.out, GetParam().lines);
    EXPECT_EQ(output.err, GetParam().error);
}

// 10 days at 14.5% from 2024-01-10: on 10 000 zł 39.726..., credited as 39,73 zł; on 1 000 zł
// 3.972... (not charged: at most 8.70 zł).
INSTANTIATE_TEST_SUITE_P(
    Payments, PaymentRuns,
    testing::Values(
        PaymentsCase{
            "SettlesExactly",
            {"2022-03-15", "10000", "--wplata=2023-03-15:5000", "--wplata=2024-06-30:7647,14"},
            "wplata=2023-03-15 kwota=5000.00 odsetki=1526.71 naliczone=1526.71 dni=365 "
            "na_zaleglosc=4337.75 na_odsetki=662.25 zaleglosc=5662.25 odsetki_zalegle=864.46\n"
            "wplata=2024-06-30 kwota=7647.14 odsetki=1120.43 naliczone=1120.43 dni=473 "
            "na_zaleglosc=5662.25 na_odsetki=1984.89 zaleglosc=0.00 odsetki_zalegle=0.00 "
            "nadplata=0.00\n",
            ExitSuccess,
            ""},
        PaymentsCase{"Overpays",
                     {"2024-01-10", "10000", "--wplata=2024-01-20:10100"},
                     "wplata=2024-01-20 kwota=10100.00 odsetki=39.73 naliczone=39.73 dni=10 "
                     "na_zaleglosc=10000.00 na_odsetki=39.73 zaleglosc=0.00 odsetki_zalegle=0.00 "
                     "nadplata=60.27\n",
                     ExitSuccess,
                     ""},
        PaymentsCase{"InterestWithinTheThreshold",
                     {"2024-01-10", "1000", "--wplata=2024-01-20:500"},
                     "wplata=2024-01-20 kwota=500.00 odsetki=3.97 naliczone=0.00 dni=10 "
                     "na_zaleglosc=500.00 na_odsetki=0.00 zaleglosc=500.00 odsetki_zalegle=0.00 "
                     "prog=8.70\n",
                     ExitSuccess,
                     ""},
        PaymentsCase{
            "RefusesAPaymentAfterTheSettlingOne",
            {"2024-01-10", "10000", "--wplata=2024-01-20:10039,73", "--wplata=2024-02-01:5"},
            "wplata=2024-01-20 kwota=10039.73 odsetki=39.73 naliczone=39.73 dni=10 "
            "na_zaleglosc=10000.00 na_odsetki=39.73 zaleglosc=0.00 odsetki_zalegle=0.00 "
            "nadplata=0.00\n",
            ExitBadArguments,
            "Błąd: wpłata z 2024-02-01 (5,00 zł) odrzucona: dług uregulowała już wpłata "
            "z 2024-01-20.\n"}),
    [](const testing::TestParamInfo<PaymentsCase>& info) { return std::string(info.param.name); });

TEST(PartialPayments, RefuseDatesOutOfOrder) {
    const CliOutput output = RunCalculatorCli(
        {"2024-01-10", "10000", "--wplata=2024-02-20:100", "--wplata=2024-01-20:100"});
    EXPECT_EQ(output.exitCode, ExitBadArguments);
    EXPECT_NE(output.err.find("Wpłaty podaje się w kolejności dat"), std::string::npos)
        << output.err;
}

// Half a grosz goes up: 1 × 1 / 2 = 0.5 → 1; 3 × 1 / 2 = 1.5 → 2; 5000 × 10000 / 11527.
TEST(ArrearsShare, RoundsHalfAGroszUp) {
    EXPECT_EQ(ArrearsShare(1, 1, 1), 1);
    EXPECT_EQ(ArrearsShare(3, 1, 1), 2);
    EXPECT_EQ(ArrearsShare(500000, 1000000, 152700), 433764);
    EXPECT_EQ(ArrearsShare(1'000'000'000'000'000, 1'000'000'000'000'000, 1), 999'999'999'999'999);
}

// One list row with payments and the balance day in its payment column.
TEST(PartialPayments, ComeFromAListRow) {
    const std::string path = testing::TempDir() + "vistrel-wplaty.csv";
    std::ofstream(path, std::ios::binary) << "2022-03-15;2024-06-30;10000,00;;2023-03-15:5000,00\n";
    const CliOutput output = RunCalculatorCli({"--teraz=2026-12-08T12:00:00", "--lista=" + path});
    std::remove(path.c_str());
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(output.out,
              "2022-03-15;2024-06-30;10000,00;;2023-03-15:5000,00;838;1984,46;;"
              "\"zaległość 5 662,25 zł; odsetki 1 984,46 zł; razem 7 646,71 zł\"\n");
}

}  // namespace
}  // namespace vistrel::tools
