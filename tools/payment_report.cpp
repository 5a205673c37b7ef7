#include "tools/payment_report.h"

#include "rules/calendar_date.h"
#include "rules/holiday_calendar.h"
#include "rules/interest_threshold.h"
#include "tools/polish_number.h"
#include "tools/report.h"

namespace vistrel::tools {

using namespace rules;
namespace {

constexpr std::size_t LabelWidth = 33;

std::string Line(const std::string& label, const std::string& value) {
    std::string text = label;
    std::size_t characters = 0;
    for (const char c : label) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    }
    if (characters < LabelWidth) text.append(LabelWidth - characters, ' ');
    return text + value + "\n";
}

bool NotCharged(const InterestLeg& leg) {
    return leg.calculation && IsNotCharged(*leg.calculation);
}

double LegInterest(const InterestLeg& leg) {
    return leg.calculation ? leg.calculation->interest : 0.0;
}

// "365 dni od 2022-03-16: 1 526,71 zł, zaokrąglone 1 527 zł"
std::string LegText(const InterestLeg& leg) {
    if (!leg.calculation || leg.days == 0) {
        return "brak: dzień " + FormatCalendarDate(leg.until) +
               " nie przypada po terminie płatności, odsetki za zwłokę jeszcze nie biegną";
    }
    const Calculation& calculation = *leg.calculation;
    std::string text = FormatPolishCount(leg.days) + " dni po " +
                       FormatCalendarDate(calculation.due) + ": " +
                       FormatPolishAmount(calculation.interest);
    if (NotCharged(leg)) {
        return text + ", nie nalicza się (nie przekraczają " +
               FormatPolishAmount(*calculation.threshold) + ")";
    }
    return text +
           (leg.creditsPayment
                ? ", do zaliczenia wpłaty bez zaokrąglania (art. 63 § 3)"
                : ", zaokrąglone " +
                      FormatPolishNumber(static_cast<double>(leg.charged) / 100.0, 0) + " zł");
}

std::string LegFields(const InterestLeg& leg) {
    return " odsetki=" + FormatFixed(LegInterest(leg), 2) +
           " naliczone=" + PlainGrosze(leg.charged) + " dni=" + std::to_string(leg.days);
}

}  // namespace

std::string FormatPaymentReport(const PaymentPlan& plan, const PaymentSchedule& schedule) {
    std::string report;
    report += Line("Data należności:", FormatCalendarDate(plan.due));
    if (schedule.dueShift) {
        report += Line("Termin przesunięty na:",
                       FormatCalendarDate(StatutoryHolidays().NextWorkingDay(plan.due)) + " (" +
                           schedule.dueShift->dayOff + ", dzień wolny od pracy)");
    }
    report += Line("Kwota zaległości:", FormatGrosze(plan.arrears));
    if (plan.rateKind != InterestRateKind::Basic) {
        report += Line("Stawka:", KindName(plan.rateKind));
    }
    if (!schedule.note.empty()) report += "Uwaga: " + schedule.note + ".\n";
    for (std::size_t i = 0; i < schedule.splits.size(); ++i) {
        const PaymentSplit& split = schedule.splits[i];
        report += "\nWpłata " + std::to_string(i + 1) + ": " +
                  FormatCalendarDate(split.payment.date) + ", " +
                  FormatGrosze(split.payment.amount) + "\n";
        report += Line("  Odsetki za ten okres:", LegText(split.leg));
        report += Line("  Odsetki należne w dniu wpłaty:", FormatGrosze(split.interestDue));
        report += Line("  Na zaległość:", FormatGrosze(split.toArrears));
        report += Line("  Na odsetki:", FormatGrosze(split.toInterest));
        if (split.settles) {
            report += split.overpayment > 0 ? Line("  Nadpłata:", FormatGrosze(split.overpayment))
                                            : std::string();
            report += "  Wpłata uregulowała dług.\n";
        } else {
            report += Line("  Pozostaje zaległości:", FormatGrosze(split.arrearsLeft));
            report += Line("  Pozostaje odsetek:", FormatGrosze(split.interestLeft));
        }
    }
    if (schedule.balanceLeg) {
        report += "\nStan na " + FormatCalendarDate(schedule.balanceLeg->until) + "\n";
        report += Line("  Odsetki od zaległości:", LegText(*schedule.balanceLeg));
    }
    report += "\n";
    if (schedule.settled) {
        const Grosze over = schedule.splits.back().overpayment;
        report += over > 0 ? "Dług uregulowany; nadpłata " + FormatGrosze(over) + ".\n"
                           : std::string("Dług uregulowany.\n");
    } else {
        report += Line("Pozostaje zaległości:", FormatGrosze(schedule.arrears));
        report += Line("Pozostaje odsetek:", FormatGrosze(schedule.interest));
        report += Line("Razem do zapłaty:", FormatGrosze(schedule.arrears + schedule.interest));
    }
    return report;
}

std::string FormatPaymentLines(const PaymentPlan&, const PaymentSchedule& schedule) {
    std::string lines;
    for (const PaymentSplit& split : schedule.splits) {
        lines += "wplata=" + FormatCalendarDate(split.payment.date) +
                 " kwota=" + PlainGrosze(split.payment.amount) + LegFields(split.leg) +
                 " na_zaleglosc=" + PlainGrosze(split.toArrears) +
                 " na_odsetki=" + PlainGrosze(split.toInterest) +
                 " zaleglosc=" + PlainGrosze(split.arrearsLeft) +
                 " odsetki_zalegle=" + PlainGrosze(split.interestLeft);
        if (split.settles) lines += " nadplata=" + PlainGrosze(split.overpayment);
        if (NotCharged(split.leg))
            lines += " prog=" + FormatFixed(*split.leg.calculation->threshold, 2);
        lines += "\n";
    }
    if (schedule.balanceLeg) {
        lines += "na_dzien=" + FormatCalendarDate(schedule.balanceLeg->until) +
                 LegFields(*schedule.balanceLeg) + " zaleglosc=" + PlainGrosze(schedule.arrears) +
                 " odsetki_zalegle=" + PlainGrosze(schedule.interest) +
                 " razem=" + PlainGrosze(schedule.arrears + schedule.interest);
        if (NotCharged(*schedule.balanceLeg)) {
            lines += " prog=" + FormatFixed(*schedule.balanceLeg->calculation->threshold, 2);
        }
        lines += "\n";
    }
    return lines;
}

std::string RefusedPayments(const PaymentSchedule& schedule) {
    std::string text;
    for (const Payment& payment : schedule.refused) {
        text += "Błąd: wpłata z " + FormatCalendarDate(payment.date) + " (" +
                FormatGrosze(payment.amount) + ") odrzucona: dług uregulowała już wpłata z " +
                FormatCalendarDate(schedule.splits.back().payment.date) + ".\n";
    }
    return text;
}

}  // namespace vistrel::tools
