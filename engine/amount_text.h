// The amount of the arrears as a user types it, in the calculator dialog and on the command line.
#pragma once

#include <string_view>

namespace vistrel {

// The largest amount taken: beyond it a double no longer holds every grosz exactly.
inline constexpr double LargestEnteredAmount = 1e13;

enum class AmountProblem {
    None,
    NotAnAmount,  // not written as an amount of złoty
    Negative,     // an amount with a minus sign before it
    TooLarge,     // more than LargestEnteredAmount
};

struct EnteredAmount {
    double value = 0.0;  // the amount when there is no problem, else 0.0
    AmountProblem problem = AmountProblem::NotAnAmount;
};

// An amount of złoty as people write it, the one reading of the calculator dialog and the
// command line: digits, either all together or grouped by three with a space, a no-break space
// (U+00A0) or a narrow no-break space (U+202F) between the groups ("1 234 567"); then, if at all,
// a comma or a point and one or two digits of grosze. Blanks before and after the amount are
// passed over. Anything else ("1e3", "10.000", "12 zł", "abc", "") is no amount.
EnteredAmount ReadEnteredAmount(std::u16string_view text);

}  // namespace vistrel
