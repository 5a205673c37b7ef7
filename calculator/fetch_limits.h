// How long a fetch of the rate page may keep the host's window thread waiting and how much it may
// take in. Verb 1 fetches on that thread, so a server that stalls or never stops sending must
// cost the user a bounded wait and a bounded amount of memory, then the network-failure message.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vistrel {

struct FetchLimits {
    // Milliseconds from the start of a fetch by which it has ended, whatever the server does
    // once it has sent the answer's headers.
    DWORD totalTime;
    // Milliseconds of one wait for the network: to connect, to send the request, for the next
    // bytes of the answer. No wait starts unless it would end within totalTime.
    DWORD waitTimeout;
    // The longest body taken, in bytes; a longer one fails the fetch.
    std::uint32_t largestBody;
};

// A rate page is about 10 KB; 16 MiB leaves room for any page the ministry may publish.
inline constexpr FetchLimits RatePageFetchLimits{30000, 10000, 16u * 1024 * 1024};

}  // namespace vistrel
