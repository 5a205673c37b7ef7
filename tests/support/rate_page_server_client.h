// Talks to the local stand-in for the ministry's web server (rate_page_server.py, which started
// this program) over its control port: what to answer next, which requests arrived, whether it
// accepts connections.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::test {

struct LoggedRequest {
    std::string requestLine;
    std::string userAgent;
};

// Every later request is answered as `mode` says: "page", "latin2", "large", "empty",
// "numbered", "status 404", "redirect 302 latin2", "drop", and the servers that stall: "silent",
// "trickle", "steady", "endless" (see rate_page_server.py).
void ServeRatePage(std::string_view mode);

// The requests that arrived since the last call.
std::vector<LoggedRequest> TakeRequests();

// While stopped, nothing listens on the proxy port and every connection is refused.
void StopListening();
void StartListening();

}  // namespace vistrel::test
