// What the calculator dialog's OK makes of the entered values, apart from the window: the dates
// as instants, the amount as a number, and whether the entry can be calculated.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/amount_text.h"

namespace vistrel {

// The pickers offer only the dates whose instants fit 32 bits wherever local time is at most
// three hours behind UTC (day of the week filled in, as the picker keeps it).
inline constexpr SYSTEMTIME kEarliestEntryDate{1970, 1, 5, 2, 0, 0, 0, 0};
inline constexpr SYSTEMTIME kLatestEntryDate{2038, 1, 1, 18, 0, 0, 0, 0};

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
