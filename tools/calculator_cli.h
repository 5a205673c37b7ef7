// The whole run of the command-line interest calculator, apart from the console itself.
#pragma once

#include <string>
#include <vector>

#include "tools/cli_output.h"

namespace vistrel::tools {

// `arguments` without the program name. Without --strona the rates compiled in from the
// published history serve (--wbudowane). With `output`, a list's rows go there as they are
// computed, and `progress` names its unreadable rows as they are met.
CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const ProgressSink& progress = {}, const OutputSink& output = {});

}  // namespace vistrel::tools
