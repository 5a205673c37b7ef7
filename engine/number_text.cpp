#include "engine/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vistrel {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

const char16_t* SkipBlanks(const char16_t* text) {
    while (IsBlank(*text)) ++text;
    return text;
}

// The power of ten of a number's leading digit, enough to tell overflow from underflow.
long long DecimalMagnitude(const std::string& number) {
    std::size_t i = (number.front() == '+' || number.front() == '-') ? 1 : 0;
    long long magnitude = 0;
    long long integerDigits = 0;
    while (i < number.size() && number[i] == '0') ++i;
    while (i < number.size() && number[i] >= '0' && number[i] <= '9') ++integerDigits, ++i;
    if (integerDigits > 0) {
        magnitude = integerDigits - 1;
        while (i < number.size() && number[i] != 'e') ++i;
    } else if (i < number.size() && number[i] == '.') {
        for (++i, magnitude = -1; i < number.size() && number[i] == '0'; ++i) --magnitude;
        while (i < number.size() && number[i] != 'e') ++i;
    }
    if (i < number.size() && number[i] == 'e') {
        long long exponent = 0;
        const bool negative = number[i + 1] == '-';
        for (i += (number[i + 1] == '-' || number[i + 1] == '+') ? 2 : 1; i < number.size(); ++i) {
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1000000000LL);
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

}  // namespace

std::int32_t ReadLeadingInteger(const char16_t* text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (*text == u'+' || *text == u'-') negative = (*text++ == u'-');
    constexpr long long limit =
        static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1;
    long long value = 0;
    for (; IsDigit(*text); ++text) {
        value = value * 10 + (*text - u'0');
        if (value > limit) value = limit;  // saturate, keep reading the digits
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value > limit - 1 ? limit - 1 : value);
}

double ReadLeadingDecimal(const char16_t* text) {
    text = SkipBlanks(text);
    // Collect the longest prefix that forms a number, as ASCII, then convert it without any locale.
    std::string number;
    if (*text == u'+' || *text == u'-') number += static_cast<char>(*text++);
    bool anyDigit = false;
    for (; IsDigit(*text); ++text, anyDigit = true) number += static_cast<char>(*text);
    if (*text == u'.') {
        number += '.';
        for (++text; IsDigit(*text); ++text, anyDigit = true) number += static_cast<char>(*text);
    }
    if (!anyDigit) return 0.0;
    if (*text == u'e' || *text == u'E') {
        const char16_t* exponent = text + 1;
        std::string exponentText = "e";
        if (*exponent == u'+' || *exponent == u'-') exponentText += static_cast<char>(*exponent++);
        if (IsDigit(*exponent)) {
            for (; IsDigit(*exponent); ++exponent) exponentText += static_cast<char>(*exponent);
            number += exponentText;
        }
    }
    const char* first = number.data();
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Like the runtime: too large gives infinity, too small gives zero.
        value = DecimalMagnitude(number) > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

bool BeginsWithNumber(const char16_t* text) {
    text = SkipBlanks(text);
    if (*text == u'+' || *text == u'-') ++text;
    return IsDigit(*text) || (*text == u'.' && IsDigit(text[1]));
}

}  // namespace vistrel
