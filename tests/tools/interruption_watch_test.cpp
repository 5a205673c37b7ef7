// The watch notes an interruption instead of letting it end the process, and gives the process
// its earlier handling back when it goes: on Linux SIGINT and SIGTERM, on Windows the console's
// Ctrl+C (the program on a long list asks it between rows).
#include "tools/interruption_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace vistrel::tools {
namespace {

// The system runs a console handler on a thread of its own: its note may come a moment later.
bool NotedWithin(const InterruptionWatch& watch, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!watch.Interrupted() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return watch.Interrupted();
}

#ifdef _WIN32

// A console of the test's own while it lives: Ctrl+C needs one, and a test run may have none or
// share one. The standard handles the process had come back when it goes, whatever the test's
// end, for the tests that follow.
class OwnConsole {
public:
    OwnConsole() {
        for (int i = 0; i < 3; ++i) before_[i] = GetStdHandle(Streams[i]);
        FreeConsole();
        allocated_ = AllocConsole();
    }
    ~OwnConsole() {
        FreeConsole();
        for (int i = 0; i < 3; ++i) SetStdHandle(Streams[i], before_[i]);
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;

    bool Allocated() const { return allocated_; }

private:
    static constexpr DWORD Streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE before_[3] = {};
    bool allocated_ = false;
};

// Wine delivers Ctrl+C to a console's processes but refuses to generate Ctrl+Break; the handler
// takes both alike.
TEST(InterruptionWatch, NotesTheConsolesCtrlC) {
    const OwnConsole console;
    ASSERT_TRUE(console.Allocated()) << GetLastError();
    {
        const InterruptionWatch watch;
        EXPECT_FALSE(watch.Interrupted());
        ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) << GetLastError();
        EXPECT_TRUE(NotedWithin(watch, std::chrono::seconds(10)));
    }
    // A new watch starts unmarked.
    const InterruptionWatch watch;
    EXPECT_FALSE(watch.Interrupted());
}

#else

extern "C" void Ignore(int) {}

TEST(InterruptionWatch, NotesSigintAndSigtermAndGivesTheirHandlersBack) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        struct sigaction mine {};
        mine.sa_handler = &Ignore;
        sigemptyset(&mine.sa_mask);
        struct sigaction before {};
        ASSERT_EQ(sigaction(signal, &mine, &before), 0);
        {
            const InterruptionWatch watch;
            EXPECT_FALSE(watch.Interrupted());
            ASSERT_EQ(std::raise(signal), 0);
            EXPECT_TRUE(NotedWithin(watch, std::chrono::seconds(1)));
        }
        struct sigaction after {};
        ASSERT_EQ(sigaction(signal, &before, &after), 0);
        EXPECT_EQ(after.sa_handler, &Ignore);
    }
    const InterruptionWatch watch;
    EXPECT_FALSE(watch.Interrupted());
}

#endif

}  // namespace
}  // namespace vistrel::tools
