// The Windows build on a list longer than a 32-bit program's address space (2 GB): read whole,
// as the list once was, it could not even be held; streamed, it is computed to its last row and
// the process's peak working set grows by a few MB only. The list is made in the temporary
// folder and removed after the test (it takes some 2.3 GB of disk while it runs).
#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "tools/calculator_cli.h"
#include "tools/polish_number.h"

namespace vistrel::tools {
namespace {

constexpr std::uint64_t ListBytes = 2'300'000'000;  // beyond 2 GiB, the 32-bit user space

// A debt with a long description in a seventh column, as accounting exports have: 10 days at
// 16.5% on 10 000 zł = 45.205... zł.
std::string Row(std::uint64_t number) {
    std::string row = "2023-01-10;2023-01-20;10000;;;;faktura " + std::to_string(number) + " ";
    row.append(1000 - row.size(), 'x');
    return row + "\r\n";
}

std::size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
}

class LongList {
public:
    LongList()
        : path_(std::filesystem::temp_directory_path() /
                ("vistrel-lista-" + std::to_string(GetCurrentProcessId()) + ".csv")) {
        std::ofstream file(path_, std::ios::binary);
        std::string chunk;
        for (std::uint64_t written = 0; written < ListBytes; ++rows_) {
            chunk += Row(rows_);
            if (chunk.size() > (1 << 20)) {
                file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                written += chunk.size();
                chunk.clear();
            }
        }
        file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        file.close();
        ok_ = static_cast<bool>(file);
    }
    ~LongList() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    LongList(const LongList&) = delete;
    LongList& operator=(const LongList&) = delete;

    bool Ok() const { return ok_; }
    std::string Path() const { return path_.string(); }
    std::uint64_t Rows() const { return rows_; }

private:
    std::filesystem::path path_;
    std::uint64_t rows_ = 0;
    bool ok_ = false;
};

TEST(LongListOnWindows, IsComputedToItsLastRowInFlatMemory) {
    const LongList list;
    ASSERT_TRUE(list.Ok()) << "the list could not be written to " << list.Path();
    ASSERT_GT(std::filesystem::file_size(list.Path()), std::uint64_t{1} << 31);

    std::uint64_t lines = 0;
    std::uint64_t bytes = 0;
    std::string tail;
    const std::size_t peakBefore = PeakWorkingSet();
    const CliOutput output = RunCalculatorCli(
        {"--teraz=2026-12-08T12:00:00", "--lista=" + list.Path()}, [](const std::string&) {},
        [&](std::string_view text) {
            lines += static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
            bytes += text.size();
            tail = std::string(text.substr(text.size() > 200 ? text.size() - 200 : 0));
        });
    const std::size_t peakAfter = PeakWorkingSet();

    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(lines, list.Rows());
    EXPECT_GT(bytes, std::filesystem::file_size(list.Path()));
    EXPECT_TRUE(tail.ends_with("xxxx;10;45,21;45;\r\n")) << tail;
    EXPECT_NE(
        output.err.find("Odczytano " + FormatPolishCount(static_cast<std::int64_t>(list.Rows())) +
                        " wierszy listy"),
        std::string::npos)
        << output.err;
    ASSERT_GT(peakBefore, 0u);
    EXPECT_LT(peakAfter - peakBefore, std::size_t{64} << 20)
        << "peak working set " << peakBefore << " before, " << peakAfter << " after";
    std::printf("%llu rows, %llu bytes: peak working set %.1f MB before the list, %.1f MB after\n",
                static_cast<unsigned long long>(list.Rows()),
                static_cast<unsigned long long>(std::filesystem::file_size(list.Path())),
                static_cast<double>(peakBefore) / 1e6, static_cast<double>(peakAfter) / 1e6);
}

}  // namespace
}  // namespace vistrel::tools
