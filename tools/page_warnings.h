// Warnings about rows of the rate page that the calculation may have missed or misread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"

namespace vistrel::tools {

// Above this many percent a rate on the page is far beyond any rate ever published.
inline constexpr double HighestPlausibleRate = 1000.0;

// One line (UTF-8, "Uwaga: ...") for each row that could not be read in full and for each rate
// above HighestPlausibleRate, naming the row's number on the page and its text, shortened.
std::string PageWarnings(std::u16string_view page, const std::vector<RowReading>& readings,
                         const RateTable& table);

// The row's text without its markup, blanks run together, in UTF-8.
std::string RowText(std::u16string_view page, const RowReading& reading);

}  // namespace vistrel::tools
