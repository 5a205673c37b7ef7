#include "rules/statutory_dates.h"

#include <charconv>
#include <string>

#include "rules/calendar_date.h"
#include "rules/tsv_rows.h"

namespace vistrel::rules {

std::chrono::year_month_day DataDate(std::string_view text, std::string_view name,
                                     std::size_t line) {
    const auto date = ParseCalendarDate(text);
    if (!date) ThrowBadData(name, line, "no date in the form YYYY-MM-DD");
    return *date;
}

double DataNumber(std::string_view text, std::string_view name, std::size_t line) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        ThrowBadData(name, line, "no number");
    }
    return value;
}

}  // namespace vistrel::rules
