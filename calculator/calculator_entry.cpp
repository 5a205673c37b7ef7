#include "calculator/calculator_entry.h"

#include "engine/local_time.h"
#include "engine/number_text.h"
#include "engine/rate_page_parser.h"

namespace vistrel {

std::optional<std::int32_t> DayAfterInstant(const SYSTEMTIME& date, std::int32_t now) noexcept {
    return DayAfterLocalMidnight(date.wYear, date.wMonth, date.wDay, now);
}

double ReadAmount(wchar_t* text) {
    // wchar_t is UTF-16 on Windows, the engine's char16_t.
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    auto* wide = reinterpret_cast<char16_t*>(text);
    CommaToPoint(wide);
    return ReadLeadingDecimal(wide);
}

EntryCheck CheckEntry(std::optional<std::int32_t> dueInstant,
                      std::optional<std::int32_t> paymentInstant) noexcept {
    if (!dueInstant) return EntryCheck::DueDateUnusable;
    if (!paymentInstant) return EntryCheck::PaymentDateUnusable;
    return *dueInstant > *paymentInstant ? EntryCheck::DueAfterPayment : EntryCheck::InOrder;
}

}  // namespace vistrel
