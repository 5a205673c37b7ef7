// Ctrl+C during a long run: while a watch lives, the interruption (SIGINT or SIGTERM; on Windows
// the console's Ctrl+C, Ctrl+Break or its closing) does not end the process at once but is
// noted, and the run, which asks between its rows, stops and cleans up after itself. The
// handlers that were there before come back when the watch goes. One watch at a time.
#pragma once

#include <memory>

namespace vistrel::tools {

class InterruptionWatch {
public:
    InterruptionWatch();
    ~InterruptionWatch();
    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;

    bool Interrupted() const;

private:
    struct PreviousHandlers;  // what SIGINT and SIGTERM did before (none on Windows)
    std::unique_ptr<PreviousHandlers> previous_;
};

}  // namespace vistrel::tools
