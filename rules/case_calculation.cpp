#include "rules/case_calculation.h"

#include <cmath>

#include "engine/local_time.h"
#include "rules/calendar_date.h"
#include "rules/holiday_calendar.h"
#include "rules/interest_threshold.h"

namespace vistrel::rules {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

CaseOutcome Refuse(Refusal refusal, std::string message) {
    return CaseOutcome{std::nullopt, refusal, std::move(message)};
}

std::string DateText(const std::optional<std::chrono::year_month_day>& date) {
    return date ? FormatCalendarDate(*date) : std::string("?");
}

// "od 2023-05-01 do 2023-05-10, 2023-06-01": the stretches oldest first, a single day as itself.
std::string GapText(const std::vector<UncoveredDays>& uncovered) {
    std::string text;
    for (auto gap = uncovered.rbegin(); gap != uncovered.rend(); ++gap) {
        // From the midnight that starts the first day to the one that starts the next covered day.
        const auto first = DateOfMidnight(gap->from);
        const auto next = DateOfMidnight(gap->to);
        const auto last = next ? std::optional(std::chrono::year_month_day{
                                     std::chrono::sys_days{*next} - std::chrono::days{1}})
                               : std::nullopt;
        if (!text.empty()) text += ", ";
        text += first && last && *first == *last
                    ? DateText(first)
                    : "od " + DateText(first) + " do " + DateText(last);
    }
    return text;
}

}  // namespace

CaseOutcome CalculateCase(const RateSource& rates, const CaseInput& input, std::int32_t now) {
    const auto enteredDueInstant = InstantOfDate(input.due, now);
    const auto paymentInstant = InstantOfDate(input.payment, now);
    for (const auto& [instant, date] :
         {std::pair{enteredDueInstant, input.due}, std::pair{paymentInstant, input.payment}}) {
        if (!instant) {
            return Refuse(Refusal::BadInput, "Daty " + FormatCalendarDate(date) +
                                                 " nie da się przeliczyć na czas lokalny tego "
                                                 "komputera.");
        }
    }
    if (*enteredDueInstant > *paymentInstant) {
        // Paid before the term ended: no day of delay, so no interest.
        Calculation early;
        early.due = input.due;
        early.payment = input.payment;
        early.amount = input.amount;
        early.note = "zapłata " + FormatCalendarDate(input.payment) + " przed terminem płatności " +
                     FormatCalendarDate(input.due) + ", więc odsetki za zwłokę nie biegną";
        return CaseOutcome{std::move(early), Refusal::None, {}};
    }

    std::optional<DueDateShift> shift;
    year_month_day due = input.due;
    std::int32_t dueInstant = *enteredDueInstant;
    if (input.shiftDueDate) {
        if (auto dayOff = StatutoryHolidays().DayOffName(input.due)) {
            shift = DueDateShift{input.due, std::move(*dayOff)};
            due = StatutoryHolidays().NextWorkingDay(input.due);
            // Paid before the moved term ends: paid in time, no day of delay.
            const auto movedInstant =
                due <= input.payment ? InstantOfDate(due, now) : paymentInstant;
            if (!movedInstant) {
                return Refuse(Refusal::BadInput, "Daty " + FormatCalendarDate(due) +
                                                     " nie da się przeliczyć na czas lokalny tego "
                                                     "komputera.");
            }
            dueInstant = *movedInstant;
        }
    }

    // The arrears arise the day after the (moved) due date.
    const year_month_day arose{sys_days{due} + days{1}};
    RegimeChoice choice{input.regime, {}, {}};
    if (!input.regime) {
        choice =
            StatutoryRateRegimes().Choose(input.rateKind, arose, input.payment, input.correction);
    }
    if (!choice.regime) {
        return Refuse(Refusal::Unsettled, "Nie ustalono stawki: " + choice.refusal + ".");
    }
    const RateRegime& regime = *choice.regime;
    if (regime.settledTo && dueInstant < *paymentInstant && *regime.settledTo < input.payment) {
        return Refuse(
            Refusal::Unsettled,
            "Nie ustalono stawki: dla dni zwłoki od " +
                FormatCalendarDate(year_month_day{sys_days{*regime.settledTo} + days{1}}) +
                " nie ogłoszono stawki według " + regime.provision +
                " i nie wiadomo, jaka obowiązuje.");
    }
    Calculation calculation = Calculate(rates.table, due, input.payment, dueInstant,
                                        *paymentInstant, input.amount, regime.fraction);
    calculation.regime = regime;
    calculation.note = choice.note;
    calculation.dueShift = shift;
    if (calculation.shares.empty() && dueInstant < *paymentInstant) {
        return Refuse(Refusal::NoRate,
                      "Strona ze stopami nie podaje stopy na dzień po dacie należności " +
                          FormatCalendarDate(due) + ", więc odsetek nie można obliczyć.");
    }
    // A figure that leaves days out would be silently too low.
    if (!calculation.uncovered.empty()) {
        return Refuse(Refusal::NoRate, "Brak stopy odsetek dla części okresu zwłoki (" +
                                           GapText(calculation.uncovered) +
                                           "), więc odsetek nie można obliczyć.");
    }
    if (!std::isfinite(calculation.interest)) {
        return Refuse(Refusal::BadInput, "Stopy ze strony dają odsetki zbyt duże, by je obliczyć.");
    }
    calculation.threshold = StatutoryThreshold().On(input.payment);
    if (!calculation.threshold) {
        calculation.thresholdKnownFrom = StatutoryThreshold().FirstKnownDay();
    }
    return CaseOutcome{std::move(calculation), Refusal::None, {}};
}

}  // namespace vistrel::rules
