#include "calculator/calculator_entry.h"

#include <chrono>

#include "engine/local_time.h"

namespace vistrel {

std::optional<std::int32_t> DayAfterInstant(const SYSTEMTIME& date, std::int32_t now) noexcept {
    return DayAfterInstant(
        std::chrono::year_month_day{std::chrono::year{date.wYear}, std::chrono::month{date.wMonth},
                                    std::chrono::day{date.wDay}},
        now);
}

EnteredAmount ReadAmount(const wchar_t* text) {
    // wchar_t is UTF-16 on Windows, the engine's char16_t.
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return ReadEnteredAmount(std::u16string_view(reinterpret_cast<const char16_t*>(text)));
}

EntryCheck CheckEntry(std::optional<std::int32_t> dueInstant,
                      std::optional<std::int32_t> paymentInstant) noexcept {
    if (!dueInstant) return EntryCheck::DueDateUnusable;
    if (!paymentInstant) return EntryCheck::PaymentDateUnusable;
    return *dueInstant > *paymentInstant ? EntryCheck::DueAfterPayment : EntryCheck::InOrder;
}

}  // namespace vistrel
