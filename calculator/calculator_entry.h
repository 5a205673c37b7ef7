// What the calculator dialog's OK makes of the entered values, apart from the window: the dates
// as instants, the amount as a number, whether the entry can be calculated, and the entry the
// dialog hands to the verb once it is.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/amount_text.h"
#include "engine/local_time.h"

namespace vistrel {

// A calendar date as the user picked it.
struct EnteredDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31

    bool operator==(const EnteredDate&) const = default;
};

// A confirmed entry: the dates as picked (the worksheet receives these, not the local dates of
// the instants, which lie a day later), the amount and the interest over the run's rate table.
struct ConfirmedEntry {
    EnteredDate dueDate;
    EnteredDate paymentDate;
    double amount = 0.0;
    double interest = 0.0;
};

// A calendar date as the date picker takes it, day of the week filled in as the picker keeps it.
constexpr SYSTEMTIME PickerDate(std::chrono::year_month_day date) noexcept {
    const std::chrono::weekday weekday{std::chrono::sys_days{date}};
    return SYSTEMTIME{static_cast<WORD>(static_cast<int>(date.year())),
                      static_cast<WORD>(static_cast<unsigned>(date.month())),
                      static_cast<WORD>(weekday.c_encoding()),
                      static_cast<WORD>(static_cast<unsigned>(date.day())),
                      0,
                      0,
                      0,
                      0};
}

// The amount field is read into this many UTF-16 units: 79 characters and the terminator.
inline constexpr std::size_t AmountTextCapacity = 80;

// The engine's DayAfterInstant of the picked date (only its year, month and day count): local
// midnight at the start of the following day with the daylight-saving flag of `now`; nullopt
// when the instant does not fit 32 bits.
std::optional<std::int32_t> DayAfterInstant(const SYSTEMTIME& date, std::int32_t now) noexcept;

// The engine's ReadEnteredAmount of the amount field's text, the command line's reader too.
EnteredAmount ReadAmount(const wchar_t* text);

enum class EntryCheck { InOrder, DueDateUnusable, PaymentDateUnusable, DueAfterPayment };

// Equal dates are in order.
EntryCheck CheckEntry(std::optional<std::int32_t> dueInstant,
                      std::optional<std::int32_t> paymentInstant) noexcept;

}  // namespace vistrel
