#include "tools/calculator_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vistrel::tools {
namespace {

using namespace std::chrono_literals;

TEST(ParseCalculatorOptions, ReadsTheThreeValuesAndTheOptions) {
    const OptionsOutcome outcome =
        ParseCalculatorOptions({"--maszynowo", "2023-01-10", "--teraz=1796727600", "2023-01-20",
                                "--strona=inna.html", "10000,5"});
    ASSERT_TRUE(outcome.options) << outcome.error;
    const CalculatorOptions& options = *outcome.options;
    EXPECT_EQ(options.due, 2023y / 1 / 10);
    EXPECT_EQ(options.payment, 2023y / 1 / 20);
    EXPECT_EQ(options.amount, 10000.5);
    EXPECT_EQ(options.now, 1796727600);
    EXPECT_EQ(options.pagePath, "inna.html");
    EXPECT_TRUE(options.machineReadable);
    EXPECT_FALSE(options.help);
}

// A negative amount is a value, not an option: it is the amount that is refused.
TEST(ParseCalculatorOptions, TakesANegativeAmountAsAValueAndRefusesIt) {
    const OptionsOutcome outcome = ParseCalculatorOptions({"2023-01-10", "2023-01-20", "-5"});
    EXPECT_FALSE(outcome.options);
    EXPECT_EQ(outcome.error, "Kwota „-5” jest ujemna, a odsetki liczy się od kwoty zaległości.");
}

// The engine's amount reader over the UTF-8 of the command line: the no-break spaces that group
// thousands arrive as two and three bytes.
TEST(ParseCalculatorOptions, TakesAmountsAsPeopleWriteThemFromZeroToTenToTheThirteenth) {
    struct Case {
        const char* text;
        double amount;
    };
    const Case cases[] = {{"0", 0.0},
                          {"10000000000000", 1e13},
                          {"10 000 000 000 000,00", 1e13},
                          {"1234,56", 1234.56},
                          {"1 234,56", 1234.56},
                          {"1\xC2\xA0"
                           "234,56",
                           1234.56},  // U+00A0
                          {"1\xE2\x80\xAF"
                           "234\xE2\x80\xAF"
                           "567,8",
                           1234567.8},  // U+202F
                          {"2500.50", 2500.5},
                          {"2500,5", 2500.5}};
    for (const Case& c : cases) {
        const OptionsOutcome outcome = ParseCalculatorOptions({"2023-01-10", "2023-01-20", c.text});
        ASSERT_TRUE(outcome.options) << c.text << ": " << outcome.error;
        EXPECT_EQ(outcome.options->amount, c.amount) << c.text;
        EXPECT_FALSE(std::signbit(outcome.options->amount)) << c.text;
        EXPECT_FALSE(outcome.options->now);
        EXPECT_FALSE(outcome.options->pagePath);
    }
}

TEST(ParseCalculatorOptions, HelpNeedsNothingElse) {
    for (const char* help : {"--pomoc", "-h"}) {
        const OptionsOutcome outcome = ParseCalculatorOptions({"2023-99-99", help});
        ASSERT_TRUE(outcome.options) << help;
        EXPECT_TRUE(outcome.options->help);
    }
}

struct RefusalCase {
    std::vector<std::string> arguments;
    const char* message;  // a part of the Polish message
};

class ParseCalculatorOptionsRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(ParseCalculatorOptionsRefusals, SaysWhatIsWrong) {
    const OptionsOutcome outcome = ParseCalculatorOptions(GetParam().arguments);
    EXPECT_FALSE(outcome.options);
    EXPECT_NE(outcome.error.find(GetParam().message), std::string::npos) << outcome.error;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseCalculatorOptionsRefusals,
    testing::Values(
        RefusalCase{{}, "Oczekiwano trzech wartości"},
        RefusalCase{{"2023-01-10", "2023-01-20"}, "a podano 2"},
        RefusalCase{{"2023-01-10", "2023-01-20", "1", "2"}, "a podano 4"},
        RefusalCase{{"2023-02-30", "2023-03-20", "1"},
                    "Data należności „2023-02-30” nie jest poprawną datą"},
        RefusalCase{{"2023-01-10", "20.01.2023", "1"}, "Data zapłaty „20.01.2023”"},
        RefusalCase{{"1970-01-01", "2023-01-20", "1"}, "poza obsługiwanym zakresem"},
        RefusalCase{{"2023-01-10", "2038-01-19", "1"}, "1970-01-02 – 2038-01-18"},
        RefusalCase{{"2023-01-10", "2023-01-20", "10.000"}, "Kwota „10.000” nie jest liczbą"},
        RefusalCase{{"2023-01-10", "2023-01-20", "1e3"}, "Kwota „1e3” nie jest liczbą"},
        RefusalCase{{"2023-01-10", "2023-01-20", "1234 567"}, "Kwota „1234 567” nie jest liczbą"},
        RefusalCase{{"2023-01-10", "2023-01-20",
                     "1\xC2\xA0"
                     "23"},
                    "nie jest liczbą"},
        RefusalCase{{"2023-01-10", "2023-01-20",
                     "1\xC2"
                     "234"},
                    "nie jest liczbą"},
        RefusalCase{{"2023-01-10", "1000", "--wplata=2023-01-20:1,234.56"},
                    "Wpłata „2023-01-20:1,234.56”: kwota „1,234.56” nie jest liczbą"},
        RefusalCase{{"2023-01-10", "1000", "--wplata=2023-01-20:-5"},
                    "Wpłata „2023-01-20:-5”: kwota „-5” jest ujemna"},
        RefusalCase{{"2023-01-10", "1000", "--wplata=2023-01-20:0,00"},
                    "Wpłata „2023-01-20:0,00” ma kwotę 0 zł"},
        RefusalCase{{"2023-01-10", "2023-01-20", "-x"}, "Kwota „-x”"},
        RefusalCase{{"--teraz=jutro", "2023-01-10", "2023-01-20", "1"}, "Opcja --teraz wymaga"},
        RefusalCase{{"--strona=", "2023-01-10", "2023-01-20", "1"}, "Opcja --strona wymaga"},
        RefusalCase{{"--szybko", "2023-01-10", "2023-01-20", "1"}, "Nieznana opcja „--szybko”"},
        RefusalCase{{"2023-01-10", "2023-01-20", "-0,01"}, "Kwota „-0,01” jest ujemna"},
        RefusalCase{{"2023-01-10", "2023-01-20", "10000000000000,01"},
                    "Kwota „10000000000000,01” przekracza 10 000 000 000 000 zł"},
        RefusalCase{{"2023-01-10", "2023-01-20", "12345678901234567890"},
                    "Kwota „12345678901234567890” przekracza 10 000 000 000 000 zł"},
        RefusalCase{{"--teraz=1969-12-31T23:59:59", "2023-01-10", "2023-01-20", "1"},
                    "Opcja --teraz wymaga chwili od 1970-01-01 00:00 UTC"},
        RefusalCase{{"--teraz=-1", "2023-01-10", "2023-01-20", "1"}, "Opcja --teraz wymaga"},
        RefusalCase{{"--", "--pomoc", "2023-01-20", "1"}, "Data należności „--pomoc”"}));

// "--strona PLIK" and "--teraz CZAS" would take the file or the moment for one of the values.
TEST(ParseCalculatorOptions, RefusesAnOptionWithoutItsEqualsSign) {
    const OptionsOutcome page =
        ParseCalculatorOptions({"--strona", "inna.html", "2023-01-10", "2023-01-20"});
    EXPECT_FALSE(page.options);
    EXPECT_EQ(page.error, "opcja --strona wymaga postaci --strona=PLIK");
    const OptionsOutcome now =
        ParseCalculatorOptions({"--teraz", "2026-12-08T00:00:00", "2023-01-10", "2023-01-20", "1"});
    EXPECT_FALSE(now.options);
    EXPECT_EQ(now.error, "opcja --teraz wymaga postaci --teraz=CZAS");
}

// A message quotes at most 60 characters of what it names, the 60th an ellipsis.
TEST(ParseCalculatorOptions, QuotesAtMostSixtyCharactersOfABadArgument) {
    const std::string longAmount = std::string(59, '7') + "ząb" + std::string(100, '7');
    const OptionsOutcome outcome = ParseCalculatorOptions({"2023-01-10", "2023-01-20", longAmount});
    EXPECT_FALSE(outcome.options);
    EXPECT_EQ(outcome.error, "Kwota „" + std::string(59, '7') +
                                 "…” nie jest liczbą (na przykład "
                                 "1234,56 albo 1234.56).");
    const std::string sixty = std::string(57, 'x') + "ząb";
    EXPECT_EQ(ParseCalculatorOptions({"--" + sixty}).error,
              "Nieznana opcja „--" + std::string(57, 'x') +
                  "…”. Opis programu: kalkulator-odsetek --pomoc");
    EXPECT_EQ(ParseCalculatorOptions({"2023-01-10", "2023-01-20", sixty}).error,
              "Kwota „" + sixty + "” nie jest liczbą (na przykład 1234,56 albo 1234.56).");
}

}  // namespace
}  // namespace vistrel::tools
