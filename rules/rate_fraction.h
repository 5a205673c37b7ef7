// The share of the basic rate that every day of one delay is taken at: the whole of it, the
// reduced rate's 75 % or 50 %, the increased rate's 150 %.
#pragma once

namespace vistrel::rules {

struct RateFraction {
    double percent = 100.0;
    // The rate was announced rounded half up to hundredths of a percent (75 % of 13,50 % was
    // 10,13 %), and the announced rate is the one the law applies.
    bool announcedToHundredths = false;

    // The rate a day is taken at, from the basic rate of its period.
    double Of(double basicRate) const;

    bool IsWhole() const { return percent == 100.0 && !announcedToHundredths; }
};

}  // namespace vistrel::rules
