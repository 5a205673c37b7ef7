#include "tools/debt_list.h"

#include <utility>

#include "base/whole_text_number.h"
#include "rules/calendar_date.h"

namespace vistrel::tools {

using namespace rules;
namespace {

// Parts of the words that name the columns, without Polish letters.
constexpr std::string_view ColumnWords[] = {
    "termin", "naleznos", "data",  "dzien",  "zaplat", "platnos", "kwot",  "zaleglos",   "suma",
    "stawk",  "rodzaj",   "wplat", "korekt", "odsetk", "dni",     "uwagi", "kontrahent",
};

// ASCII letters in lower case, Polish letters as their Latin base letter in lower case.
std::string FoldedWord(std::string_view utf8) {
    static constexpr std::pair<std::string_view, char> PolishLetters[] = {
        {"ą", 'a'}, {"ć", 'c'}, {"ę", 'e'}, {"ł", 'l'}, {"ń", 'n'}, {"ó", 'o'},
        {"ś", 's'}, {"ź", 'z'}, {"ż", 'z'}, {"Ą", 'a'}, {"Ć", 'c'}, {"Ę", 'e'},
        {"Ł", 'l'}, {"Ń", 'n'}, {"Ó", 'o'}, {"Ś", 's'}, {"Ź", 'z'}, {"Ż", 'z'},
    };
    std::string folded;
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            ++i;
            continue;
        }
        bool found = false;
        for (const auto& [letter, base] : PolishLetters) {
            if (utf8.substr(i).starts_with(letter)) {
                folded += base;
                i += letter.size();
                found = true;
                break;
            }
        }
        if (!found) folded += utf8[i++];
    }
    return folded;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<unsigned> ReadNumber(std::string_view text) {
    return WholeTextNumber<unsigned>(text);
}

}  // namespace

bool IsHeaderRecord(const std::vector<std::string>& fields) {
    bool named = false;
    for (const std::string& field : fields) {
        const std::string folded = FoldedWord(field);
        if (folded.find_first_of("0123456789") != std::string::npos) return false;
        for (const std::string_view word : ColumnWords) {
            if (folded.find(word) != std::string::npos) named = true;
        }
    }
    return named;
}

std::optional<std::chrono::year_month_day> ParseListDate(std::string_view text) {
    text = Trimmed(text);
    if (const auto iso = ParseCalendarDate(text)) return iso;
    const std::size_t firstDot = text.find('.');
    const std::size_t secondDot =
        firstDot == std::string_view::npos ? firstDot : text.find('.', firstDot + 1);
    if (secondDot == std::string_view::npos || text.size() - secondDot - 1 != 4 || firstDot > 2 ||
        secondDot - firstDot - 1 > 2) {
        return std::nullopt;
    }
    const auto day = ReadNumber(text.substr(0, firstDot));
    const auto month = ReadNumber(text.substr(firstDot + 1, secondDot - firstDot - 1));
    const auto year = ReadNumber(text.substr(secondDot + 1));
    if (!day || !month || !year) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{static_cast<int>(*year)},
                                           std::chrono::month{*month}, std::chrono::day{*day}};
    if (!date.ok()) return std::nullopt;
    return date;
}

}  // namespace vistrel::tools
