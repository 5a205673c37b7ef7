// The amount of the arrears as a user types it, in the calculator dialog and on the command line.
#pragma once

#include <string_view>

namespace vistrel {

struct AmountReading {
    // The number the text begins with (leading blanks skipped, the rest dropped), read as the
    // dialog has always read it; 0.0 when the text does not begin with a number.
    double value = 0.0;
    // The whole text is one number and nothing else: an optional sign, digits with an optional
    // decimal comma or point, an optional exponent; no blanks, no other characters, not too
    // large for a double.
    bool whole = false;
};

// A comma counts as a decimal point, whatever the user's regional settings.
AmountReading ReadAmount(std::u16string_view text);

}  // namespace vistrel
