// The rate of late-payment interest a user asks for: the basic one, or the reduced or the
// increased one, whose fraction of the basic rate the regime of the debt decides
// (rules/rate_regime.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistrel::rules {

enum class InterestRateKind { Basic, Reduced, Increased };

// "podstawowa", "obniżona", "podwyższona".
std::string KindName(InterestRateKind kind);

// "podstawowa", "obnizona", "podwyzszona", also with the Polish letters; nullopt otherwise.
std::optional<InterestRateKind> ParseKindName(std::string_view text);

}  // namespace vistrel::rules
