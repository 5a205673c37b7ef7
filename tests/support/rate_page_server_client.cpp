#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/support/rate_page_server_client.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/unique_resource.h"

namespace vistrel::test {

namespace {

using UniqueSocket = UniqueResource<SOCKET, &closesocket, INVALID_SOCKET>;

class WinsockScope {
public:
    WinsockScope() noexcept { started_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~WinsockScope() {
        if (started_) WSACleanup();
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;

private:
    WSADATA data_{};
    bool started_ = false;
};

u_short ControlPort() {
    const char* port = std::getenv("VISTREL_RATE_SERVER_CONTROL");
    if (port == nullptr) {
        ADD_FAILURE() << "VISTREL_RATE_SERVER_CONTROL is not set: run the program through "
                         "tests/calculator/rate_page_server.py";
        return 0;
    }
    return static_cast<u_short>(std::atoi(port));
}

// Sends one command line and returns the whole reply; empty when the server cannot be reached.
std::string Command(std::string_view line) {
    static WinsockScope winsock;
    UniqueSocket control(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(ControlPort());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!control ||
        connect(control.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ADD_FAILURE() << "cannot reach the rate-page server's control port";
        return {};
    }
    const std::string request = std::string(line) + "\n";
    send(control.get(), request.data(), static_cast<int>(request.size()), 0);
    std::string reply;
    char chunk[4096];
    for (int count; (count = recv(control.get(), chunk, sizeof chunk, 0)) > 0;) {
        reply.append(chunk, static_cast<std::size_t>(count));
    }
    return reply;
}

void ExpectOk(std::string_view line) { EXPECT_EQ(Command(line), "ok\n") << "command: " << line; }

}  // namespace

void ServeRatePage(std::string_view mode) { ExpectOk("serve " + std::string(mode)); }

std::vector<LoggedRequest> TakeRequests() {
    std::vector<LoggedRequest> requests;
    const std::string log = Command("log");
    for (std::size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const std::string line = log.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        requests.push_back(
            {line.substr(0, tab), tab == std::string::npos ? std::string() : line.substr(tab + 1)});
    }
    return requests;
}

void StopListening() { ExpectOk("down"); }

void StartListening() { ExpectOk("up"); }

}  // namespace vistrel::test
