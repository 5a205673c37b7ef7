// The tax ordinance's rules as the data files in data/ state them, compiled in by the build
// (data/statutory-rules.md describes them and names their sources).
#pragma once

#include <string_view>

namespace vistrel::rules {

std::string_view PublicHolidaysTsv();     // data/public-holidays.tsv
std::string_view RateRegimesTsv();        // data/rate-regimes.tsv
std::string_view InterestThresholdTsv();  // data/interest-threshold.tsv

}  // namespace vistrel::rules
