#include "tests/engine/random_rate_page.h"

#include <array>

#include "tests/support/page_builder.h"

namespace vistrel::test {
namespace {

// Letters whose capitals the comparison must fold, and characters that only look like markup.
// clang-format off
constexpr std::u16string_view kOddCharacters[] = {
    u"ą", u"Ą", u"ś", u"Ś", u"ź", u"Ź", u"ż", u"Ż", u"ł", u"Ł", u"é", u"İ", u"ı",
    u"\u00AD",  // soft hyphen
    u"\uFF1C",  // fullwidth less-than sign
    u"\uFE64",  // small less-than sign
    u"\u2039",  // single left-pointing angle quotation mark
    u"\u212A",  // Kelvin sign
    u"\u017F",  // long s
    std::u16string_view(u"\0", 1),
};
// clang-format on

// Fragments of markup, whole and broken, that the parser passes over or half-matches.
// clang-format off
constexpr std::u16string_view kMarkupFragments[] = {
    u"<", u">", u"</", u"<t", u"<tr", u"<td", u"<td>", u"<td><", u"<td><p", u"<p>", u"</p>",
    u"</p></td", u"</td>", u"</tr>", u"<br>", u"<b>", u"</b>", u"<tr class=\"x\">", u"<td ><p>",
    u"< tr>", u"&nbsp;", u"\n", u"\r\n", u" ", u"\t", u"%", u"%*", u"*", u"**", u",", u".", u"0",
    u"7", u"r.", u"od ", u"do ", u"maja", u"<<", u"<tr><tr>", u"<td><p><td><p>",
};
// clang-format on

class PageWriter {
public:
    explicit PageWriter(std::uint64_t seed) : random_(seed) {}

    std::u16string Page() {
        std::u16string page;
        switch (random_.Below(10)) {
        case 0: page = RandomMarkup(random_.Between(0, 3000)); break;
        case 1: page = Rows(random_.Between(195, 215)); break;  // more rows than the table holds
        case 2:
        case 3:
        case 4: page = WellFormedRows(random_.Between(1, 60)); break;
        default: page = Rows(random_.Between(0, 40)); break;
        }
        if (random_.Chance(25)) {
            page.resize(random_.Below(static_cast<std::uint32_t>(page.size() + 1)));
        } else if (random_.Chance(15)) {
            // Cut just after the end of some tag: a marker, or an opening with nothing after it.
            const std::size_t end =
                page.find(u'>', random_.Below(static_cast<std::uint32_t>(page.size() + 1)));
            if (end != std::u16string::npos) page.resize(end + 1);
        }
        return page;
    }

private:
    SeededRandom random_;

    std::u16string Pick(const std::u16string_view* items, std::size_t count) {
        return std::u16string(items[random_.Below(static_cast<std::uint32_t>(count))]);
    }

    // Each letter in upper or lower case at random, most often as written.
    std::u16string InRandomCase(std::u16string_view text) {
        std::u16string result(text);
        const std::uint32_t style = random_.Below(4);
        for (char16_t& c : result) {
            const bool upper = style == 1 || (style == 2 && random_.Chance(50));
            if (style == 0 || !upper) continue;
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
            if (c == u'ś') c = u'Ś';
            if (c == u'ź') c = u'Ź';
        }
        if (style == 3) {
            for (char16_t& c : result) {
                if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
            }
        }
        return result;
    }

    std::u16string RandomMarkup(int pieces) {
        std::u16string text;
        for (int i = 0; i < pieces; ++i) {
            const std::uint32_t kind = random_.Below(20);
            if (kind < 12) {
                text += InRandomCase(Pick(kMarkupFragments, std::size(kMarkupFragments)));
            } else if (kind < 14) {
                text += Pick(kOddCharacters, std::size(kOddCharacters));
            } else if (kind < 15) {
                text += Cell(RateText());
            } else if (kind < 16) {
                text += Cell(PeriodCellText());
            } else {
                text += static_cast<char16_t>(u'a' + random_.Below(26));
            }
        }
        return text;
    }

    std::u16string Blanks() {
        static constexpr std::u16string_view kBlanks[] = {u"",     u"\n",   u" ",
                                                          u"\n  ", u"\r\n", u"\t"};
        return Pick(kBlanks, std::size(kBlanks));
    }

