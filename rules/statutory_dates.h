// Reading the dates and numbers of the statutory data files.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace vistrel::rules {

// "YYYY-MM-DD" (ParseCalendarDate), or a std::runtime_error naming the file and line.
std::chrono::year_month_day DataDate(std::string_view text, std::string_view name,
                                     std::size_t line);

// A decimal number with a point, or a std::runtime_error naming the file and line.
double DataNumber(std::string_view text, std::string_view name, std::size_t line);

}  // namespace vistrel::rules
