#include "tools/report.h"

#include <gtest/gtest.h>

#include "rules/tax_rounding.h"

namespace vistrel::tools {

using namespace rules;
namespace {

using namespace std::chrono_literals;

struct RoundingCase {
    double value;
    double zloty;
};

class RoundToWholeZlotyCases : public testing::TestWithParam<RoundingCase> {};

TEST_P(RoundToWholeZlotyCases, DropsBelowFiftyGroszeAndRaisesFromFifty) {
    EXPECT_EQ(RoundToWholeZloty(GetParam().value), GetParam().zloty) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundToWholeZlotyCases,
    testing::Values(RoundingCase{12.49, 12.0}, RoundingCase{12.50, 13.0},
                    RoundingCase{12.4999999999, 13.0},  // 12.50 spoilt by binary arithmetic
                    RoundingCase{12.4999999, 12.0},     // below 12,50: the exact amount decides
                    RoundingCase{4656.4952, 4656.0},    // its grosze (4 656,50) would round up
                    RoundingCase{12.494, 12.0}, RoundingCase{12.99, 13.0}, RoundingCase{0.49, 0.0},
                    RoundingCase{0.5, 1.0}, RoundingCase{0.49999999999999994, 1.0},
                    RoundingCase{0.1 + 0.2 + 0.2, 1.0}, RoundingCase{0.0, 0.0},
                    RoundingCase{45.205479452054796, 45.0}, RoundingCase{-12.5, -13.0},
                    RoundingCase{-0.3, 0.0}));

TEST(FormatFixed, UsesAPointAndRoundsLikePrintf) {
    EXPECT_EQ(FormatWorksheetInterest(12.34), "12.3");
    EXPECT_EQ(FormatWorksheetInterest(45.205479452054796), "45.2");
    EXPECT_EQ(FormatWorksheetInterest(0.25), "0.2");  // exactly half: to even, as printf does
    EXPECT_EQ(FormatWorksheetInterest(0.0), "0.0");
    EXPECT_EQ(FormatFixed(1234.5, 2), "1234.50");
    EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
}

Calculation SamplePayment() {
    Calculation calculation;
    calculation.due = 2022y / 8 / 31;
    calculation.payment = 2022y / 9 / 10;
    calculation.amount = 10000.0;
    calculation.shares = {{2022y / 9 / 1, 2022y / 9 / 1, RateKind::DailyStar, 0.05, 0.05, 1, 5.0},
                          {2022y / 9 / 2, 2022y / 9 / 7, RateKind::Annual, 16.0, 16.0, 6, 26.3},
                          {2022y / 9 / 8, 2022y / 9 / 10, RateKind::Annual, 16.5, 16.5, 3, 13.56}};
    calculation.days = 10;
    calculation.elapsedDays = 10;
    calculation.interest = 44.86;
    return calculation;
}

TEST(FormatMachineLine, GivesTheWorksheetValueTheRoundedValueAndTheDays) {
    EXPECT_EQ(FormatMachineLine(SamplePayment()), "odsetki=44.9 zaokraglone=45 dni=10\n");
}

TEST(FormatReport, ListsEachPeriodWithItsUnitAndTheResults) {
    const std::string report = FormatReport(SamplePayment());
    EXPECT_NE(report.find("Data należności:          2022-08-31\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Kwota:                    10 000,00 zł\n"), std::string::npos) << report;
    EXPECT_NE(
        report.find("od 2022-09-08 do 2022-09-10   16,50% rocznie         3          13,56 zł\n"),
        std::string::npos)
        << report;
    EXPECT_NE(
        report.find("od 2022-09-01 do 2022-09-01   0,05% dziennie         1           5,00 zł\n"),
        std::string::npos)
        << report;
    EXPECT_NE(report.find("Odsetki:                  44,86 zł\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Odsetki zaokrąglone:      45 zł\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("Uwaga"), std::string::npos) << report;
}

struct PolishAmountCase {
    double amount;
    const char* text;
};

class FormatPolishAmountCases : public testing::TestWithParam<PolishAmountCase> {};

TEST_P(FormatPolishAmountCases, GroupsThousandsAndWritesADecimalComma) {
    EXPECT_EQ(FormatPolishAmount(GetParam().amount), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Amounts, FormatPolishAmountCases,
                         testing::Values(PolishAmountCase{10000.0, "10 000,00 zł"},
                                         PolishAmountCase{0.0, "0,00 zł"},
                                         PolishAmountCase{999.5, "999,50 zł"},
                                         PolishAmountCase{1000.0, "1 000,00 zł"},
                                         PolishAmountCase{1234567.891, "1 234 567,89 zł"},
                                         PolishAmountCase{100000.0, "100 000,00 zł"},
                                         PolishAmountCase{1e13, "10 000 000 000 000,00 zł"},
                                         PolishAmountCase{-2500.5, "-2 500,50 zł"}));

// A period that starts only on the payment day's boundary adds no day and is left out.
TEST(FormatReport, LeavesOutPeriodsWithoutADay) {
    Calculation calculation = SamplePayment();
    calculation.shares.insert(calculation.shares.begin(),
                              {2022y / 9 / 11, std::nullopt, RateKind::Annual, 99.0, 99.0, 0, 0.0});
    const std::string report = FormatReport(calculation);
    EXPECT_EQ(report.find("99,00%"), std::string::npos) << report;
    EXPECT_NE(report.find("16,50% rocznie"), std::string::npos) << report;

    calculation.shares = {{2022y / 9 / 11, std::nullopt, RateKind::Annual, 99.0, 99.0, 0, 0.0}};
    EXPECT_NE(FormatReport(calculation).find("Żaden okres nie wnosi odsetek."), std::string::npos);
}

TEST(FormatReport, WarnsWhenThePageLeavesDaysWithoutARate) {
    Calculation calculation = SamplePayment();
    calculation.elapsedDays = 12;
    EXPECT_NE(FormatReport(calculation).find("Uwaga: stopy ze strony obejmują 10 z 12 dni zwłoki."),
              std::string::npos);
}

}  // namespace
}  // namespace vistrel::tools
