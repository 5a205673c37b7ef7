// A number written as the whole of a text: digits (a sign, and for a floating-point type a point
// and decimals, as std::from_chars reads them) and nothing before or after them.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace vistrel {

template <typename Number>
std::optional<Number> WholeTextNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vistrel
