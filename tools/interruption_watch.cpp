#include "tools/interruption_watch.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#else
#include <csignal>
#include <iterator>
#endif

namespace vistrel::tools {

#ifdef _WIN32

namespace {

std::atomic<bool> interrupted{false};
// Signalled when the watch goes: the console's closing waits for it, so that the run removes
// its temporary file before the system ends the process.
std::atomic<HANDLE> finished{nullptr};

// Closing the console gives the process this long after the handler returns, and ends it then.
constexpr DWORD CleanUpMilliseconds = 4000;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    interrupted = true;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    if (const HANDLE done = finished.load()) WaitForSingleObject(done, CleanUpMilliseconds);
    return TRUE;
}

}  // namespace

struct InterruptionWatch::PreviousHandlers {};

InterruptionWatch::InterruptionWatch() {
    interrupted = false;
    finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

InterruptionWatch::~InterruptionWatch() {
    const HANDLE done = finished.exchange(nullptr);
    if (done != nullptr) SetEvent(done);
    SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    if (done != nullptr) CloseHandle(done);
}

bool InterruptionWatch::Interrupted() const { return interrupted; }

#else

namespace {

volatile std::sig_atomic_t interrupted = 0;

constexpr int WatchedSignals[] = {SIGINT, SIGTERM};

extern "C" void OnSignal(int) { interrupted = 1; }

}  // namespace

struct InterruptionWatch::PreviousHandlers {
    struct sigaction actions[std::size(WatchedSignals)];
};

InterruptionWatch::InterruptionWatch() : previous_(std::make_unique<PreviousHandlers>()) {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(WatchedSignals); ++i) {
        sigaction(WatchedSignals[i], &action, &previous_->actions[i]);
    }
}

InterruptionWatch::~InterruptionWatch() {
    for (std::size_t i = 0; i < std::size(WatchedSignals); ++i) {
        sigaction(WatchedSignals[i], &previous_->actions[i], nullptr);
    }
}

bool InterruptionWatch::Interrupted() const { return interrupted != 0; }

#endif

}  // namespace vistrel::tools
