#include "tools/pinned_clock.h"

namespace vistrel::tools {
namespace {

std::int32_t pinnedMoment = 0;

std::int32_t PinnedMoment() {
    return pinnedMoment;
}

}  // namespace

PinnedClock::PinnedClock(std::int32_t now) {
    pinnedMoment = now;
    previous_ = SetClock(&PinnedMoment);
}

PinnedClock::~PinnedClock() {
    SetClock(previous_);
}

}  // namespace vistrel::tools
