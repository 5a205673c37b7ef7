#include "rules/partial_payments.h"

#include <cmath>

#include "rules/calendar_date.h"
#include "rules/holiday_calendar.h"
#include "rules/interest_threshold.h"
#include "rules/rate_regime.h"

namespace vistrel::rules {
namespace {

using std::chrono::year_month_day;

// Products of amounts up to 10^15 grosze need more than 64 bits, and the 32-bit Windows
// compiler has no 128-bit integer: a product kept as two 64-bit halves.
struct WideProduct {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

WideProduct Multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow;
    const std::uint64_t middle1 = aHigh * bLow;
    const std::uint64_t middle2 = aLow * bHigh;
    const std::uint64_t carry =
        ((lowLow >> 32) + (middle1 & 0xFFFFFFFFu) + (middle2 & 0xFFFFFFFFu)) >> 32;
    WideProduct product;
    product.low = a * b;
    product.high = aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32) + carry;
    return product;
}

WideProduct Add(WideProduct value, std::uint64_t addend) {
    value.low += addend;
    if (value.low < addend) ++value.high;
    return value;
}

// `value` / `divisor` for a quotient that fits 64 bits and a divisor below 2^63, bit by bit.
std::uint64_t Divide(WideProduct value, std::uint64_t divisor) {
    std::uint64_t quotient = 0;
    std::uint64_t remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
        const std::uint64_t word = bit >= 64 ? value.high : value.low;
        remainder = (remainder << 1) | ((word >> (bit % 64)) & 1u);
        quotient <<= 1;
        if (remainder >= divisor) {
            remainder -= divisor;
            quotient |= 1u;
        }
    }
    return quotient;
}

// The interest on `arrears` for the days after `from` up to `until`; the first stretch counts
// from the due date as a single payment does (moved off a day off work).
std::optional<InterestLeg> Leg(const RateSource& rates, const PaymentPlan& plan,
                               const RateRegime& regime, year_month_day from, bool fromDueDate,
                               Grosze arrears, year_month_day until, bool creditsPayment,
                               std::int32_t now, ScheduleOutcome& failure) {
    InterestLeg leg;
    leg.until = until;
    leg.creditsPayment = creditsPayment;
    if (until <= from) return leg;  // paid before interest runs
    CaseInput input;
    input.due = from;
    input.payment = until;
    input.amount = static_cast<double>(arrears) / 100.0;
    input.rateKind = plan.rateKind;
    input.shiftDueDate = fromDueDate && plan.shiftDueDate;
    input.regime = regime;
    const CaseOutcome outcome = CalculateCase(rates, input, now);
    if (!outcome.calculation) {
        failure = ScheduleOutcome{std::nullopt, outcome.refusal, outcome.error};
        return std::nullopt;
    }
    leg.calculation = outcome.calculation;
    leg.days = outcome.calculation->days;
    // A payment is credited with the interest to the grosz (art. 63 § 3: no rounding to whole
    // złoty when a payment is credited); what is still owed on a day is rounded once.
    if (IsNotCharged(*outcome.calculation)) {
        leg.charged = 0;
    } else {
        leg.charged = creditsPayment ? ToGrosze(outcome.calculation->interest)
                                     : ToGrosze(ChargedInterest(*outcome.calculation));
    }
    return leg;
}

}  // namespace

Grosze ToGrosze(double zloty) { return static_cast<Grosze>(std::floor(zloty * 100.0 + 0.5)); }

Grosze ArrearsShare(Grosze payment, Grosze arrears, Grosze interest) {
    const Grosze total = arrears + interest;
    if (total <= 0) return payment;
    // Half a grosz up: (2 × payment × arrears + total) / (2 × total), in whole grosze.
    const WideProduct numerator =
        Add(Multiply(2 * static_cast<std::uint64_t>(payment), static_cast<std::uint64_t>(arrears)),
            static_cast<std::uint64_t>(total));
    return static_cast<Grosze>(Divide(numerator, 2 * static_cast<std::uint64_t>(total)));
}

