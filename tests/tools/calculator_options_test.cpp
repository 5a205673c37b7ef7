#include "tools/calculator_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistrel::tools {
namespace {

TEST(ParseCalculatorOptions, ReadsTheThreeValuesAndTheOptions) {
    const OptionsOutcome outcome =
        ParseCalculatorOptions({"--maszynowo", "2023-01-10", "--teraz=1796727600", "2023-01-20",
                                "--strona=inna.html", "10000,5"});
    ASSERT_TRUE(outcome.options) << outcome.error;
    const CalculatorOptions& options = *outcome.options;
    EXPECT_EQ(options.due, (CalendarDate{2023, 1, 10}));
    EXPECT_EQ(options.payment, (CalendarDate{2023, 1, 20}));
    EXPECT_EQ(options.amount, 10000.5);
    EXPECT_EQ(options.now, 1796727600);
    EXPECT_EQ(options.pagePath, "inna.html");
    EXPECT_TRUE(options.machineReadable);
    EXPECT_FALSE(options.help);
}

TEST(ParseCalculatorOptions, TakesANegativeAmountAsAValue) {
    const OptionsOutcome outcome = ParseCalculatorOptions({"2023-01-10", "2023-01-20", "-5"});
    ASSERT_TRUE(outcome.options) << outcome.error;
    EXPECT_EQ(outcome.options->amount, -5.0);
    EXPECT_FALSE(outcome.options->now);
    EXPECT_FALSE(outcome.options->pagePath);
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
        RefusalCase{{"2023-01-10", "2023-01-20", "1 234,56"}, "Kwota „1 234,56” nie jest liczbą"},
        RefusalCase{{"2023-01-10", "2023-01-20", "-x"}, "Kwota „-x”"},
        RefusalCase{{"--teraz=jutro", "2023-01-10", "2023-01-20", "1"}, "Opcja --teraz wymaga"},
        RefusalCase{{"--strona=", "2023-01-10", "2023-01-20", "1"}, "Opcja --strona wymaga"},
        RefusalCase{{"--szybko", "2023-01-10", "2023-01-20", "1"}, "Nieznana opcja „--szybko”"},
        RefusalCase{{"--", "--pomoc", "2023-01-20", "1"}, "Data należności „--pomoc”"}));

}  // namespace
}  // namespace vistrel::tools
