#include <cstdio>
#include <string>
#include <string_view>

#include "tools/calculator_cli.h"
#include "tools/console.h"

int main(int argc, char** argv) {
    using namespace vistrel::tools;
    try {
        const auto progress = [](const std::string& line) { WriteText(stderr, line); };
        const auto rows = [](std::string_view text) { WriteRows(stdout, text); };
        const CliOutput output = RunCalculatorCli(CommandLineArguments(argc, argv), progress, rows);
        WriteText(stdout, output.out);
        WriteText(stderr, output.err);
        return output.exitCode;
    } catch (...) {
        WriteText(stderr, "Błąd: obliczenie przerwane z powodu nieoczekiwanego błędu.\n");
        return ExitUnexpected;
    }
}
