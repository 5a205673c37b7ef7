// Rounding of the interest to whole złoty as the tax law rounds amounts.
#pragma once

namespace vistrel::rules {

// Below 50 groszy down, from 50 groszy up (away from zero for a negative amount). The value is
// first rounded to grosze, so that 12.4999999 left by binary arithmetic counts as 12.50.
double RoundToWholeZloty(double value);

}  // namespace vistrel::rules
