// The amount as typed on the command line: a decimal comma or point, read as the dialog reads it,
// but only when the whole text is a number.
#pragma once

#include <optional>
#include <string_view>

namespace vistrel::tools {

// Optional sign, digits with an optional comma or point, optional exponent, and nothing else;
// nullopt for any other text and for a value too large to hold.
std::optional<double> ParseAmount(std::string_view text);

}  // namespace vistrel::tools
