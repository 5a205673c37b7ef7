// Number reading as the Windows runtime's _wtoi and _wtof do it, but always with a point as the
// decimal separator, whatever the user's regional settings.
#pragma once

#include <cstdint>

namespace vistrel {

// Leading white space, optional sign, decimal digits; stops at the first other character; 0 when
// there are no digits. Saturates at the 32-bit limits.
std::int32_t ReadLeadingInteger(const char16_t* text);

// Leading white space, optional sign, digits with an optional point, optional exponent; stops at
// the first character that cannot continue the number; 0.0 when there is none.
double ReadLeadingDecimal(const char16_t* text);

// True when ReadLeadingDecimal finds a number: after blanks and a sign, a digit or a point
// followed by a digit.
bool BeginsWithNumber(const char16_t* text);

}  // namespace vistrel