    std::u16string Opening() {
        if (random_.Chance(3)) {
            static constexpr std::u16string_view kNotOpenings[] = {
                u"<td class=\"a\"><p>", u"<td><p >", u"<td> <p>", u"<td>"};
            return Pick(kNotOpenings, std::size(kNotOpenings));
        }
        return InRandomCase(u"<td><p>");
    }

    std::u16string Closing() {
        if (random_.Chance(3)) {
            static constexpr std::u16string_view kNotClosings[] = {u"</p> </td>", u"</td>", u"</p>",
                                                                   u"</p></td"};
            return Pick(kNotClosings, std::size(kNotClosings));
        }
        return InRandomCase(u"</p></td>");
    }

    std::u16string Cell(std::u16string_view text) {
        return Opening() + std::u16string(text) + Closing();
    }

    std::u16string Digits(int low, int high) { return Number(random_.Between(low, high)); }

    std::u16string RateText() {
        std::u16string number;
        switch (random_.Below(8)) {
        case 0: number = u""; break;
        case 1: number = u"<b>" + Digits(0, 30) + u",00</b>"; break;  // a tag before the number
        case 2: number = u" \t" + Digits(0, 30) + u"." + Digits(0, 99); break;
        case 3: number = Digits(0, 9) + u"e" + Digits(0, 400); break;
        case 4: number = u"-" + Digits(0, 30) + u"," + Digits(0, 99); break;
        default: number = Digits(0, 40) + u"," + Digits(0, 99); break;
        }
        static constexpr std::u16string_view kMarkers[] = {
            u"%", u"%", u"%", u"%*", u"%**", u"%x*", u"%*x", u"", u"%%*", u"% *", u"%*%", u" %"};
        std::u16string text = number + Pick(kMarkers, std::size(kMarkers));
        if (random_.Chance(5)) text = u"Wysokość stawki";
        if (random_.Chance(3)) text += std::u16string(random_.Between(250, 300), u'x') + u"%*";
        return text;
    }

    std::u16string MonthText() {
        std::u16string month(kMonthNames[random_.Below(12)]);
        switch (random_.Below(12)) {
        case 0: month = u"wrzesnia"; break;      // no diacritic
        case 1: month = u"PAŻDZIERNIKA"; break;  // wrong diacritic
        case 2:
            month = month.substr(0, random_.Below(static_cast<std::uint32_t>(month.size())));
            break;
        default: month = InRandomCase(month); break;
        }
        return month;
    }

    std::u16string Separator() {
        static constexpr std::u16string_view kSeparators[] = {u" ", u" ",  u" ", u"/",
                                                              u".", u"\t", u"-", u""};
        return Pick(kSeparators, std::size(kSeparators));
    }

    std::u16string DateText() {
        static constexpr std::u16string_view kLeads[] = {u"od ", u"do ", u"od ", u"do ",
                                                         u"xyz", u"o",   u"",    u"od  "};
        std::u16string day;
        switch (random_.Below(10)) {
        case 0: day = u"0" + Digits(0, 9); break;  // a leading zero
        case 1: day = Digits(0, 999); break;
        case 2: day = u"-" + Digits(0, 40); break;
        case 3: day = u""; break;
        default: day = Digits(1, 31); break;
        }
        std::u16string year;
        switch (random_.Below(12)) {
        case 0: year = Digits(1900, 1969); break;
        case 1: year = Digits(2038, 2200); break;
        case 2: year = u"99999999999"; break;
        case 3: year = u""; break;
        case 4: year = u"-" + Digits(0, 3000); break;
        default: year = Digits(1970, 2037); break;
        }
        static constexpr std::u16string_view kTails[] = {u" r.", u"", u" r.", u"r", u"%", u" <b>"};
        return Pick(kLeads, std::size(kLeads)) + day + Separator() + MonthText() + Separator() +
               year + Pick(kTails, std::size(kTails));
    }

    std::u16string PeriodCellText() {
        std::u16string text = random_.Chance(5) ? u"Okres obowiązywania" : DateText();
        const int ends = random_.Chance(30) ? 0 : random_.Between(1, 3);
        for (int i = 0; i < ends; ++i) {
            text += (random_.Chance(80) ? InRandomCase(u"<BR>") : u"<B R>") + DateText();
        }
        if (random_.Chance(3))
            text += std::u16string(random_.Between(200, 300), u'y') + u"<br>" + DateText();
        return text;
    }

