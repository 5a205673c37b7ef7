#include "engine/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace vistrel {
namespace {

std::int32_t FixedClock() { return 42; }

TEST(PinnedClockTest, HoldsTheMomentAndRestoresTheClockItFound) {
    const ClockFunction system = SetClock(&FixedClock);
    EXPECT_EQ(CurrentTime(), 42);
    {
        const PinnedClock outer(1000);
        EXPECT_EQ(CurrentTime(), 1000);
        {
            const PinnedClock inner(2000);
            EXPECT_EQ(CurrentTime(), 2000);
        }
        EXPECT_EQ(CurrentTime(), 1000);  // the outer pin holds again
    }
    EXPECT_EQ(CurrentTime(), 42);
    EXPECT_EQ(SetClock(system), &FixedClock);
}

TEST(PinnedClockTest, WithoutAPinTheClockIsTheSystemsOwn) {
    const std::int32_t before = static_cast<std::int32_t>(std::time(nullptr));
    const std::int32_t now = CurrentTime();
    const std::int32_t after = static_cast<std::int32_t>(std::time(nullptr));
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

}  // namespace
}  // namespace vistrel
