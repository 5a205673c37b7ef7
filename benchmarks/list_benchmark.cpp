// How long a list of debts takes, file to file, beside the plainest read-and-write of the same
// file as the floor; and how much memory the process has needed at most after each list, which
// stays flat when the list is streamed. No threshold: it prints figures for comparing one build
// with another (the aim: a million plain rows in under a second natively, on one core).
//
//   list_benchmark [ROWS...]     (default: 1000 100000 1000000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "tools/calculator_cli.h"

namespace {

using namespace vistrel::tools;

constexpr const char* Now = "--teraz=2026-12-08T12:00:00";

std::string Date(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd{day};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

// Due dates over 2010-2025, payments 1 to 800 days later, amounts of every size, a header.
void WriteList(const std::filesystem::path& path, long long rows) {
    std::ofstream file(path, std::ios::binary);
    std::string text = "należność;zapłata;kwota\n";
    const std::chrono::sys_days first{std::chrono::year{2010} / 1 / 4};
    for (long long i = 0; i < rows; ++i) {
        const std::chrono::sys_days due = first + std::chrono::days{(i * 37) % 5800};
        const std::chrono::sys_days paid = due + std::chrono::days{1 + (i * 13) % 800};
        text += Date(due) + ";" + Date(paid) + ";" + std::to_string(100 + (i * 7919) % 900000) +
                ",45\n";
        if (text.size() > (1 << 20)) {
            file << text;
            text.clear();
        }
    }
    file << text;
}

// The floor: the file read and written again in chunks, nothing looked at.
void CopyPlainly(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        out.write(buffer.data(), in.gcount());
    }
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time the process has used so far, in seconds: on a machine shared with other
// work the clock on the wall counts their time too.
double ProcessorSeconds() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#else
    return 0.0;
#endif
}

// The most memory the process has held at once so far, in MB (0 where unknown).
double PeakMegabytes() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#else
    return 0.0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long long> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoll(argv[i]));
    if (sizes.empty()) sizes = {1000, 100'000, 1'000'000};
    std::sort(sizes.begin(), sizes.end());
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("vistrel-list-benchmark-" + std::to_string(static_cast<long long>(getpid())));
    std::filesystem::create_directories(folder);
    const auto list = folder / "lista.csv";
    const auto copy = folder / "kopia.csv";
    const auto result = folder / "wynik.csv";
    for (const long long rows : sizes) {
        WriteList(list, rows);
        const auto copyStart = std::chrono::steady_clock::now();
        const double copyProcessorStart = ProcessorSeconds();
        CopyPlainly(list, copy);
        const double copySeconds = Seconds(copyStart);
        const double copyProcessor = ProcessorSeconds() - copyProcessorStart;
        // The least processor time of a few runs: the machine's other work only ever slows a run
        // down.
        double seconds = 0.0;
        double processor = 0.0;
        int exitCode = 0;
        for (int run = 0; run < (rows <= 1'000'000 ? 3 : 1); ++run) {
            const auto start = std::chrono::steady_clock::now();
            const double processorStart = ProcessorSeconds();
            const CliOutput output =
                RunCalculatorCli({Now, "--lista=" + list.string(), "--wynik=" + result.string()},
                                 [](const std::string&) {});
            const double runSeconds = Seconds(start);
            const double runProcessor = ProcessorSeconds() - processorStart;
            if (run == 0 || runProcessor < processor) {
                processor = runProcessor;
                seconds = runSeconds;
            }
            exitCode = output.exitCode;
        }
        std::printf(
            "%10lld rows (%7.1f MB): list %.3f s on the processor (%.3f s on the clock, %.0f "
            "rows/s), plain read-and-write %.3f s (%.3f s), ratio %.1f; exit %d; peak memory of "
            "the process so far %.1f MB   (goal: 1 000 000 rows under 1 s)\n",
            rows, static_cast<double>(std::filesystem::file_size(list)) / 1e6, processor, seconds,
            static_cast<double>(rows) / processor, copyProcessor, copySeconds,
            processor / std::max(copyProcessor, 1e-6), exitCode, PeakMegabytes());
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
