#include "rules/interest_threshold.h"

#include <cmath>

#include "rules/statutory_data.h"
#include "rules/statutory_dates.h"
#include "rules/tsv_rows.h"

namespace vistrel::rules {

InterestThreshold::InterestThreshold(std::string_view tsv, std::string_view name) {
    for (const TsvRow& row : ReadTsvRows(tsv, name)) {
        const ThresholdChange change{DataDate(row.fields[0], name, row.line),
                                     DataNumber(row.fields[1], name, row.line)};
        if (!changes_.empty() && change.start <= changes_.back().start) {
            ThrowBadData(name, row.line, "the rows stand in date order");
        }
        changes_.push_back(change);
    }
    if (changes_.empty()) ThrowBadData(name, 1, "no threshold");
}

std::optional<double> InterestThreshold::On(std::chrono::year_month_day date) const {
    std::optional<double> amount;
    for (const ThresholdChange& change : changes_) {
        if (change.start > date) break;
        amount = change.amount;
    }
    return amount;
}

bool IsWithinThreshold(double interest, double threshold) {
    // Exact: 8,7049 zł exceeds 8,70 zł; only binary arithmetic's 8.7000000001 counts as 8,70.
    return interest > 0.0 && interest <= threshold + 1e-9;
}

const InterestThreshold& StatutoryThreshold() {
    static const InterestThreshold threshold(InterestThresholdTsv(), "data/interest-threshold.tsv");
    return threshold;
}

}  // namespace vistrel::rules
