#include "tools/report.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string_view>

#include "rules/calendar_date.h"
#include "rules/interest_threshold.h"
#include "rules/tax_rounding.h"

namespace vistrel::tools {

using namespace rules;
namespace {

// Columns are counted in characters, and every Polish letter takes two bytes in UTF-8.
std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::string PadRight(std::string_view text, std::size_t width) {
    std::string padded(text);
    const std::size_t count = CharacterCount(text);
    if (count < width) {
        padded.append(width - count, ' ');
    }
    return padded;
}

std::string PadLeft(std::string_view text, std::size_t width) {
    const std::size_t count = CharacterCount(text);
    return std::string(count < width ? width - count : 0, ' ') + std::string(text);
}

std::string DateText(const std::optional<std::chrono::year_month_day>& date) {
    return date ? FormatCalendarDate(*date) : std::string("?");
}

// The days of delay the period counts.
std::string PeriodText(const PeriodShare& share) {
    return "od " + DateText(share.first) + " do " + DateText(share.last);
}

std::string RegimeText(const RateRegime& regime) {
    return KindName(regime.kind) + ": " + FormatPolishNumber(regime.fraction.percent, 0) +
           "% stawki podstawowej w każdym dniu zwłoki (" + regime.provision + ")";
}

}  // namespace

std::string FormatWorksheetInterest(double interest) { return FormatFixed(interest, 1); }

std::string FormatRate(const PeriodShare& share) {
    const char* unit = share.kind == RateKind::Annual ? "% rocznie" : "% dziennie";
    std::string text = FormatPolishNumber(share.rate, 2) + unit;
    if (share.rate != share.pageRate) {
        text += " (" + FormatPolishNumber(share.rate * 100.0 / share.pageRate, 0) + "% z " +
                FormatPolishNumber(share.pageRate, 2) + "%)";
    }
    return text;
}

std::string FormatReport(const Calculation& calculation) {
    constexpr std::size_t labelWidth = 26;
    std::string report;
    const auto line = [&report](std::string_view label, std::string_view value) {
        report += PadRight(label, labelWidth) + std::string(value) + "\n";
    };
    if (calculation.dueShift) {
        line("Data należności:", FormatCalendarDate(calculation.dueShift->entered) + " (" +
                                     calculation.dueShift->dayOff + ", dzień wolny od pracy)");
        line("Termin przesunięty na:", FormatCalendarDate(calculation.due) +
                                           " (następny dzień roboczy, art. 12 § 5 Ordynacji "
                                           "podatkowej)");
    } else {
        line("Data należności:", FormatCalendarDate(calculation.due));
    }
    line("Data zapłaty:", FormatCalendarDate(calculation.payment));
    line("Kwota:", FormatPolishAmount(calculation.amount));
    if (calculation.regime.kind != InterestRateKind::Basic) {
        line("Stawka:", RegimeText(calculation.regime));
        line("Przyjęte warunki:", calculation.regime.conditions);
    }
    line("Dni zwłoki:", FormatPolishCount(calculation.elapsedDays));
    if (!calculation.note.empty()) {
        report += "\nUwaga: " + calculation.note + ".\n";
    }
    report += "\n";
    // A period that adds no day (one that starts only after the payment) is no part of it.
    const auto counts = [](const PeriodShare& share) { return share.days != 0; };
    // The periods' figures as printed, to the grosz, added up.
    // In doubles: a page with an absurd rate gives amounts no integer holds.
    double printedGrosze = 0.0;
    if (std::none_of(calculation.shares.begin(), calculation.shares.end(), counts)) {
        report += "Żaden okres nie wnosi odsetek.\n";
    } else {
        std::size_t rateWidth = 18;
        for (const PeriodShare& share : calculation.shares) {
            rateWidth = std::max(rateWidth, CharacterCount(FormatRate(share)) + 2);
        }
        report += PadRight("Okres", 30) + PadRight("Stopa", rateWidth) + PadLeft("Dni", 6) +
                  PadLeft("Odsetki", 18) + "\n";
        for (const PeriodShare& share : calculation.shares) {
            if (!counts(share)) {
                continue;
            }
            printedGrosze += std::floor(share.interest * 100.0 + 0.5);
            report += PadRight(PeriodText(share), 30) + PadRight(FormatRate(share), rateWidth) +
                      PadLeft(FormatPolishCount(share.days), 6) +
                      PadLeft(FormatPolishAmount(share.interest), 18) + "\n";
        }
    }
    if (calculation.days != calculation.elapsedDays) {
        report += "\nUwaga: stopy ze strony obejmują " + FormatPolishCount(calculation.days) +
                  " z " + FormatPolishCount(calculation.elapsedDays) + " dni zwłoki.\n";
    }
    report += "\n";
    const double totalGrosze = std::floor(calculation.interest * 100.0 + 0.5);
    line("Odsetki:", FormatPolishAmount(calculation.interest));
    // The law rounds the exact sum once: where its grosze would round to another złoty, or the
    // periods' grosze add up to another total, the reader sees why.
    const double wholeZloty = RoundToWholeZloty(calculation.interest);
    if (RoundToWholeZloty(totalGrosze / 100.0) != wholeZloty) {
        line("Odsetki dokładnie:", FormatPolishNumber(calculation.interest, 6) + " zł");
    }
    if (printedGrosze != totalGrosze && calculation.shares.size() > 1) {
        report += "Uwaga: odsetki okresów zaokrąglone do grosza dają razem " +
                  FormatPolishAmount(printedGrosze / 100.0) +
                  "; odsetki to suma dokładnych odsetek okresów, zaokrąglona raz.\n";
    }
    if (IsNotCharged(calculation)) {
        line("Odsetki do zapłaty:", "0 zł");
        report += "\nOdsetek nie nalicza się: nie przekraczają " +
                  FormatPolishAmount(*calculation.threshold) +
                  " (trzykrotności opłaty za list polecony, art. 54 § 1 pkt 5 Ordynacji "
                  "podatkowej).\n";
        return report;
    }
    line("Odsetki zaokrąglone:", FormatPolishNumber(wholeZloty, 0) + " zł");
    if (!calculation.threshold && calculation.thresholdKnownFrom &&
        IsWithinThreshold(calculation.interest,
                          *StatutoryThreshold().On(*calculation.thresholdKnownFrom))) {
        report += "\nUwaga: kwota, do której odsetek się nie nalicza, nie jest znana przed " +
                  FormatCalendarDate(*calculation.thresholdKnownFrom) +
                  "; odsetki podano bez niej.\n";
    }
    return report;
}

std::string FormatMachineLine(const Calculation& calculation) {
    std::string line = "odsetki=" + FormatWorksheetInterest(calculation.interest) +
                       " zaokraglone=" + FormatFixed(ChargedInterest(calculation), 0) +
                       " dni=" + std::to_string(calculation.days);
    if (IsNotCharged(calculation)) {
        line += " prog=" + FormatFixed(*calculation.threshold, 2);
    }
    return line + "\n";
}

}  // namespace vistrel::tools
