#include "tools/page_warnings.h"

#include <algorithm>

#include "tools/quoting.h"
#include "tools/utf8.h"

namespace vistrel::tools {
namespace {

// A row whose cells never close has no end of its own; this much of the page stands for it.
constexpr std::size_t UnclosedRowLength = 200;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' ||
           c == 0x00A0;
}

}  // namespace

std::string RowText(std::u16string_view page, const RowReading& reading) {
    const std::size_t begin = std::min(reading.begin, page.size());
    const std::size_t end = reading.end > begin ? reading.end : begin + UnclosedRowLength;
    const std::u16string_view row = page.substr(begin, end - begin);
    std::string text;
    bool inMarkup = false;
    bool blankPending = false;
    for (const char16_t c : row) {
        if (c == u'<') {
            inMarkup = true;
            blankPending = true;  // a tag separates like a blank: "13,00%</p></td><td>od"
        } else if (c == u'>' && inMarkup) {
            inMarkup = false;
        } else if (!inMarkup) {
            if (IsBlank(c)) {
                blankPending = true;
                continue;
            }
            if (blankPending && !text.empty()) text.push_back(' ');
            blankPending = false;
            // Surrogates can't stand alone in UTF-8; the page's Latin-2 never has them.
            AppendUtf8(text, c >= 0xD800 && c <= 0xDFFF ? U'\uFFFD' : static_cast<char32_t>(c));
        }
    }
    return text;
}

std::string PageWarnings(std::u16string_view page, const std::vector<RowReading>& readings,
                         const RateTable& table) {
    std::string warnings;
    for (std::size_t i = 0; i < readings.size() && i < table.size(); ++i) {
        const std::string row = "wiersz " + std::to_string(i + 1) + " tabeli stóp ";
        if (readings[i].IsIncomplete()) {
            warnings += "Uwaga: " + row +
                        "nie dał się odczytać w całości, więc odsetki mogą pominąć jego okres: " +
                        Quoted(RowText(page, readings[i])) + "\n";
        }
        if (table[i].kind != RateKind::None && table[i].rate > HighestPlausibleRate) {
            warnings += "Uwaga: " + row +
                        "podaje stopę powyżej 1 000%, a obliczenie ją przyjmuje: " +
                        Quoted(RowText(page, readings[i])) + "\n";
        }
    }
    return warnings;
}

}  // namespace vistrel::tools
