// The basic, reduced and increased rates of late-payment interest: the reduced and the
// increased one are fractions of the basic rate that changed over the years
// (data/rate-kinds.tsv).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::rules {

enum class InterestRateKind { Basic, Reduced, Increased };

// "podstawowa", "obniżona", "podwyższona".
std::string KindName(InterestRateKind kind);

// "podstawowa", "obnizona", "podwyzszona", also with the Polish letters; nullopt otherwise.
std::optional<InterestRateKind> ParseKindName(std::string_view text);

struct FractionChange {
    std::chrono::year_month_day start;
    double percent = 100.0;
};

class RateKindSchedule {
public:
    // Rows in the form of data/rate-kinds.tsv, each kind's rows in date order; throws
    // std::runtime_error naming `name` for a row it cannot read.
    RateKindSchedule(std::string_view tsv, std::string_view name);

    // The percent of the basic rate that `kind` is on `date`: 100 for the basic rate, and for
    // any day before the kind existed.
    double PercentOn(InterestRateKind kind, std::chrono::year_month_day date) const;

    // The days the kind's fraction changes, oldest first (none for the basic rate).
    const std::vector<FractionChange>& Changes(InterestRateKind kind) const;

private:
    std::vector<FractionChange> reduced_;
    std::vector<FractionChange> increased_;
};

// The schedule the build compiled in from data/rate-kinds.tsv.
const RateKindSchedule& StatutoryRateKinds();

}  // namespace vistrel::rules
