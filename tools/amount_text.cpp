#include "tools/amount_text.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "engine/number_text.h"
#include "engine/rate_page_parser.h"

namespace vistrel::tools {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::size_t SkipDigits(const std::u16string& text, std::size_t position) {
    while (position < text.size() && IsDigit(text[position])) {
        ++position;
    }
    return position;
}

// The dialog reads whatever leads the text and drops the rest, so "1 234,56" would silently
// become 1; on the command line such a text is refused instead.
bool IsWholeNumber(const std::u16string& text) {
    std::size_t position = 0;
    if (position < text.size() && (text[position] == u'+' || text[position] == u'-')) {
        ++position;
    }
    const std::size_t integerEnd = SkipDigits(text, position);
    std::size_t digits = integerEnd - position;
    position = integerEnd;
    if (position < text.size() && text[position] == u'.') {
        const std::size_t fractionEnd = SkipDigits(text, position + 1);
        digits += fractionEnd - position - 1;
        position = fractionEnd;
    }
    if (digits == 0) {
        return false;
    }
    if (position < text.size() && (text[position] == u'e' || text[position] == u'E')) {
        ++position;
        if (position < text.size() && (text[position] == u'+' || text[position] == u'-')) {
            ++position;
        }
        const std::size_t exponentEnd = SkipDigits(text, position);
        if (exponentEnd == position) {
            return false;
        }
        position = exponentEnd;
    }
    return position == text.size();
}

}  // namespace

std::optional<double> ParseAmount(std::string_view text) {
    std::u16string wide;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return std::nullopt;  // no number has a character outside ASCII
        }
        wide.push_back(static_cast<char16_t>(c));
    }
    CommaToPoint(wide.data());
    if (!IsWholeNumber(wide)) {
        return std::nullopt;
    }
    const double amount = ReadLeadingDecimal(wide.c_str());
    if (!std::isfinite(amount)) {
        return std::nullopt;
    }
    return amount;
}

}  // namespace vistrel::tools
