#include "rules/rate_fraction.h"

#include <cmath>

namespace vistrel::rules {

double RateFraction::Of(double basicRate) const {
    const double rate = basicRate * percent / 100.0;
    if (!announcedToHundredths) return rate;
    // In hundredths first, so that 10,125 left as 10,12499999 by binary arithmetic still counts
    // as half a hundredth.
    const double hundredths = rate * 100.0;
    return std::floor(hundredths + 0.5 + 1e-7) / 100.0;
}

}  // namespace vistrel::rules
