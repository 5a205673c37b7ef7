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

TEST(InterruptionWatch, NotesTheConsolesCtrlC) {
    // The event needs a console of the process's own: a test run may have none, or share one.
    // (Wine delivers Ctrl+C to a console's processes but refuses to generate Ctrl+Break; the
    // handler takes both alike.)
    // The standard handles come back afterwards, for the tests that follow.
    const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE before[3];
    for (int i = 0; i < 3; ++i) before[i] = GetStdHandle(streams[i]);
    FreeConsole();
    ASSERT_TRUE(AllocConsole()) << GetLastError();
    {
        const InterruptionWatch watch;
        EXPECT_FALSE(watch.Interrupted());
        ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) << GetLastError();
        EXPECT_TRUE(NotedWithin(watch, std::chrono::seconds(10)));
    }
    // A new watch starts unmarked.
    const InterruptionWatch watch;
    EXPECT_FALSE(watch.Interrupted());
    FreeConsole();
    for (int i = 0; i < 3; ++i) SetStdHandle(streams[i], before[i]);
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
