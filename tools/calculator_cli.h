// The whole run of the command-line interest calculator, apart from the console itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::tools {

enum ExitCode : int {
    ExitSuccess = 0,
    ExitBadArguments = 1,
    ExitUnreadablePage = 2,
    ExitNoRate = 3,
    ExitUnexpected = 4,  // an exception, out of memory say
};

struct CliOutput {
    int exitCode = ExitSuccess;
    std::string out;  // UTF-8, for standard output
    std::string err;  // UTF-8, for standard error
};

// `arguments` without the program name; `defaultPage` is read when --strona is not given.
CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const std::filesystem::path& defaultPage);

}  // namespace vistrel::tools
