#include "engine/amount_text.h"

#include <charconv>
#include <string>
#include <system_error>

#include "engine/number_text.h"

namespace vistrel {
namespace {

// The characters of a number are ASCII; any other character stops it.
constexpr char NotPartOfANumber = '\x7f';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What from_chars accepts, less the "inf" and "nan" it also takes: after the sign, a digit or
// a point must come first.
bool IsWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) return false;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

}  // namespace

AmountReading ReadAmount(std::u16string_view text) {
    std::u16string withPoints(text);
    std::string ascii;
    ascii.reserve(text.size());
    for (char16_t& c : withPoints) {
        if (c == u',') c = u'.';
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : NotPartOfANumber);
    }
    return AmountReading{ReadLeadingDecimal(withPoints.c_str()), IsWholeNumber(ascii)};
}

}  // namespace vistrel
