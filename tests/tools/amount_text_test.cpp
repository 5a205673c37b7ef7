#include "tools/amount_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace vistrel::tools {
namespace {

struct AmountCase {
    const char* text;
    std::optional<double> amount;
};

class ParseAmountCases : public testing::TestWithParam<AmountCase> {};

TEST_P(ParseAmountCases, ReadsOnlyWholeNumbers) {
    EXPECT_EQ(ParseAmount(GetParam().text), GetParam().amount) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseAmountCases,
    testing::Values(AmountCase{"1234,56", 1234.56}, AmountCase{"1234.56", 1234.56},
                    AmountCase{"10000", 10000.0}, AmountCase{"-5", -5.0}, AmountCase{"+7,5", 7.5},
                    AmountCase{",5", 0.5}, AmountCase{"12.", 12.0}, AmountCase{"1e3", 1000.0},
                    AmountCase{"2,5E-1", 0.25}, AmountCase{"0.0", 0.0},
                    // what the dialog would read as a leading number and a dropped rest
                    AmountCase{"1 234,56", std::nullopt}, AmountCase{"12zł", std::nullopt},
                    AmountCase{"1,234.56", std::nullopt}, AmountCase{" 12", std::nullopt},
                    AmountCase{"12 ", std::nullopt}, AmountCase{"1e", std::nullopt},
                    AmountCase{"abc", std::nullopt}, AmountCase{"", std::nullopt},
                    AmountCase{"-", std::nullopt}, AmountCase{".", std::nullopt},
                    AmountCase{"1e999", std::nullopt}, AmountCase{"inf", std::nullopt}));

}  // namespace
}  // namespace vistrel::tools
