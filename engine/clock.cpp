#include "engine/clock.h"

#include <ctime>

namespace vistrel {
namespace {

std::int32_t SystemTime() { return static_cast<std::int32_t>(std::time(nullptr)); }

ClockFunction currentClock = &SystemTime;

}  // namespace

std::int32_t CurrentTime() { return currentClock(); }

ClockFunction SetClock(ClockFunction clock) {
    ClockFunction previous = currentClock;
    currentClock = clock != nullptr ? clock : &SystemTime;
    return previous;
}

}  // namespace vistrel
