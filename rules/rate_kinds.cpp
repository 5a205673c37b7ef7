#include "rules/rate_kinds.h"

namespace vistrel::rules {

std::string KindName(InterestRateKind kind) {
    switch (kind) {
    case InterestRateKind::Reduced: return "obniżona";
    case InterestRateKind::Increased: return "podwyższona";
    case InterestRateKind::Basic: break;
    }
    return "podstawowa";
}

std::optional<InterestRateKind> ParseKindName(std::string_view text) {
    if (text == "podstawowa") return InterestRateKind::Basic;
    if (text == "obnizona" || text == "obniżona") return InterestRateKind::Reduced;
    if (text == "podwyzszona" || text == "podwyższona") return InterestRateKind::Increased;
    return std::nullopt;
}

}  // namespace vistrel::rules
