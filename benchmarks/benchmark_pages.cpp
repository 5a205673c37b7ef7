#include "benchmarks/benchmark_pages.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/latin2.h"

namespace vistrel::tools {
namespace {

std::u16string Digits(int value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

std::u16string DateText(int year, int month, int day) {
    return Digits(day) + u" " + std::u16string(MonthNamesGenitive[month - 1]) + u" " +
           Digits(year) + u" r.";
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
}

// `marker` (lower case) at `position`, letter case aside.
bool AsciiMarkerAt(std::u16string_view page, std::size_t position, std::u16string_view marker) {
    if (page.size() - position < marker.size()) return false;
    for (std::size_t i = 0; i < marker.size(); ++i) {
        if (AsciiLower(page[position + i]) != marker[i]) return false;
    }
    return true;
}

constexpr std::size_t NotFound = std::u16string_view::npos;

// The next marker at or after `from`, looking only at '<'.
std::size_t FindMarker(std::u16string_view page, std::size_t from, std::u16string_view marker) {
    for (std::size_t i = page.find(u'<', from); i != NotFound; i = page.find(u'<', i + 1)) {
        if (AsciiMarkerAt(page, i, marker)) return i;
    }
    return NotFound;
}

std::uint64_t ReadNumber(std::u16string_view text, std::size_t& i) {
    std::uint64_t value = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        value = value * 10 + (text[i++] - u'0');
    return value;
}

// "od 9 maja 2013": day, month number, year, folded into one number.
std::uint64_t DateDigest(std::u16string_view text) {
    std::size_t i = 3;
    const std::uint64_t day = ReadNumber(text, i);
    ++i;
    for (std::size_t month = 0; month < MonthNamesGenitive.size(); ++month) {
        if (AsciiMarkerAt(text, i, MonthNamesGenitive[month])) {
            i += MonthNamesGenitive[month].size() + 1;
            return (ReadNumber(text, i) * 13 + month) * 32 + day;
        }
    }
    return 0;
}

}  // namespace

std::u16string BundledRatePage(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error(std::string("bundled rate page missing: ") + path);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return DecodeLatin2(bytes);
}

std::u16string FullRatePage() {
    std::u16string page = u"<html><body><table>\n";
    for (int row = 0; row < static_cast<int>(RateTableCapacity); ++row) {
        const int monthIndex = 2025 * 12 - row;  // months since year 0, January 2025 = 2025 * 12
        const int year = monthIndex / 12;
        const int month = monthIndex % 12 + 1;
        page += u"<tr>\n<td><p>" + Digits(8 + row % 9) + u",50%</p></td>\n<td><p>od " +
                DateText(year, month, 1) + u"<BR>do " +
                DateText(year, month, DaysInMonth(year, month)) + u"</p></td>\n</tr>\n";
    }
    return page + u"</table></body></html>\n";
}

std::u16string PageWithCelllessRows(const std::u16string& page, std::size_t characters) {
    static constexpr std::u16string_view row = u"<tr><td>-</td></tr>\n";
    std::u16string result = page;
    for (std::size_t added = 0; added < characters; added += row.size()) result += row;
    return result;
}

std::u16string PageOfUnclosedCells() {
    constexpr std::size_t pageLength = std::size_t{16} << 20;
    constexpr std::size_t rows = 200;
    std::u16string page;
    page.reserve(pageLength);
    for (std::size_t row = 0; row < rows; ++row) {
        page += u"<tr>\n<td><p>13,00%";
        page.resize((row + 1) * (pageLength / rows), u'x');
    }
    page.resize(pageLength, u'x');
    return page;
}

std::uint64_t SinglePassDigest(std::u16string_view page) {
    static constexpr std::u16string_view row = u"<tr>";
    static constexpr std::u16string_view opening = u"<td><p>";
    static constexpr std::u16string_view closing = u"</p></td>";
    static constexpr std::u16string_view lineBreak = u"<br>";
    std::uint64_t digest = 0;
    std::size_t position = FindMarker(page, 0, row);
    while (position != NotFound) {
        const std::size_t rateStart = FindMarker(page, position, opening);
        if (rateStart == NotFound) break;
        const std::size_t rateEnd = FindMarker(page, rateStart + opening.size(), closing);
        if (rateEnd == NotFound) break;
        const std::u16string_view rate =
            page.substr(rateStart + opening.size(), rateEnd - rateStart - opening.size());
        std::size_t i = 0;
        digest = digest * 31 + ReadNumber(rate, i);
        const std::size_t percent = rate.find(u'%');
        if (percent != NotFound)
            digest = digest * 3 + (percent + 1 < rate.size() && rate[percent + 1] == u'*');

        const std::size_t periodStart = FindMarker(page, rateEnd, opening);
        if (periodStart == NotFound) break;
        const std::size_t periodEnd = FindMarker(page, periodStart + opening.size(), closing);
        if (periodEnd == NotFound) break;
        const std::u16string_view period =
            page.substr(periodStart + opening.size(), periodEnd - periodStart - opening.size());
        digest = digest * 31 + DateDigest(period);
        const std::size_t end = FindMarker(period, 0, lineBreak);
        if (end != NotFound)
            digest = digest * 31 + DateDigest(period.substr(end + lineBreak.size()));
        position = FindMarker(page, periodEnd, row);
    }
    return digest;
}

std::size_t CountMarkupStarts(std::u16string_view page) {
    std::size_t count = 0;
    for (std::size_t i = page.find(u'<'); i != NotFound; i = page.find(u'<', i + 1)) ++count;
    return count;
}

}  // namespace vistrel::tools
