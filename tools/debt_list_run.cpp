#include "tools/debt_list_run.h"

#include <algorithm>
#include <fstream>

#include "rules/calendar_date.h"
#include "rules/partial_payments.h"
#include "tools/polish_number.h"
#include "tools/quoting.h"
#include "tools/rate_freshness.h"
#include "tools/rate_page_file.h"
#include "tools/report.h"

namespace vistrel::tools {

using namespace rules;
namespace {

// A list far larger than any accountant's is no list.
constexpr std::uintmax_t LargestList = 256 * 1024 * 1024;

constexpr const char* AddedHeader = "dni;odsetki;odsetki zaokrąglone;uwagi";

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
    } else if (!IsAcceptedDate(*date)) {
        error = std::string(role) + " " + Quoted(text) + " leży poza obsługiwanym zakresem " +
                FormatCalendarDate(EarliestEntryDate) + " – " + FormatCalendarDate(LatestEntryDate);
        return std::nullopt;
    }
    return date;
}

DebtRow ReadRow(const std::vector<std::string>& fields, const CalculatorOptions& options) {
    DebtRow reading;
    if (fields.size() < 3) {
        reading.error = "oczekiwano co najmniej trzech pól: daty należności, daty zapłaty i kwoty";
        return reading;
    }
    const auto due = ReadRowDate(fields[0], "data należności", reading.error);
    if (!due) return reading;
    const bool paidInParts = fields.size() > 4 && !fields[4].empty();
    if (paidInParts && fields[1].empty()) {
        // No balance day: the state after the last payment.
    } else if (!ReadRowDate(fields[1], "data zapłaty", reading.error)) {
        return reading;
    }
    const auto payment = paidInParts && fields[1].empty()
                             ? std::optional<std::chrono::year_month_day>()
                             : ParseListDate(fields[1]);
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
    if (paidInParts) {
        auto payments = ReadRowPayments(fields[4], reading.error);
        if (!payments) return reading;
        reading.plan = PaymentPlan{*due, ToGrosze(*amount),    std::move(*payments), payment,
                                   kind, options.shiftDueDate, options.correction};
        return reading;
    }
    reading.input =
        CaseInput{*due, *payment, *amount, kind, options.shiftDueDate, options.correction, {}};
    return reading;
}

