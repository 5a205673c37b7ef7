#include "rules/tax_rounding.h"

#include <cmath>

namespace vistrel::rules {

double RoundToWholeZloty(double value) {
    const double grosze = std::round(std::fabs(value) * 100.0);
    const double zloty = std::floor((grosze + 50.0) / 100.0);
    if (zloty == 0.0) {
        return 0.0;
    }
    return value < 0.0 ? -zloty : zloty;
}

}  // namespace vistrel::rules
