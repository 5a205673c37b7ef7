#include "tools/report.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string_view>

#include "tools/calendar_date.h"
#include "tools/tax_rounding.h"

namespace vistrel::tools {
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

std::string RateText(const PeriodShare& share) {
    const char* unit = share.kind == RateKind::Annual ? "% rocznie" : "% dziennie";
    return FormatFixed(share.rate, 2) + unit;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc{}) {
        return "?";
    }
    return std::string(text, result.ptr);
}

std::string FormatPolishAmount(double amount) {
    const std::string fixed = FormatFixed(amount, 2);
    const std::size_t point = fixed.find('.');
    if (point == std::string::npos) {
        return fixed;  // "?": no number to group
    }
    const std::size_t firstDigit = fixed.front() == '-' ? 1 : 0;
    std::string text = fixed.substr(0, firstDigit);
    for (std::size_t i = firstDigit; i < point; ++i) {
        if (i > firstDigit && (point - i) % 3 == 0) {
            text += ' ';
        }
        text += fixed[i];
    }
    return text + "," + fixed.substr(point + 1) + " zł";
}

std::string FormatWorksheetInterest(double interest) {
    return FormatFixed(interest, 1);
}

std::string FormatReport(const Calculation& calculation) {
    constexpr std::size_t labelWidth = 26;
    std::string report;
    const auto line = [&report](std::string_view label, std::string_view value) {
        report += PadRight(label, labelWidth) + std::string(value) + "\n";
    };
    line("Data należności:", FormatCalendarDate(calculation.due));
    line("Data zapłaty:", FormatCalendarDate(calculation.payment));
    line("Kwota:", FormatPolishAmount(calculation.amount));
    line("Dni zwłoki:", std::to_string(calculation.elapsedDays));
    report += "\n";
    // A period that adds no day (one that starts only after the payment) is no part of it.
    const auto counts = [](const PeriodShare& share) { return share.days != 0; };
    if (std::none_of(calculation.shares.begin(), calculation.shares.end(), counts)) {
        report += "Żaden okres nie wnosi odsetek.\n";
    } else {
        report += PadRight("Okres", 30) + PadRight("Stopa", 18) + PadLeft("Dni", 6) +
                  PadLeft("Odsetki", 14) + "\n";
        for (const PeriodShare& share : calculation.shares) {
            if (!counts(share)) {
                continue;
            }
            report += PadRight(PeriodText(share), 30) + PadRight(RateText(share), 18) +
                      PadLeft(std::to_string(share.days), 6) +
                      PadLeft(FormatFixed(share.interest, 2), 14) + "\n";
        }
    }
    if (calculation.days != calculation.elapsedDays) {
        report += "\nUwaga: stopy ze strony obejmują " + std::to_string(calculation.days) + " z " +
                  std::to_string(calculation.elapsedDays) + " dni zwłoki.\n";
    }
    report += "\n";
    line("Odsetki:", FormatWorksheetInterest(calculation.interest));
    line("Odsetki zaokrąglone:", FormatFixed(RoundToWholeZloty(calculation.interest), 0) + " zł");
    return report;
}

std::string FormatMachineLine(const Calculation& calculation) {
    return "odsetki=" + FormatWorksheetInterest(calculation.interest) +
           " zaokraglone=" + FormatFixed(RoundToWholeZloty(calculation.interest), 0) +
           " dni=" + std::to_string(calculation.days) + "\n";
}

}  // namespace vistrel::tools
