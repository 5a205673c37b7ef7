// The command-line calculator's exit codes, as --pomoc lists them.
#pragma once

namespace vistrel::tools {

enum ExitCode : int {
    ExitSuccess = 0,
    ExitBadArguments = 1,
    ExitUnreadablePage = 2,
    ExitNoRate = 3,
    ExitUnexpected = 4,      // an exception, out of memory say
    ExitSomeRowsUnread = 5,  // a list computed, but some of its rows could not be read
};

}  // namespace vistrel::tools
