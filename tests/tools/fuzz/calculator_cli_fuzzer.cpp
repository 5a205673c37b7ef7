// The whole command-line calculator: the input's lines up to the first NUL are its arguments,
// the bytes after it the rate-page file it reads (unless the arguments name another). It ends
// with a known exit code; on success it prints a report with numbers only (warnings about the page
// may go to the error stream), otherwise a message.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/calculator_cli.h"

namespace {

using namespace vistrel::tools;

// Stops the run with what the calculator printed, when `condition` does not hold.
void Require(bool condition, const CliOutput& output) {
    if (condition) return;
    std::fprintf(stderr, "exit %d\n--- out:\n%s\n--- err:\n%s\n", output.exitCode,
                 output.out.c_str(), output.err.c_str());
    std::abort();
}

std::filesystem::path PageFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("vistrel-cli-fuzz-" + std::to_string(getpid()) + ".html");
    return path;
}

// `word` standing alone in `text`, not inside a longer word ("znanego" holds "nan").
bool HasWord(std::string_view text, std::string_view word) {
    const auto isLetter = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
    };
    for (std::size_t at = text.find(word); at != std::string_view::npos;
         at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !isLetter(text[at - 1])) && (end == text.size() || !isLetter(text[end]))) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        lines.emplace_back(text.substr(start, end - start));
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Europe/Warsaw", 1);
    tzset();
    // Made before the clean-up is registered, so that it is destroyed after the clean-up ran.
    PageFile();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove(PageFile(), ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view arguments = input.substr(0, split);
    const std::string_view page =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    {
        std::ofstream file(PageFile(), std::ios::binary | std::ios::trunc);
        file.write(page.data(), static_cast<std::streamsize>(page.size()));
    }

    // The fuzzed page stands in for the rates; lists and result files are no part of this
    // target (a fuzzed --wynik would write anywhere).
    std::vector<std::string> lines = {"--strona=" + PageFile().string()};
    for (std::string& line : Lines(arguments)) {
        if (line.starts_with("--lista") || line.starts_with("--wynik") ||
            line.starts_with("--strona") || line == "--wbudowane") {
            continue;
        }
        lines.push_back(std::move(line));
    }
    const CliOutput output = RunCalculatorCli(lines);
    Require(output.exitCode >= ExitSuccess && output.exitCode <= ExitSomeRowsUnread, output);
    if (output.exitCode == ExitSuccess) {
        Require(!output.out.empty(), output);
        Require(!HasWord(output.out, "inf"), output);
        Require(!HasWord(output.out, "nan"), output);
    } else {
        Require(!output.err.empty(), output);
    }
    return 0;
}
