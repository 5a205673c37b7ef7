// The command-line calculator's exit codes, as --pomoc lists them.
#pragma once

#include "rules/refusal.h"

namespace vistrel::tools {

enum ExitCode : int {
    ExitSuccess = 0,
    ExitBadArguments = 1,
    ExitUnreadablePage = 2,
    ExitNoRate = 3,
    ExitUnexpected = 4,      // an exception, out of memory say
    ExitSomeRowsUnread = 5,  // a list computed, but some of its rows could not be read
    ExitInterrupted = 7,     // a list's run stopped by Ctrl+C; the result file left as it was
};

constexpr ExitCode ExitCodeFor(rules::Refusal refusal) {
    switch (refusal) {
    case rules::Refusal::BadInput: return ExitBadArguments;
    case rules::Refusal::NoRate: return ExitNoRate;
    case rules::Refusal::None: break;
    }
    return ExitSuccess;
}

}  // namespace vistrel::tools
