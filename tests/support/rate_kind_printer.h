// Lets GoogleTest name a RateKind in failure messages.
#pragma once

#include <ostream>

#include "engine/rate_table.h"

namespace vistrel {

inline void PrintTo(RateKind kind, std::ostream* out) {
    switch (kind) {
    case RateKind::None: *out << "None"; return;
    case RateKind::Annual: *out << "Annual"; return;
    case RateKind::DailyStar: *out << "DailyStar"; return;
    case RateKind::DailyTwoStars: *out << "DailyTwoStars"; return;
    }
    *out << "RateKind(" << static_cast<int>(kind) << ")";
}

}  // namespace vistrel
