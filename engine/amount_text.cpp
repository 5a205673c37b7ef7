#include "engine/amount_text.h"

#include <optional>

namespace vistrel {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsGroupSeparator(char16_t c) { return c == u' ' || c == u'\u00A0' || c == u'\u202F'; }

bool IsBlankAround(char16_t c) { return IsGroupSeparator(c) || c == u'\t'; }

// More integer digits than any amount taken has are counted, not read.
constexpr std::size_t MostIntegerDigits = 15;

// The amount without a sign, in grosze; no value when the text is not written as an amount.
struct Grosze {
    std::optional<long long> value;
    bool tooLarge = false;
};

Grosze ReadGrosze(std::u16string_view text) {
    std::size_t i = 0;
    long long zloty = 0;
    std::size_t digits = 0;
    // Leading zeros are no digits of the amount: 00000000000000000001 is one złoty.
    const auto takeDigit = [&](char16_t c) {
        if (digits == 0 && c == u'0') return;
        if (digits++ < MostIntegerDigits) zloty = zloty * 10 + (c - u'0');
    };
    // The first group, or all the digits when they are not grouped.
    std::size_t firstGroup = 0;
    while (i < text.size() && IsDigit(text[i])) takeDigit(text[i++]), ++firstGroup;
    if (firstGroup == 0) return {};
    if (i < text.size() && IsGroupSeparator(text[i])) {
        if (firstGroup > 3) return {};
        // Every further group has exactly three digits after one separator.
        while (i < text.size() && IsGroupSeparator(text[i])) {
            ++i;
            for (int k = 0; k < 3; ++k, ++i) {
                if (i >= text.size() || !IsDigit(text[i])) return {};
                takeDigit(text[i]);
            }
            if (i < text.size() && IsDigit(text[i])) return {};
        }
    }
    long long grosze = 0;
    if (i < text.size() && (text[i] == u',' || text[i] == u'.')) {
        ++i;
        std::size_t decimals = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++decimals) {
            if (decimals == 2) return {};
            grosze = grosze * 10 + (text[i] - u'0');
        }
        if (decimals == 0) return {};
        if (decimals == 1) grosze *= 10;
    }
    if (i != text.size()) return {};
    if (digits > MostIntegerDigits) return {std::nullopt, true};
    return {zloty * 100 + grosze, false};
}

}  // namespace

EnteredAmount ReadEnteredAmount(std::u16string_view text) {
    while (!text.empty() && IsBlankAround(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankAround(text.back())) text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == u'-';
    if (negative) text.remove_prefix(1);
    const Grosze grosze = ReadGrosze(text);
    if (!grosze.value && !grosze.tooLarge) return {};
    // "-0" and "-0,00" are no debt below zero, only zero written with a sign.
    if (negative && !(grosze.value && *grosze.value == 0)) return {0.0, AmountProblem::Negative};
    if (grosze.tooLarge) return {0.0, AmountProblem::TooLarge};
    // Both exact in a double, so the quotient is the double nearest to the written amount.
    const double value = static_cast<double>(*grosze.value) / 100.0;
    if (value > LargestEnteredAmount) return {0.0, AmountProblem::TooLarge};
    return {value, AmountProblem::None};
}

}  // namespace vistrel
