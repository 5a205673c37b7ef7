// The current time as the engine sees it. Tests and the command-line calculator pin it.
#pragma once

#include <cstdint>

namespace vistrel {

using ClockFunction = std::int32_t (*)();

// Seconds since 1970-01-01 00:00 UTC, as the runtime's time() gives them.
std::int32_t CurrentTime();

// Replaces the clock (nullptr restores the system clock); returns the previous one.
ClockFunction SetClock(ClockFunction clock);

}  // namespace vistrel
