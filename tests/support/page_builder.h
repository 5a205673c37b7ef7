// Builds rate-page text the way the finance ministry writes it, for the parser and the calculation.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::test {

struct Date {
    int year;
    int month;  // 1..12
    int day;
};

inline std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

inline std::u16string Number(int value) { return Ascii(std::to_string(value)); }

// Typed here independently of the engine's table, so that a misspelt entry there shows.
inline constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"stycznia", u"lutego",   u"marca",    u"kwietnia",     u"maja",      u"czerwca",
    u"lipca",    u"sierpnia", u"września", u"października", u"listopada", u"grudnia"};

// "9 maja 2013 r.": the day without a leading zero, as the page writes it.
inline std::u16string DateText(Date date) {
    return Number(date.day) + u" " + std::u16string(kMonthNames[date.month - 1]) + u" " +
           Number(date.year) + u" r.";
}

inline std::u16string PeriodText(Date first, std::optional<Date> last = std::nullopt) {
    std::u16string text = u"od " + DateText(first);
    if (last) text += u"<BR>do " + DateText(*last);
    return text;
}

inline std::u16string Row(std::u16string_view rateCell, std::u16string_view periodCell) {
    return u"<tr>\n  <td><p>" + std::u16string(rateCell) + u"</p></td>\n  <td><p>" +
           std::u16string(periodCell) + u"</p></td>\n</tr>\n";
}

inline std::u16string Page(std::u16string_view rows) {
    return u"<html><body>\n<table class=\"stawki\">\n" + std::u16string(rows) +
           u"</table>\n</body></html>\n";
}

// A page as the ministry serves it: a header row, newest period first and still open, markers
// in mixed case, a month in capitals, annual and daily rates.
inline std::u16string SampleRatePage() {
    return Page(
        Row(u"Wysokość stawki", u"Okres obowiązywania") +
        Row(u"12,00%", PeriodText({2024, 10, 4})) +
        Row(u"14,50%", PeriodText({2023, 10, 5}, Date{2024, 10, 3})) +
        Row(u"15,00%", u"od 7 WRZEŚNIA 2023 r.<br>do 4 października 2023 r.") +
        u"<TR>\n<TD><P> 16,00 %</P></TD>\n<Td><p>od 8 września 2022 r.<Br>do 6 Września 2023 "
        u"r.</p></tD>\n</Tr>\n" +
        Row(u"0,05%*", PeriodText({2022, 7, 1}, Date{2022, 9, 7})) +
        Row(u"0,04%**", PeriodText({2022, 1, 1}, Date{2022, 6, 30})) +
        Row(u"8.00%", PeriodText({2020, 5, 29}, Date{2021, 12, 31})));
}

}  // namespace vistrel::test
