// Fetches the finance ministry's rate page over HTTP, once per process, into a RatePage.
#pragma once

#include "calculator/fetch_limits.h"
#include "calculator/internet_api.h"
#include "calculator/rate_page.h"

namespace vistrel {

// Holds the page at `url` in `page` unless a page is held already that is at most
// RatePageLifetime old by the engine's clock (then nothing is requested, whatever `url` says); an
// older page is given up and fetched again. True when a page is held on return. False when the
// connection, the server (any final status outside 2xx, after WinINet's own redirects), the time
// allowed, the largest body allowed (RatePageFetchLimits) or memory failed: then nothing is held,
// every handle opened is closed, and the next call tries the network again.
bool FetchRatePage(const wchar_t* url, RatePage& page) noexcept;

// The same through the given WinINet calls.
bool FetchRatePage(InternetApi& internet, const wchar_t* url, RatePage& page) noexcept;

// The same within the given limits instead of the product's own; only for tests, which cannot
// wait as long as a user may.
bool FetchRatePage(InternetApi& internet, const wchar_t* url, RatePage& page,
                   const FetchLimits& limits) noexcept;

}  // namespace vistrel
