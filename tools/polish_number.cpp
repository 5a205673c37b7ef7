#include "tools/polish_number.h"

#include <charconv>
#include <cstddef>

namespace vistrel::tools {

std::string FormatFixed(double value, int decimals) {
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc{}) {
        return "?";
    }
    return std::string(text, result.ptr);
}

std::string FormatPolishNumber(double value, int decimals) {
    const std::string fixed = FormatFixed(value, decimals);
    if (fixed == "?") return fixed;
    const std::size_t point = fixed.find('.');
    const std::size_t integerEnd = point == std::string::npos ? fixed.size() : point;
    const std::size_t firstDigit = fixed.front() == '-' ? 1 : 0;
    std::string text = fixed.substr(0, firstDigit);
    for (std::size_t i = firstDigit; i < integerEnd; ++i) {
        if (i > firstDigit && (integerEnd - i) % 3 == 0) text += ' ';
        text += fixed[i];
    }
    if (point != std::string::npos) text += "," + fixed.substr(point + 1);
    return text;
}

std::string FormatPolishAmount(double amount) { return FormatPolishNumber(amount, 2) + " zł"; }

std::string FormatPolishCount(std::int64_t count) {
    return FormatPolishNumber(static_cast<double>(count), 0);
}

std::string PolishCount(std::int64_t n, std::string_view one, std::string_view few,
                        std::string_view many) {
    const std::int64_t lastTwo = n % 100 < 0 ? -(n % 100) : n % 100;
    const std::int64_t lastDigit = lastTwo % 10;
    std::string_view noun = many;
    if (n == 1 || n == -1) {
        noun = one;
    } else if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14)) {
        noun = few;
    }
    return FormatPolishCount(n) + " " + std::string(noun);
}

std::string FormatGrosze(std::int64_t grosze) {
    return FormatPolishAmount(static_cast<double>(grosze) / 100.0);
}

std::string PlainGrosze(std::int64_t grosze) {
    return FormatFixed(static_cast<double>(grosze) / 100.0, 2);
}

}  // namespace vistrel::tools
