#include "calculator/calculator_lifetime.h"

#include "calculator/calculator_dialog.h"
#include "calculator/rate_page.h"

namespace vistrel {

bool StartCalculator() noexcept { return RegisterDatePickerClass(); }

void StopCalculator() noexcept { ReleaseRatePage(ProcessRatePage()); }

}  // namespace vistrel
