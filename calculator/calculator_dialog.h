// The modal dialog "Kalkulator odsetek" (template 203): due date, payment date and amount. A
// confirmed OK computes the interest over the run's rate table and ends the dialog with the
// entry; Cancel, Escape and the close box end it without one.
#pragma once

#include <windows.h>

#include <optional>

#include "calculator/calculator_entry.h"
#include "engine/rate_table.h"

namespace vistrel {

// The dialog while it is open (from its initialisation until it is destroyed), else nullptr.
HWND OpenCalculatorDialog() noexcept;

// The date-time picker class that the dialog's template names; false when it cannot be registered.
bool RegisterDatePickerClass() noexcept;

// Runs the dialog over `table` from the module's own template, without an owner, until it ends:
// the confirmed entry, or nullopt when the user cancelled or the dialog could not open.
std::optional<ConfirmedEntry> RunCalculatorDialog(const RateTable& table) noexcept;

}  // namespace vistrel
