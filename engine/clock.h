// The current time as the engine sees it, and the one way to pin it: the command-line calculator,
// the benchmark and the tests hold it at one moment with a PinnedClock.
#pragma once

#include <cstdint>

namespace vistrel {

using ClockFunction = std::int32_t (*)();

// Seconds since 1970-01-01 00:00 UTC, as the runtime's time() gives them.
std::int32_t CurrentTime();

// Replaces the clock (nullptr restores the system clock); returns the previous one.
ClockFunction SetClock(ClockFunction clock);

// Holds the engine's clock at `now` for its lifetime, so that the page's open period and the
// entered dates see the same moment, then restores the clock and moment it found. The clock is
// process-wide: pins nest, innermost last, on one thread.
class PinnedClock {
public:
    explicit PinnedClock(std::int32_t now);
    ~PinnedClock();
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

private:
    ClockFunction previousClock_;
    std::int32_t previousMoment_;
};

}  // namespace vistrel
