#include "tools/report.h"

#include <algorithm>
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

std::string PeriodText(const PeriodShare& share) {
    std::string text = "od " + DateText(share.first);
    text += share.last ? " do " + FormatCalendarDate(*share.last) : std::string(" (bez końca)");
    return text;
}

}  // namespace

std::string FormatWorksheetInterest(double interest) { return FormatFixed(interest, 1); }

std::string FormatRate(const PeriodShare& share) {
    const char* unit = share.kind == RateKind::Annual ? "% rocznie" : "% dziennie";
    std::string text = FormatPolishNumber(share.rate, 2) + unit;
    if (share.percent != 100.0) {
        text += " (" + FormatPolishNumber(share.percent, 0) + "% z " +
                FormatPolishNumber(share.rate * 100.0 / share.percent, 2) + "%)";
    }
    return text;
}

bool IsNotCharged(const Calculation& calculation) {
    return calculation.threshold && IsWithinThreshold(calculation.interest, *calculation.threshold);
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
    if (calculation.rateKind != InterestRateKind::Basic) {
        line("Stawka:", KindName(calculation.rateKind));
    }
    line("Dni zwłoki:", FormatPolishCount(calculation.elapsedDays));
    report += "\n";
    // A period that adds no day (one that starts only after the payment) is no part of it.
    const auto counts = [](const PeriodShare& share) { return share.days != 0; };
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
            report += PadRight(PeriodText(share), 30) + PadRight(FormatRate(share), rateWidth) +
                      PadLeft(FormatPolishCount(share.days), 6) +
                      PadLeft(FormatPolishAmount(share.interest), 18) + "\n";
        }
    }
    if (calculation.days != calculation.elapsedDays) {
        report += "\nUwaga: stopy ze strony obejmują " + FormatPolishCount(calculation.days) +
                  " z " + FormatPolishCount(calculation.elapsedDays) + " dni zwłoki.\n";
    }
    if (calculation.rateKind != InterestRateKind::Basic) {
        const auto& changes = StatutoryRateKinds().Changes(calculation.rateKind);
        const std::chrono::sys_days firstCountedDay =
            std::chrono::sys_days{calculation.due} + std::chrono::days{1};
        if (!changes.empty() && calculation.days > 0 &&
            firstCountedDay < std::chrono::sys_days{changes.front().start}) {
            report += "\nUwaga: stawka " + KindName(calculation.rateKind) + " obowiązuje od " +
                      FormatCalendarDate(changes.front().start) +
                      "; dni wcześniejsze liczono według stawki podstawowej.\n";
        }
    }
    report += "\n";
    line("Odsetki:", FormatPolishAmount(calculation.interest));
    line("Odsetki zaokrąglone:",
         FormatPolishNumber(RoundToWholeZloty(calculation.interest), 0) + " zł");
    if (IsNotCharged(calculation)) {
        report += "\nOdsetek nie nalicza się: nie przekraczają " +
                  FormatPolishAmount(*calculation.threshold) +
                  " (trzykrotności opłaty za list polecony, art. 54 § 1 pkt 5 Ordynacji "
                  "podatkowej).\n";
    } else if (!calculation.threshold && calculation.thresholdKnownFrom &&
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
                       " zaokraglone=" + FormatFixed(RoundToWholeZloty(calculation.interest), 0) +
                       " dni=" + std::to_string(calculation.days);
    if (IsNotCharged(calculation)) {
        line += " prog=" + FormatFixed(*calculation.threshold, 2);
    }
    return line + "\n";
}

}  // namespace vistrel::tools
