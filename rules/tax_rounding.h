// Rounding of the interest to whole złoty as the tax law rounds amounts.
#pragma once

namespace vistrel::rules {

// Below 50 groszy down, from 50 groszy up (away from zero for a negative amount), once, from the
// exact amount: 4 656,4952 zł is 4 656 zł, though its grosze (4 656,50) would round up. Only a
// difference far below a grosz (12.4999999999 left by binary arithmetic for 12,50) counts as
// none.
double RoundToWholeZloty(double value);

}  // namespace vistrel::rules
