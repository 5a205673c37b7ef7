// A list's records as RFC 4180 has them, read a chunk of the file at a time: fields separated by
// one character, a field in double quotes may hold the separator, doubled quotes and line
// breaks. Memory stays within a few times LongestListRecord whatever the file's length.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/list_encoding.h"

namespace vistrel::tools {

// No record of a list is longer; a line longer than this is no list's.
inline constexpr std::size_t LongestListRecord = 1024 * 1024;

// Fills `buffer` with up to `size` further bytes of the file; 0 at its end. Throws when the file
// cannot be read.
using ReadListBytes = std::function<std::size_t(char* buffer, std::size_t size)>;

// A line of the file longer than LongestListRecord.
struct OverlongListLine {
    std::size_t line = 0;
};

struct ListRecord {
    std::string_view text;     // UTF-8 (a UTF-8 file's bytes as they stand), without its line end
    std::string_view lineEnd;  // "\r\n", "\n", or "" for a last line without one
    std::size_t line = 0;      // the file's line it begins on, from 1
    // A quote opened in its first line closes neither before the end of the file nor within
    // LongestListRecord: the record is then that line alone, and the next line a record again.
    bool unclosedQuote = false;
};

class ListRecordReader {
public:
    ListRecordReader(ReadListBytes read, ListEncoding encoding);

    // Until a separator is set, ';', ',' and a tab each begin a field (where a quote may open).
    void SetSeparator(char separator) { separator_ = separator; }

    // The next record, its text valid until the next call; false at the end of the file. Throws
    // OverlongListLine.
    bool Next(ListRecord& record);

private:
    bool Fill();  // more decoded text behind what is left; false at the end of the file
    bool IsSeparator(char c) const;
    bool ScanQuoted(std::size_t& length, std::size_t& lineBreaks);
    void Take(ListRecord& record, std::size_t length, std::size_t lineBreaks, bool unclosedQuote);

    ReadListBytes read_;
    ListDecoder decoder_;
    std::string raw_;
    std::string text_;
    std::size_t position_ = 0;
    std::size_t line_ = 1;
    bool ended_ = false;
    char separator_ = 0;
};

// The separator of a list whose first record is `record`: a semicolon if one stands outside
// quotes, else a tab if one does, else a comma if one does (a list separated by commas writes
// its decimal commas inside quotes), else a semicolon.
char DetectSeparator(std::string_view record);

// Whether the record holds nothing but blanks and separators (0: any of ';', ',' and a tab).
bool IsBlankRecord(std::string_view record, char separator);

// The record's fields into `fields` (whose strings are reused): a field in quotes without them
// and its doubled quotes single (what follows its closing quote up to the separator is
// dropped), any other without the blanks around it.
void SplitListRecord(std::string_view record, char separator, std::vector<std::string>& fields);

// A field for the list: in quotes when it holds the separator, a quote or a line break.
std::string ListField(std::string_view text, char separator);
void AppendListField(std::string& out, std::string_view text, char separator);

// How many fields SplitListRecord finds in the record.
std::size_t CountListFields(std::string_view record, char separator);

// The separator named as in "pola rozdzielone ...": "średnikiem", "przecinkiem", "tabulatorem".
std::string_view SeparatorName(char separator);

}  // namespace vistrel::tools
