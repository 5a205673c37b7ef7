#include "calculator/calculation_state.h"

namespace vistrel {
namespace {
constinit CalculationState calculationState{};
}

CalculationState& ProcessCalculationState() noexcept { return calculationState; }

}  // namespace vistrel