std::string Remarks(const Calculation& calculation) {
    std::string remarks = calculation.note;
    if (calculation.dueShift) {
        if (!remarks.empty()) remarks += "; ";
        remarks += "termin przesunięty z " + FormatCalendarDate(calculation.dueShift->entered) +
                   " (" + calculation.dueShift->dayOff + ") na " +
                   FormatCalendarDate(calculation.due);
    }
    if (IsNotCharged(calculation)) {
        if (!remarks.empty()) remarks += "; ";
        remarks += "odsetek nie nalicza się, do zapłaty 0 zł (nie przekraczają " +
                   FormatPolishAmount(*calculation.threshold) + ")";
    }
    if (calculation.days != calculation.elapsedDays) {
        if (!remarks.empty()) remarks += "; ";
        remarks += "stopy obejmują " + std::to_string(calculation.days) + " z " +
                   std::to_string(calculation.elapsedDays) + " dni zwłoki";
    }
    return remarks;
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

// Figures as a spreadsheet reads them back: a decimal comma, no grouping.
std::string SheetNumber(double value, int decimals) {
    std::string text = FormatFixed(value, decimals);
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    return text;
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

DebtListResult ComputeDebtList(const RateSource& rates, const ListText& list,
                               const CalculatorOptions& options, std::int32_t now,
                               const ProgressSink& progress) {
    DebtListResult result;
    const LocalDateMemo memo;  // the rows share a few thousand dates at most
    const auto& newest = rates.newestStart;
    result.lines.reserve(list.lines.size());
    std::size_t dataRows = 0;
    bool seenLine = false;
    // The figures go into the columns after the widest row's, so that they stand under the
    // header's names also in rows that leave the last columns out.
    std::size_t columns = 0;
    for (const std::string& line : list.lines) {
        if (!line.empty()) ++dataRows;
        columns = std::max(columns, SplitListLine(line).size());
    }
    const auto padded = [columns](const std::string& line, std::size_t fields) {
        return line + std::string(columns > fields ? columns - fields : 0, ';');
    };
    for (std::size_t i = 0; i < list.lines.size(); ++i) {
        const std::string& line = list.lines[i];
        if (line.find_first_not_of(" \t;") == std::string::npos) {
            result.lines.push_back(line);
            if (!line.empty()) --dataRows;
            continue;
        }
        const std::vector<std::string> fields = SplitListLine(line);
        if (!seenLine) {
            seenLine = true;
            // A first line that does not begin with a date names the columns.
            if (!ParseListDate(fields.front())) {
                result.lines.push_back(padded(line, fields.size()) + ";" + AddedHeader);
                --dataRows;
                continue;
            }
        }
        ++result.rows;
        const DebtRow reading = ReadRow(fields, options);
        std::string error = reading.error;
        std::string added;
        if (reading.plan) {
            const ScheduleOutcome outcome = CalculatePayments(rates, *reading.plan, now);
            if (outcome.schedule) {
                const PaymentSchedule& schedule = *outcome.schedule;
                added = std::to_string(TotalDays(schedule)) + ";" +
                        SheetNumber(static_cast<double>(schedule.interest) / 100.0, 2) + ";;" +
                        ListField(PaymentRemarks(schedule));
                if (!schedule.refused.empty()) {
                    ++result.failedRows;
                    result.errors +=
                        "wiersz " + std::to_string(i + 1) + ": " + RefusedInRow(schedule) + "\n";
                }
            } else {
                error = outcome.error;
            }
        } else if (reading.input) {
            if (MayBeStale(reading.input->payment, newest)) ++result.rowsPaidLate;
            const CaseOutcome outcome = CalculateCase(rates, *reading.input, now);
            if (outcome.calculation) {
                const Calculation& calculation = *outcome.calculation;
                added = std::to_string(calculation.days) + ";" +
                        SheetNumber(calculation.interest, 2) + ";" +
                        SheetNumber(ChargedInterest(calculation), 0) + ";" +
                        ListField(Remarks(calculation));
            } else {
                error = outcome.error;
            }
        }
        if (!error.empty()) {
            ++result.failedRows;
            result.errors += "wiersz " + std::to_string(i + 1) + ": " + error + "\n";
            added = ";;;" + ListField("błąd: " + error);
        }
        result.lines.push_back(padded(line, fields.size()) + ";" + added);
        if (progress && dataRows > ProgressRowStep && result.rows % ProgressRowStep == 0) {
            progress("Obliczono " + FormatPolishCount(static_cast<std::int64_t>(result.rows)) +
                     " z " + FormatPolishCount(static_cast<std::int64_t>(dataRows)) +
                     " wierszy listy.\n");
        }
    }
    return result;
}

CliOutput RunDebtList(const RateSource& rates, const CalculatorOptions& options, std::int32_t now,
                      const ProgressSink& progress) {
    const std::filesystem::path listPath = PathFromUtf8(*options.listPath);
    std::error_code error;
    const auto size = std::filesystem::file_size(listPath, error);
    std::ifstream file(listPath, std::ios::binary);
    if (error || !file || !std::filesystem::is_regular_file(listPath, error)) {
        return CliOutput{ExitUnreadablePage,
                         {},
                         "Błąd: Nie można odczytać pliku listy: " + *options.listPath + "\n"};
    }
    if (size > LargestList) {
        return CliOutput{
            ExitUnreadablePage, {}, "Błąd: Plik listy jest zbyt duży: " + *options.listPath + "\n"};
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return CliOutput{ExitUnreadablePage,
                         {},
                         "Błąd: Nie można odczytać pliku listy: " + *options.listPath + "\n"};
    }
    const ListText list = DecodeListText(bytes);
    const DebtListResult result = ComputeDebtList(rates, list, options, now, progress);

    CliOutput output;
    output.err = result.errors;
    output.exitCode = result.failedRows == 0 ? ExitSuccess : ExitSomeRowsUnread;
    output.rowsPaidLate = result.rowsPaidLate;
    if (!options.resultPath) {
        ListText asUtf8 = list;
        asUtf8.windows1250 = false;
        asUtf8.byteOrderMark = false;
        output.out = EncodeListText(asUtf8, result.lines);
        return output;
    }
    const std::filesystem::path resultPath = PathFromUtf8(*options.resultPath);
    std::ofstream written(resultPath, std::ios::binary | std::ios::trunc);
    const std::string encoded = EncodeListText(list, result.lines);
    written.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
    written.close();
    if (!written) {
        return CliOutput{
            ExitUnreadablePage,
            {},
            output.err + "Błąd: Nie można zapisać pliku wyniku: " + Utf8Of(resultPath) + "\n"};
    }
    output.err +=
        "Zapisano " + FormatPolishCount(static_cast<std::int64_t>(result.rows)) +
        " wierszy listy do " + *options.resultPath +
        (result.failedRows == 0
             ? std::string(".\n")
             : "; bez odsetek " + FormatPolishCount(static_cast<std::int64_t>(result.failedRows)) +
                   " z nich.\n");
    return output;
}

}  // namespace vistrel::tools
