#include "engine/clock.h"

#include <ctime>

namespace vistrel {
namespace {

std::int32_t SystemTime() { return static_cast<std::int32_t>(std::time(nullptr)); }

ClockFunction currentClock = &SystemTime;

std::int32_t pinnedMoment = 0;

std::int32_t PinnedMoment() { return pinnedMoment; }

}  // namespace

std::int32_t CurrentTime() { return currentClock(); }

ClockFunction SetClock(ClockFunction clock) {
    ClockFunction previous = currentClock;
    currentClock = clock != nullptr ? clock : &SystemTime;
    return previous;
}

PinnedClock::PinnedClock(std::int32_t now)
    : previousClock_(SetClock(&PinnedMoment)), previousMoment_(pinnedMoment) {
    pinnedMoment = now;
}

PinnedClock::~PinnedClock() {
    pinnedMoment = previousMoment_;
    SetClock(previousClock_);
}

}  // namespace vistrel
