// Which fraction of the basic rate a debt's every day of delay is taken at, and under which
// provision: the reduced rate's regime follows the day the corrected return was filed and the
// day the arrears arose; the increased rate's, the day the arrears arose
// (data/rate-regimes.tsv).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rate_fraction.h"
#include "rules/rate_kinds.h"

namespace vistrel::rules {

struct RateRegime {
    InterestRateKind kind = InterestRateKind::Basic;  // the kind applied
    RateFraction fraction;
    std::string provision;   // empty for the basic rate
    std::string conditions;  // what the calculator takes as met and cannot check
    // The last day of delay whose rate under this regime is settled; none: every day.
    std::optional<std::chrono::year_month_day> settledTo;
};

// The regime taken, with a note on how it was chosen (the basic rate in place of the kind
// asked for, the correction's day read from the payment date), or a refusal saying what is not
// settled or what is missing.
struct RegimeChoice {
    std::optional<RateRegime> regime;
    std::string note;
    std::string refusal;
};

// The days a payment may follow the corrected return for the reduced rate.
inline constexpr std::chrono::days CorrectionPaymentDays{7};

class RateRegimes {
public:
    // Rows in the form of data/rate-regimes.tsv; throws std::runtime_error naming `name` for a
    // row it cannot read.
    RateRegimes(std::string_view tsv, std::string_view name);

    // `arose` is the first day of delay; `correction` the day the corrected return was filed,
    // when known.
    RegimeChoice Choose(InterestRateKind kind, std::chrono::year_month_day arose,
                        std::chrono::year_month_day payment,
                        std::optional<std::chrono::year_month_day> correction) const;

private:
    struct Row {
        InterestRateKind kind = InterestRateKind::Basic;
        std::optional<double> percent;  // none: the case is not settled, `text` says why
        std::optional<std::chrono::year_month_day> filedFrom, filedTo, aroseFrom, aroseTo;
        bool announcedToHundredths = false;
        std::optional<std::chrono::year_month_day> settledTo;
        std::string provision;
        std::string text;  // the conditions taken as met, or why the case is not settled
    };
    const Row* Match(InterestRateKind kind, std::optional<std::chrono::year_month_day> filed,
                     std::chrono::year_month_day arose) const;
    RegimeChoice Take(const Row* row, InterestRateKind kind, std::string why) const;

    std::vector<Row> rows_;
};

// The regimes the build compiled in from data/rate-regimes.tsv.
const RateRegimes& StatutoryRateRegimes();

}  // namespace vistrel::rules
