#include "rules/tsv_rows.h"

namespace vistrel::rules {
namespace {

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = line.find(separator);
        fields.push_back(line.substr(0, at));
        if (at == std::string_view::npos) return fields;
        line.remove_prefix(at + 1);
    }
}

}  // namespace

void ThrowBadData(std::string_view name, std::size_t line, const std::string& what) {
    throw std::runtime_error(std::string(name) + ", line " + std::to_string(line) + ": " + what);
}

std::vector<TsvRow> ReadTsvRows(std::string_view text, std::string_view name) {
    std::vector<TsvRow> rows;
    std::size_t columns = 0;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        std::vector<std::string_view> fields = Split(line, '\t');
        if (columns == 0) {
            columns = fields.size();
            continue;
        }
        if (fields.size() > columns) ThrowBadData(name, lineNumber, "more fields than the header");
        fields.resize(columns);
        rows.push_back(TsvRow{lineNumber, std::move(fields)});
    }
    return rows;
}

}  // namespace vistrel::rules