ScheduleOutcome CalculatePayments(const RateSource& rates, const PaymentPlan& plan,
                                  std::int32_t now) {
    PaymentSchedule schedule;
    ScheduleOutcome failure;
    for (std::size_t i = 1; i < plan.payments.size(); ++i) {
        if (plan.payments[i].date < plan.payments[i - 1].date) {
            return ScheduleOutcome{std::nullopt, Refusal::BadInput,
                                   "Wpłaty podaje się w kolejności dat, a wpłata z " +
                                       FormatCalendarDate(plan.payments[i].date) +
                                       " stoi po wpłacie z " +
                                       FormatCalendarDate(plan.payments[i - 1].date) + "."};
        }
    }
    if (plan.balanceDay && !plan.payments.empty() && *plan.balanceDay < plan.payments.back().date) {
        return ScheduleOutcome{std::nullopt, Refusal::BadInput,
                               "Dzień stanu " + FormatCalendarDate(*plan.balanceDay) +
                                   " poprzedza ostatnią wpłatę z " +
                                   FormatCalendarDate(plan.payments.back().date) + "."};
    }
    // Interest runs from the day after the due date, moved off a day off work.
    year_month_day runsFrom = plan.due;
    bool fromDueDate = true;
    if (plan.shiftDueDate) {
        if (auto dayOff = StatutoryHolidays().DayOffName(plan.due)) {
            schedule.dueShift = DueDateShift{plan.due, std::move(*dayOff)};
        }
    }
    const year_month_day movedDue =
        plan.shiftDueDate ? StatutoryHolidays().NextWorkingDay(plan.due) : plan.due;
    // One regime for the whole debt, from the day its arrears arose.
    if (plan.rateKind == InterestRateKind::Reduced) {
        return ScheduleOutcome{std::nullopt, Refusal::Unsettled,
                               "Nie ustalono stawki: stawka obniżona przysługuje, gdy zaległość "
                               "zapłacono w całości w ciągu 7 dni od złożenia korekty; dla długu "
                               "spłacanego w częściach kalkulator jej nie stosuje."};
    }
    const year_month_day lastDay =
        plan.balanceDay ? *plan.balanceDay
                        : (plan.payments.empty() ? movedDue : plan.payments.back().date);
    const RegimeChoice choice = StatutoryRateRegimes().Choose(
        plan.rateKind, year_month_day{std::chrono::sys_days{movedDue} + std::chrono::days{1}},
        lastDay, plan.correction);
    if (!choice.regime) {
        return ScheduleOutcome{std::nullopt, Refusal::Unsettled,
                               "Nie ustalono stawki: " + choice.refusal + "."};
    }
    const std::optional<RateRegime> regime = choice.regime;
    schedule.note = choice.note;
    Grosze arrears = plan.arrears;
    Grosze interest = 0;
    for (const Payment& payment : plan.payments) {
        if (schedule.settled) {
            schedule.refused.push_back(payment);
            continue;
        }
        auto leg = Leg(rates, plan, *regime, runsFrom, fromDueDate, arrears, payment.date, true,
                       now, failure);
        if (!leg) return failure;
        PaymentSplit split;
        split.payment = payment;
        split.leg = std::move(*leg);
        split.interestDue = interest + split.leg.charged;
        if (payment.amount >= arrears + split.interestDue) {
            split.toArrears = arrears;
            split.toInterest = split.interestDue;
            split.overpayment = payment.amount - arrears - split.interestDue;
            split.settles = true;
            schedule.settled = true;
        } else {
            split.toArrears = ArrearsShare(payment.amount, arrears, split.interestDue);
            split.toInterest = payment.amount - split.toArrears;
        }
        arrears -= split.toArrears;
        interest = split.interestDue - split.toInterest;
        split.arrearsLeft = arrears;
        split.interestLeft = interest;
        schedule.splits.push_back(split);
        // The next stretch begins after this payment, or after the due date when paid early.
        if (payment.date > runsFrom) {
            fromDueDate = payment.date < movedDue;
            runsFrom = fromDueDate ? runsFrom : payment.date;
        }
    }
    if (plan.balanceDay && !schedule.settled) {
        auto leg = Leg(rates, plan, *regime, runsFrom, fromDueDate, arrears, *plan.balanceDay,
                       false, now, failure);
        if (!leg) return failure;
        interest += leg->charged;
        schedule.balanceLeg = std::move(*leg);
    }
    schedule.arrears = arrears;
    schedule.interest = interest;
    return ScheduleOutcome{std::move(schedule), Refusal::None, {}};
}

}  // namespace vistrel::rules
