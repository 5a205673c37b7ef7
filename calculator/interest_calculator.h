// Verb 1, "Odsetki za zwłokę", from the tagged cell to four written cells: the rate page fetched
// (once per process), the calculator dialog, and the due date, the payment date, the amount and
// the interest written into the four cells to the right of the tagged cell.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "engine/rate_table.h"

namespace vistrel {

// Where a run takes its rates from: the rate page at `pageUrl`, or, with `builtIn` (the user's
// setting StopyWbudowane), the rates the library carries, without fetching.
struct RateSource {
    const wchar_t* pageUrl = nullptr;
    bool builtIn = false;
};

// Runs the verb for the host's `target`, with the rates from `source`. Returns
// - E_FAIL when no rate table can be had or the target offers no Range (no message, no dialog,
//   no network access);
// - 1 when the four cells were written;
// - 0 when the run ended otherwise: the page could not be fetched or held no table and the user
//   declined the built-in rates (a Yes/No question), the dialog was cancelled, the write-back
//   failed (a message with the failure's description; the cells written before stay written), or
//   another run is in progress in the process (its dialog, if open, is brought to the front;
//   nothing else is done).
// One run at a time: the dialog has no owner, so the host stays usable while it is open.
HRESULT RunInterestCalculator(IDispatch* target, RateSource source) noexcept;

// The run for the target's `range`, over `table`, which it fills from the page (held for
// RatePageLifetime; a page without a table is not kept) or from the built-in rates (the user's
// source's choice, or Yes to the question when the page can't serve): 1 when the four
// cells were written, 0 when no table was had or the dialog was cancelled. Failures of the
// write-back leave it as _com_error.
int CalculateIntoRange(IDispatch* range, RateSource source, RateTable& table);

}  // namespace vistrel
