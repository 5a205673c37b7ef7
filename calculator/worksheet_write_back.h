// Writes a confirmed calculation into the worksheet: the due date, the payment date, the amount
// and the interest, into the four cells to the right of the tagged cell, through Excel's Range
// called late-bound.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "calculator/calculator_entry.h"

namespace vistrel {

// The cells are written one after another, D to G of the range's row. A failure raises
// _com_error (THROW_IF_FAILED) before the cell it concerns: the cells written
// before stay written, and every VARIANT and interface in hand is released. Raised: a text that
// does not fit the cell buffer (ERROR_INSUFFICIENT_BUFFER) or a date that is no calendar date
// (ERROR_INVALID_DATA), before anything is asked of the range for that cell; a text that cannot
// be allocated (E_OUTOFMEMORY); a failed Offset or Value2 with its status and error information;
// an Offset that yields no cell (E_POINTER); a VARIANT that cannot be cleared.
void WriteCalculationBeside(IDispatch* range, const ConfirmedEntry& entry);

}  // namespace vistrel
