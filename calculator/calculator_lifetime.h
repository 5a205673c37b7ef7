// The calculator from the library's load to its unload: what the module's entry points start
// and stop.
#pragma once

namespace vistrel {

// At load: registers the date-picker class of the dialog's template; false when it cannot be
// (the dialog then fails to open and the verb confirms nothing).
bool StartCalculator() noexcept;

// At unload: frees the rate page the process holds.
void StopCalculator() noexcept;

}  // namespace vistrel
