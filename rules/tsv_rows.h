// Tab-separated text as the data files write it: a header row, then one record per line.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::rules {

struct TsvRow {
    std::size_t line = 0;  // 1-based, in the text
    std::vector<std::string_view> fields;
};

// The rows after the header, blank lines skipped; every row has the header's number of fields
// (missing ones empty). Throws std::runtime_error naming `name` and the line for a row with
// more fields than the header.
std::vector<TsvRow> ReadTsvRows(std::string_view text, std::string_view name);

// A data file that does not say what it should: names the file, the line and the trouble.
[[noreturn]] void ThrowBadData(std::string_view name, std::size_t line, const std::string& what);

}  // namespace vistrel::rules
