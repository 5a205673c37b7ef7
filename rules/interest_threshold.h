// The amount up to which interest is not charged (art. 54 § 1 pkt 5 of the tax ordinance:
// three times the registered-letter fee), by the day it took effect (data/interest-threshold.tsv).
#pragma once

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

namespace vistrel::rules {

struct ThresholdChange {
    std::chrono::year_month_day start;
    double amount = 0.0;  // zł
};

class InterestThreshold {
public:
    // Rows in the form of data/interest-threshold.tsv, in date order.
    InterestThreshold(std::string_view tsv, std::string_view name);

    // The threshold in force on `date`; nullopt before the first known one.
    std::optional<double> On(std::chrono::year_month_day date) const;

    // The first day a threshold is known for.
    std::chrono::year_month_day FirstKnownDay() const { return changes_.front().start; }

private:
    std::vector<ThresholdChange> changes_;
};

// Interest (exact) of at most the threshold is not charged; nothing is "not charged" when there
// is no interest at all.
bool IsWithinThreshold(double interest, double threshold);

// The threshold the build compiled in from data/interest-threshold.tsv.
const InterestThreshold& StatutoryThreshold();

}  // namespace vistrel::rules
