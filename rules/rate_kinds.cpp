#include "rules/rate_kinds.h"

#include "rules/statutory_data.h"
#include "rules/statutory_dates.h"
#include "rules/tsv_rows.h"

namespace vistrel::rules {

std::string KindName(InterestRateKind kind) {
    switch (kind) {
    case InterestRateKind::Reduced: return "obniżona";
    case InterestRateKind::Increased: return "podwyższona";
    case InterestRateKind::Basic: break;
    }
    return "podstawowa";
}

std::optional<InterestRateKind> ParseKindName(std::string_view text) {
    if (text == "podstawowa") return InterestRateKind::Basic;
    if (text == "obnizona" || text == "obniżona") return InterestRateKind::Reduced;
    if (text == "podwyzszona" || text == "podwyższona") return InterestRateKind::Increased;
    return std::nullopt;
}

RateKindSchedule::RateKindSchedule(std::string_view tsv, std::string_view name) {
    for (const TsvRow& row : ReadTsvRows(tsv, name)) {
        const auto kind = ParseKindName(row.fields[0]);
        if (!kind || *kind == InterestRateKind::Basic) {
            ThrowBadData(name, row.line, "the kind is obnizona or podwyzszona");
        }
        auto& changes = *kind == InterestRateKind::Reduced ? reduced_ : increased_;
        const FractionChange change{DataDate(row.fields[1], name, row.line),
                                    DataNumber(row.fields[2], name, row.line)};
        if (!changes.empty() && change.start <= changes.back().start) {
            ThrowBadData(name, row.line, "a kind's rows stand in date order");
        }
        changes.push_back(change);
    }
}

double RateKindSchedule::PercentOn(InterestRateKind kind, std::chrono::year_month_day date) const {
    double percent = 100.0;
    for (const FractionChange& change : Changes(kind)) {
        if (change.start > date) break;
        percent = change.percent;
    }
    return percent;
}

const std::vector<FractionChange>& RateKindSchedule::Changes(InterestRateKind kind) const {
    static const std::vector<FractionChange> none;
    switch (kind) {
    case InterestRateKind::Reduced: return reduced_;
    case InterestRateKind::Increased: return increased_;
    case InterestRateKind::Basic: break;
    }
    return none;
}

const RateKindSchedule& StatutoryRateKinds() {
    static const RateKindSchedule schedule(RateKindsTsv(), "data/rate-kinds.tsv");
    return schedule;
}

}  // namespace vistrel::rules
