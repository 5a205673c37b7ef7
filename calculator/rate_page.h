// The rate page as the library holds it: UTF-16 text, one code unit per byte received, with no
// terminator. Held from a successful fetch until it is older than RatePageLifetime (the next
// run fetches it again), until a run finds no table in it, or until the library is unloaded.
#pragma once

#include <cstdint>
#include <string_view>

namespace vistrel {

// Rates change, and a spreadsheet may stay open for weeks: a page held longer is fetched again.
inline constexpr std::int32_t RatePageLifetime = 12 * 3600;  // seconds

struct RatePage {
    char16_t* text = nullptr;    // from malloc; null while no page is held
    std::int32_t length = 0;     // code units in `text`; 0 also for a held empty page
    std::int32_t fetchedAt = 0;  // the engine's clock when the page arrived
};

// The page every verb-1 run of this process reads; nothing held at load.
RatePage& ProcessRatePage() noexcept;

// Frees a held page and leaves `page` holding nothing; the module calls it at unload.
void ReleaseRatePage(RatePage& page) noexcept;

// The held text, exactly `length` code units (empty while nothing is held).
inline std::u16string_view RatePageText(const RatePage& page) noexcept {
    if (page.text == nullptr) return {};
    return {page.text, static_cast<std::size_t>(page.length)};
}

}  // namespace vistrel
