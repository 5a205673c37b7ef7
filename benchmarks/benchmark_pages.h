// The pages the engine benchmarks read, and a plain single pass over a page to measure them by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel::tools {

// The bundled page, decoded from ISO 8859-2; throws when the file is missing.
std::u16string BundledRatePage(const char* path);

// 200 rows of one month each, newest first, ending with January 2025: the table's full capacity.
std::u16string FullRatePage();

// The bundled page followed by `characters` of rows that have a row marker and no cell.
std::u16string PageWithCelllessRows(const std::u16string& page, std::size_t characters);

// 16 Mi characters in 200 rows, each a rate cell that opens and never closes.
std::u16string PageOfUnclosedCells();

// The least a reader of the page must do, written plainly: find each '<' with find, compare the
// markers with an inline ASCII case fold, read the rate and the dates in place without copying,
// convert no date. Answers a digest of what it read, so that nothing can be left out.
std::uint64_t SinglePassDigest(std::u16string_view page);

// How many '<' the page holds: the cheapest look at every character.
std::size_t CountMarkupStarts(std::u16string_view page);

}  // namespace vistrel::tools
