// The modal dialog "Kalkulator odsetek" (template 203): due date, payment date and amount. A
// confirmed OK computes the interest over the run's rate table into the run's CalculationState;
// Cancel, Escape and the close box only clear `accepted`.
#pragma once

#include <windows.h>

#include "calculator/calculation_state.h"
#include "engine/rate_table.h"

namespace vistrel {

// What one run of the dialog works with, handed to it as the dialog's creation parameter.
struct CalculatorRun {
    const RateTable& table;
    CalculationState& state;
};

// The dialog procedure: `lParam` of WM_INITDIALOG is the CalculatorRun, which must outlive the
// dialog.
INT_PTR CALLBACK CalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

// The dialog while it is open (from its initialisation until it is destroyed), else nullptr.
HWND OpenCalculatorDialog() noexcept;

// The date-time picker class that the dialog's template names; false when it cannot be registered.
bool RegisterDatePickerClass() noexcept;

// Runs the dialog for `run` from the module's own template, without an owner, until it ends. How
// it ended is told by `accepted` of the run's state, not by the result.
INT_PTR RunCalculatorDialog(CalculatorRun& run) noexcept;

}  // namespace vistrel
