#include "calculator/rate_page.h"

#include <cstdlib>

namespace vistrel {

RatePage& ProcessRatePage() noexcept {
    static constinit RatePage page;
    return page;
}

void ReleaseRatePage(RatePage& page) noexcept {
    std::free(page.text);
    page.text = nullptr;
    page.length = 0;
    page.fetchedAt = 0;
}

}  // namespace vistrel
