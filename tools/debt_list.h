// The list of debts as a spreadsheet exports it: semicolon-separated lines in UTF-8 or
// Windows-1250, a header row or none; and the same lines with the figures added.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::tools {

struct ListText {
    std::vector<std::string> lines;  // UTF-8, without their line ends
    bool windows1250 = false;        // the file was not UTF-8
    bool byteOrderMark = false;      // the file began with UTF-8's byte order mark
    std::string lineEnd = "\n";      // "\r\n" when the file's first line ended so
    bool endsWithLineEnd = true;
};

// Bytes that are well-formed UTF-8 are read as UTF-8 (a byte order mark dropped), others as
// Windows-1250.
ListText DecodeListText(std::string_view bytes);

// `lines` in the encoding, line ends and byte order mark of `original`.
std::string EncodeListText(const ListText& original, const std::vector<std::string>& lines);

// The fields of one line: separated by semicolons, a field in double quotes may hold semicolons
// and doubled quotes; blanks around a field dropped.
std::vector<std::string> SplitListLine(std::string_view line);

// A field for the list: quoted when it holds a semicolon, a quote or a line end.
std::string ListField(std::string_view text);

// A date as spreadsheets write it: "YYYY-MM-DD" or "DD.MM.YYYY" (also "D.M.YYYY").
std::optional<std::chrono::year_month_day> ParseListDate(std::string_view text);

}  // namespace vistrel::tools
