#include "rules/tax_rounding.h"

#include <cmath>

namespace vistrel::rules {

double RoundToWholeZloty(double value) {
    const double zloty = std::floor(std::fabs(value) + 0.5 + 1e-9);
    if (zloty == 0.0) {
        return 0.0;
    }
    return value < 0.0 ? -zloty : zloty;
}

}  // namespace vistrel::rules
