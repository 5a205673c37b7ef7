#include "tools/debt_list.h"

#include "base/whole_text_number.h"
#include "rules/calendar_date.h"
#include "tools/windows1250.h"

namespace vistrel::tools {

using namespace rules;
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<unsigned> ReadNumber(std::string_view text) {
    return WholeTextNumber<unsigned>(text);
}

}  // namespace

ListText DecodeListText(std::string_view bytes) {
    ListText list;
    std::string text;
    if (bytes.starts_with(ByteOrderMark)) {
        list.byteOrderMark = true;
        bytes.remove_prefix(ByteOrderMark.size());
    }
    if (IsUtf8(bytes)) {
        text = std::string(bytes);
    } else {
        list.windows1250 = true;
        text = Windows1250ToUtf8(bytes);
    }
    std::string_view rest = text;
    list.endsWithLineEnd = rest.empty() || rest.back() == '\n';
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
            if (first) list.lineEnd = "\r\n";
        }
        first = false;
        list.lines.emplace_back(line);
    }
    return list;
}

std::string EncodeListText(const ListText& original, const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || original.endsWithLineEnd) text += original.lineEnd;
    }
    if (original.windows1250) return Utf8ToWindows1250(text);
    return original.byteOrderMark ? std::string(ByteOrderMark) + text : text;
}

std::vector<std::string> SplitListLine(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    std::size_t i = 0;
    const auto finish = [&] {
        fields.push_back(wasQuoted ? field : std::string(Trimmed(field)));
        field.clear();
        wasQuoted = false;
    };
    while (i < line.size()) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                i += 2;
                continue;
            }
            if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && Trimmed(field).empty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == ';') {
            finish();
        } else if (!wasQuoted) {
            field += c;
        }
        ++i;
    }
    finish();
    return fields;
}

std::string ListField(std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
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
