// The whole run of the command-line interest calculator, apart from the console itself.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/exit_code.h"

namespace vistrel::tools {

struct CliOutput {
    int exitCode = ExitSuccess;
    std::string out;               // UTF-8, for standard output
    std::string err;               // UTF-8, for standard error
    std::size_t rowsPaidLate = 0;  // --lista: rows paid long after the newest period began
};

// Progress of a long run, one line of UTF-8 at a time, for standard error at once.
using ProgressSink = std::function<void(const std::string& line)>;

// `arguments` without the program name. Without --strona the rates compiled in from the
// published history serve (--wbudowane).
CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const ProgressSink& progress = {});

}  // namespace vistrel::tools
