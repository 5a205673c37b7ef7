// What a run of the command-line calculator hands back to the console, and the sinks through
// which a long run speaks while it works: its progress and, for a list, its rows.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "tools/exit_code.h"

namespace vistrel::tools {

struct CliOutput {
    int exitCode = ExitSuccess;
    std::string out;               // UTF-8, for standard output
    std::string err;               // UTF-8, for standard error
    std::size_t rowsPaidLate = 0;  // --lista: rows paid long after the newest period began
};

// Progress of a long run, one line of UTF-8 at a time, for standard error at once. A list's
// rows that cannot be read are named through it too, as they are met.
using ProgressSink = std::function<void(const std::string& line)>;

// A list's rows for standard output as they are computed: UTF-8, whole lines at a time. Without
// one they are gathered in CliOutput::out.
using OutputSink = std::function<void(std::string_view text)>;

}  // namespace vistrel::tools
