// The modal dialog "Kalkulator odsetek" (template 203): due date, payment date and amount. A
// confirmed OK computes the interest over the current rate table into the process's
// CalculationState; Cancel, Escape and the close box only clear `accepted`.
#pragma once

#include <windows.h>

namespace vistrel {

INT_PTR CALLBACK CalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

// The dialog while it is open (from its initialisation until it is destroyed), else nullptr.
HWND OpenCalculatorDialog() noexcept;

// The date-time picker class that the dialog's template names; false when it cannot be registered.
bool RegisterDatePickerClass() noexcept;

// Runs the dialog from the module's own template, without an owner, until it ends. How it
// ended is told by `accepted` of the CalculationState, not by the result.
INT_PTR RunCalculatorDialog() noexcept;

}  // namespace vistrel
