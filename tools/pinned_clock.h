// The engine's clock held at one moment for the length of a calculation, so that the page's open
// period and the entered dates see the same "now".
#pragma once

#include <cstdint>

#include "engine/clock.h"

namespace vistrel::tools {

// One at a time: the engine's clock is a plain function, so the moment is kept process-wide.
class PinnedClock {
public:
    explicit PinnedClock(std::int32_t now);
    ~PinnedClock();
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

private:
    ClockFunction previous_;
};

}  // namespace vistrel::tools
