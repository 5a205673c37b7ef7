#include "rules/rate_regime.h"

#include "rules/calendar_date.h"
#include "rules/statutory_data.h"
#include "rules/statutory_dates.h"
#include "rules/tsv_rows.h"

namespace vistrel::rules {
namespace {

using std::chrono::year_month_day;

std::optional<year_month_day> OptionalDate(std::string_view text, std::string_view name,
                                           std::size_t line) {
    if (text.empty()) return std::nullopt;
    return DataDate(text, name, line);
}

bool Within(year_month_day date, const std::optional<year_month_day>& from,
            const std::optional<year_month_day>& to) {
    return (!from || *from <= date) && (!to || date <= *to);
}

std::string KindPhrase(InterestRateKind kind) {
    return kind == InterestRateKind::Reduced ? "stawki obniżonej" : "stawki podwyższonej";
}

}  // namespace

RateRegimes::RateRegimes(std::string_view tsv, std::string_view name) {
    for (const TsvRow& tsvRow : ReadTsvRows(tsv, name)) {
        const auto& fields = tsvRow.fields;
        Row row;
        const auto kind = ParseKindName(fields[0]);
        if (!kind || *kind == InterestRateKind::Basic) {
            ThrowBadData(name, tsvRow.line, "the kind is obnizona or podwyzszona");
        }
        row.kind = *kind;
        if (fields[1] != "?") row.percent = DataNumber(fields[1], name, tsvRow.line);
        row.filedFrom = OptionalDate(fields[2], name, tsvRow.line);
        row.filedTo = OptionalDate(fields[3], name, tsvRow.line);
        row.aroseFrom = OptionalDate(fields[4], name, tsvRow.line);
        row.aroseTo = OptionalDate(fields[5], name, tsvRow.line);
        if (fields[6] != "" && fields[6] != "tak") {
            ThrowBadData(name, tsvRow.line, "announced is tak or empty");
        }
        row.announcedToHundredths = fields[6] == "tak";
        row.settledTo = OptionalDate(fields[7], name, tsvRow.line);
        row.provision = std::string(fields[8]);
        row.text = std::string(fields[9]);
        if (row.text.empty() || (row.percent && row.provision.empty()) || fields[10].empty()) {
            ThrowBadData(name, tsvRow.line, "a regime names its provision, text and source");
        }
        rows_.push_back(std::move(row));
    }
}

const RateRegimes::Row* RateRegimes::Match(InterestRateKind kind,
                                           std::optional<year_month_day> filed,
                                           year_month_day arose) const {
    for (const Row& row : rows_) {
        if (row.kind != kind || !Within(arose, row.aroseFrom, row.aroseTo)) continue;
        if (filed ? Within(*filed, row.filedFrom, row.filedTo) : !row.filedFrom && !row.filedTo) {
            return &row;
        }
    }
    return nullptr;
}

RegimeChoice RateRegimes::Take(const Row* row, InterestRateKind kind, std::string why) const {
    if (row == nullptr) {
        return RegimeChoice{RateRegime{}, why + "; liczono według stawki podstawowej", {}};
    }
    if (!row->percent) return RegimeChoice{std::nullopt, {}, row->text};
    RateRegime regime;
    regime.kind = kind;
    regime.fraction = RateFraction{*row->percent, row->announcedToHundredths};
    regime.provision = row->provision;
    regime.conditions = row->text;
    regime.settledTo = row->settledTo;
    return RegimeChoice{regime, {}, {}};
}

RegimeChoice RateRegimes::Choose(InterestRateKind kind, year_month_day arose,
                                 year_month_day payment,
                                 std::optional<year_month_day> correction) const {
    using std::chrono::sys_days;
    if (kind == InterestRateKind::Basic) return RegimeChoice{RateRegime{}, {}, {}};
    const std::string arosePhrase = "zaległości powstałej " + FormatCalendarDate(arose);
    if (kind == InterestRateKind::Increased) {
        return Take(Match(kind, std::nullopt, arose), kind,
                    "przepisy " + KindPhrase(kind) + " nie obejmują " + arosePhrase);
    }
    if (correction) {
        if (payment < *correction) {
            return RegimeChoice{std::nullopt,
                                {},
                                "zapłata " + FormatCalendarDate(payment) +
                                    " przed złożeniem korekty " + FormatCalendarDate(*correction) +
                                    ": przepisy o stawce obniżonej mówią o zapłacie w ciągu 7 dni "
                                    "od złożenia korekty i nie ustalono, czy obejmują zapłatę "
                                    "wcześniejszą"};
        }
        if (sys_days{payment} > sys_days{*correction} + CorrectionPaymentDays) {
            return RegimeChoice{RateRegime{},
                                "zapłata " + FormatCalendarDate(payment) +
                                    " nastąpiła później niż 7 dni od złożenia korekty " +
                                    FormatCalendarDate(*correction) +
                                    ", więc stawka obniżona nie przysługuje; liczono według "
                                    "stawki podstawowej",
                                {}};
        }
        return Take(Match(kind, correction, arose), kind,
                    "przepisy " + KindPhrase(kind) + " nie obejmują korekty złożonej " +
                        FormatCalendarDate(*correction) + " dla " + arosePhrase);
    }
    // Without the correction's day: any day in the 7 days up to the payment could be it, and the
    // regime is known only when all of them give the same one.
    const year_month_day earliest{sys_days{payment} - CorrectionPaymentDays};
    const Row* row = Match(kind, earliest, arose);
    for (sys_days day = sys_days{earliest} + std::chrono::days{1}; day <= sys_days{payment};
         day += std::chrono::days{1}) {
        if (Match(kind, year_month_day{day}, arose) != row) {
            return RegimeChoice{std::nullopt,
                                {},
                                "o stawce obniżonej decyduje dzień złożenia korekty, a dla "
                                "korekty złożonej w 7 dniach przed zapłatą " +
                                    FormatCalendarDate(payment) +
                                    " obowiązują różne przepisy; podaj dzień złożenia korekty "
                                    "(--korekta=RRRR-MM-DD)"};
        }
    }
    RegimeChoice choice = Take(row, kind,
                               "przepisy " + KindPhrase(kind) +
                                   " nie obejmują korekty złożonej w 7 dniach przed zapłatą " +
                                   FormatCalendarDate(payment) + " dla " + arosePhrase);
    if (choice.regime && choice.note.empty() && row != nullptr) {
        choice.note =
            "dnia złożenia korekty nie podano; przyjęto korektę złożoną w ciągu 7 dni "
            "przed zapłatą (każdy z tych dni daje ten sam przepis)";
    }
    return choice;
}

const RateRegimes& StatutoryRateRegimes() {
    static const RateRegimes regimes(RateRegimesTsv(), "data/rate-regimes.tsv");
    return regimes;
}

}  // namespace vistrel::rules