    std::u16string RowMarker() {
        if (random_.Chance(4)) return u"<tr class=\"wiersz\">";
        return InRandomCase(u"<tr>");
    }

    // Periods one after another, newest first and still open, as the ministry writes them; only
    // the letter case of the markers and the months varies.
    std::u16string WellFormedRows(int count) {
        std::u16string page = u"<table>\n" + InRandomCase(u"<tr>") +
                              u"<td><p>Stawka</p></td><td><p>Okres</p></td></tr>\n";
        int year = random_.Between(1995, 2030);
        int month = random_.Between(1, 12);
        int day = random_.Between(1, 28);
        std::u16string end;
        for (int i = 0; i < count; ++i) {
            static constexpr std::u16string_view kMarkers[] = {u"%", u"%", u"%", u"%*", u"%**"};
            const std::u16string start =
                Number(day) + u" " + InRandomCase(kMonthNames[month - 1]) + u" " + Number(year);
            page += InRandomCase(u"<tr>") + u"\n" + InRandomCase(u"<td><p>") + Digits(0, 40) +
                    u"," + Digits(10, 99) + Pick(kMarkers, std::size(kMarkers)) +
                    InRandomCase(u"</p></td>") + u"\n" + InRandomCase(u"<td><p>") + u"od " + start +
                    u" r." + (end.empty() ? u"" : InRandomCase(u"<br>") + u"do " + end + u" r.") +
                    InRandomCase(u"</p></td>") + u"\n</tr>\n";
            // The day before this period's first is the older period's last.
            const int lastDay = day - 1;
            const int lastMonth = lastDay == 0 ? (month == 1 ? 12 : month - 1) : month;
            const int lastYear = lastDay == 0 && month == 1 ? year - 1 : year;
            end = Number(lastDay == 0 ? 28 : lastDay) + u" " +
                  std::u16string(kMonthNames[lastMonth - 1]) + u" " + Number(lastYear);
            // The older period starts some months before.
            const int back = random_.Between(1, 14);
            month = lastMonth - back % 12;
            year = lastYear - back / 12;
            if (month < 1) month += 12, --year;
            day = random_.Between(1, 28);
        }
        return page + u"</table>\n";
    }

    std::u16string Rows(int count) {
        std::u16string page = u"<html><body>\n<table border=\"1\">\n";
        for (int i = 0; i < count; ++i) {
            std::u16string row = RowMarker() + Blanks();
            switch (random_.Below(20)) {
            case 0: break;  // a row marker with no cell
            case 1:
                row += Cell(RateText());
                break;  // one cell: the next row's first becomes its period
            case 2: row += Opening() + RateText(); break;  // a cell that never closes
            case 3: row += RandomMarkup(random_.Between(1, 20)); break;
            default: row += Cell(RateText()) + Blanks() + Cell(PeriodCellText()); break;
            }
            // Sometimes the next row marker follows the closing directly.
            if (!random_.Chance(10)) row += Blanks() + InRandomCase(u"</tr>") + Blanks();
            if (random_.Chance(5)) row += RandomMarkup(random_.Between(1, 10));
            page += row;
        }
        return page + u"</table>\n</body></html>\n";
    }
};

}  // namespace

std::u16string RandomRatePage(std::uint64_t seed) { return PageWriter(seed).Page(); }

RateTable RandomRateTable(SeededRandom& random) {
    static constexpr std::int32_t kKinds[] = {-1, 0, 1, 2, 0, 0, 3, -2};
    static constexpr double kRates[] = {0.0, 8.0, 13.5, 0.05, 36.5, -1.0, 1e300, 0.1};
    RateTable table{};
    std::int32_t instant = static_cast<std::int32_t>(random.Below(2000000000));
    for (RatePeriod& period : table) {
        const std::int32_t days = random.Between(-2, 400);
        period.end = instant;
        period.start = instant - days * 86400 - (random.Chance(10) ? random.Between(0, 86399) : 0);
        if (random.Chance(5)) period.start = period.end;
        period.kind = static_cast<RateKind>(kKinds[random.Below(std::size(kKinds))]);
        period.rate = kRates[random.Below(std::size(kRates))];
        instant = period.start - (random.Chance(80) ? 0 : random.Between(-86400 * 3, 86400 * 30));
        if (instant < -2000000000) instant = static_cast<std::int32_t>(random.Below(2000000000));
    }
    return table;
}

}  // namespace vistrel::test
