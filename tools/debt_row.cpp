#include "tools/debt_row.h"

#include <optional>
#include <string_view>

#include "rules/calendar_date.h"
#include "rules/partial_payments.h"
#include "tools/debt_list.h"
#include "tools/list_records.h"
#include "tools/polish_number.h"
#include "tools/quoting.h"
#include "tools/rate_freshness.h"
#include "tools/report.h"

namespace vistrel::tools {

using namespace rules;
namespace {

struct DebtRow {
    std::optional<CaseInput> input;
    std::optional<PaymentPlan> plan;  // a row with payments
    std::string error;
};

// "DATA:KWOTA|DATA:KWOTA", in the list's date and amount forms.
std::optional<std::vector<Payment>> ReadRowPayments(std::string_view text, std::string& error) {
    std::vector<Payment> payments;
    for (;;) {
        const std::size_t bar = text.find('|');
        std::string_view item = text.substr(0, bar);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        const auto payment = ReadPaymentText(item, error, true);
        if (!payment) {
            if (!error.empty()) error[0] = 'w';  // "Wpłata ..." inside the line
            if (error.ends_with('.')) error.pop_back();
            return std::nullopt;
        }
        payments.push_back(Payment{payment->first, ToGrosze(payment->second)});
        if (bar == std::string_view::npos) return payments;
        text.remove_prefix(bar + 1);
    }
}

std::optional<std::chrono::year_month_day> ReadRowDate(std::string_view text, std::string_view role,
                                                       std::string& error) {
    const auto date = ParseListDate(text);
    if (!date) {
        error =
            std::string(role) + " " + Quoted(text) + " nie jest datą (RRRR-MM-DD albo DD.MM.RRRR)";
        return std::nullopt;
    }
    if (!IsAcceptedDate(*date)) {
        error = std::string(role) + " " + Quoted(text) + " leży poza obsługiwanym zakresem " +
                FormatCalendarDate(EarliestEntryDate) + " – " + FormatCalendarDate(LatestEntryDate);
        return std::nullopt;
    }
    return date;
}

DebtRow ReadRow(const std::vector<std::string>& fields, const CalculatorOptions& options,
                char separator) {
    DebtRow reading;
    if (fields.size() < 3) {
        reading.error = "oczekiwano co najmniej trzech pól rozdzielonych " +
                        std::string(SeparatorName(separator)) +
                        ": daty należności, daty zapłaty i kwoty";
        return reading;
    }
    const auto due = ReadRowDate(fields[0], "data należności", reading.error);
    if (!due) return reading;
    const bool paidInParts = fields.size() > 4 && !fields[4].empty();
    std::optional<std::chrono::year_month_day> payment;
    if (!paidInParts || !fields[1].empty()) {
        payment = ReadRowDate(fields[1], "data zapłaty", reading.error);
        if (!payment) return reading;
    }
    std::string amountError;
    const auto amount = ReadAmountText(fields[2], amountError);
    if (!amount) {
        reading.error = amountError;
        if (!reading.error.empty()) reading.error[0] = 'k';  // "Kwota ..." inside the line
        if (reading.error.ends_with('.')) reading.error.pop_back();
        return reading;
    }
    InterestRateKind kind = options.rateKind;
    if (fields.size() > 3 && !fields[3].empty()) {
        const auto named = ParseKindName(fields[3]);
        if (!named) {
            reading.error = "rodzaj stawki " + Quoted(fields[3]) +
                            " to nie podstawowa, obnizona ani podwyzszona";
            return reading;
        }
        kind = *named;
    }
    std::optional<std::chrono::year_month_day> correction;
    if (fields.size() > 5 && !fields[5].empty()) {
        correction = ReadRowDate(fields[5], "data korekty", reading.error);
        if (!correction) return reading;
    }
    if (paidInParts) {
        auto payments = ReadRowPayments(fields[4], reading.error);
        if (!payments) return reading;
        reading.plan = PaymentPlan{
            *due,      ToGrosze(*amount), std::move(*payments), payment, kind, options.shiftDueDate,
            correction};
        return reading;
    }
    reading.input = CaseInput{*due, *payment, *amount, kind, options.shiftDueDate, correction, {}};
    return reading;
}

// "YYYY-MM-DD", as FormatCalendarDate writes it, without the C library's formatting: a list
// writes two for every due date moved off a day off.
void AppendDate(std::string& out, const std::chrono::year_month_day& date) {
    const auto digits = [&out](unsigned value, int width) {
        char text[4];
        for (int i = width - 1; i >= 0; --i) {
            text[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        out.append(text, static_cast<std::size_t>(width));
    };
    digits(static_cast<unsigned>(static_cast<int>(date.year())), 4);
    out += '-';
    digits(static_cast<unsigned>(date.month()), 2);
    out += '-';
    digits(static_cast<unsigned>(date.day()), 2);
}

void AppendRemarks(std::string& out, const Calculation& calculation) {
    const std::size_t start = out.size();
    const auto next = [&out, start] {
        if (out.size() > start) out += "; ";
    };
    out += calculation.note;
    if (calculation.dueShift) {
        next();
        out += "termin przesunięty z ";
        AppendDate(out, calculation.dueShift->entered);
        out += " (";
        out += calculation.dueShift->dayOff;
        out += ") na ";
        AppendDate(out, calculation.due);
    }
    if (IsNotCharged(calculation)) {
        next();
        out += "odsetek nie nalicza się, do zapłaty 0 zł (nie przekraczają ";
        out += FormatPolishAmount(*calculation.threshold);
        out += ")";
    }
    if (calculation.days != calculation.elapsedDays) {
        next();
        out += "stopy obejmują " + std::to_string(calculation.days) + " z " +
               std::to_string(calculation.elapsedDays) + " dni zwłoki";
    }
}

std::int32_t TotalDays(const PaymentSchedule& schedule) {
    std::int32_t days = schedule.balanceLeg ? schedule.balanceLeg->days : 0;
    for (const PaymentSplit& split : schedule.splits) days += split.leg.days;
    return days;
}

std::string PaymentRemarks(const PaymentSchedule& schedule) {
    if (schedule.settled) {
        const PaymentSplit& last = schedule.splits.back();
        std::string remarks = "dług uregulowany wpłatą z " + FormatCalendarDate(last.payment.date);
        if (last.overpayment > 0) remarks += "; nadpłata " + FormatGrosze(last.overpayment);
        return remarks;
    }
    return "zaległość " + FormatGrosze(schedule.arrears) + "; odsetki " +
           FormatGrosze(schedule.interest) + "; razem " +
           FormatGrosze(schedule.arrears + schedule.interest);
}

std::string RefusedInRow(const PaymentSchedule& schedule) {
    std::string text;
    for (const Payment& payment : schedule.refused) {
        if (!text.empty()) text += "; ";
        text += "wpłata z " + FormatCalendarDate(payment.date) +
                " odrzucona, dług uregulowała już wpłata z " +
                FormatCalendarDate(schedule.splits.back().payment.date);
    }
    return text;
}

// Figures as a spreadsheet reads them back: a decimal comma, no grouping; in quotes in a list
// separated by commas.
void AppendSheetNumber(std::string& out, double value, int decimals, char separator) {
    std::string text = FormatFixed(value, decimals);
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    AppendListField(out, text, separator);
}

}  // namespace

DebtRowOutcome ComputeDebtRow(const RateSource& rates, const std::vector<std::string>& fields,
                              const CalculatorOptions& options, std::int32_t now, char separator,
                              std::string& added) {
    DebtRowOutcome outcome;
    added.clear();
    const DebtRow reading = ReadRow(fields, options, separator);
    std::string error = reading.error;
    if (reading.plan) {
        const ScheduleOutcome scheduled = CalculatePayments(rates, *reading.plan, now);
        if (scheduled.schedule) {
            const PaymentSchedule& schedule = *scheduled.schedule;
            added += std::to_string(TotalDays(schedule));
            added += separator;
            AppendSheetNumber(added, static_cast<double>(schedule.interest) / 100.0, 2, separator);
            added += separator;
            added += separator;
            AppendListField(added, PaymentRemarks(schedule), separator);
            outcome.computed = true;
            if (!schedule.refused.empty()) outcome.error = RefusedInRow(schedule);
            return outcome;
        }
        error = scheduled.error;
    } else if (reading.input) {
        outcome.paidLate = MayBeStale(reading.input->payment, rates.newestStart);
        const CaseOutcome calculated = CalculateCase(rates, *reading.input, now);
        if (calculated.calculation) {
            const Calculation& calculation = *calculated.calculation;
            added += std::to_string(calculation.days);
            added += separator;
            AppendSheetNumber(added, calculation.interest, 2, separator);
            added += separator;
            AppendSheetNumber(added, ChargedInterest(calculation), 0, separator);
            added += separator;
            std::string remarks;
            AppendRemarks(remarks, calculation);
            AppendListField(added, remarks, separator);
            outcome.computed = true;
            return outcome;
        }
        error = calculated.error;
    }
    outcome.error = error;
    added = FieldsOfRowError(error, separator);
    return outcome;
}

std::string FieldsOfRowError(const std::string& error, char separator) {
    std::string fields(3, separator);
    AppendListField(fields, "błąd: " + error, separator);
    return fields;
}

}  // namespace vistrel::tools
