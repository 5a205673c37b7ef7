#include "rules/statutory_dates.h"

#include <string>

#include "base/whole_text_number.h"
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
    const auto value = WholeTextNumber<double>(text);
    if (!value) ThrowBadData(name, line, "no number");
    return *value;
}

}  // namespace vistrel::rules
