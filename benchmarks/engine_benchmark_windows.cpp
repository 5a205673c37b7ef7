// The rate-page parse on Windows: how many times it calls CompareStringW per page and how long a
// page takes, beside a plain single pass over the same page. No thresholds: it prints figures.
// The program counts the calls by pointing its own import of CompareStringW at a counter.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "benchmarks/benchmark_pages.h"

namespace {

using CompareStringWFunction = int(WINAPI*)(LCID, DWORD, PCNZWCH, int, PCNZWCH, int);

CompareStringWFunction systemCompare = nullptr;
unsigned long long compareCalls = 0;

int WINAPI CountingCompareStringW(LCID locale, DWORD flags, PCNZWCH text, int textLength,
                                  PCNZWCH wanted, int wantedLength) {
    ++compareCalls;
    return systemCompare(locale, flags, text, textLength, wanted, wantedLength);
}

// Replaces the program's import address of CompareStringW by the counter's; false when the
// program imports no CompareStringW.
bool CountCompareCalls() {
    auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* const dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* const nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        const auto* name =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++address) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "CompareStringW") != 0)
                continue;
            DWORD protection = 0;
            if (!VirtualProtect(&address->u1.Function, sizeof address->u1.Function, PAGE_READWRITE,
                                &protection)) {
                return false;
            }
            systemCompare = reinterpret_cast<CompareStringWFunction>(address->u1.Function);
            address->u1.Function = reinterpret_cast<ULONG_PTR>(&CountingCompareStringW);
            VirtualProtect(&address->u1.Function, sizeof address->u1.Function, protection,
                           &protection);
            return true;
        }
    }
    return false;
}

// The median time of `runs` calls, in microseconds.
template <typename Work>
double MedianMicroseconds(int runs, Work&& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Measure(const char* name, const std::u16string& page, int runs) {
    vistrel::RateTable table{};
    compareCalls = 0;
    vistrel::ParseRatePage(page, table);
    const unsigned long long calls = compareCalls;
    const double parse = MedianMicroseconds(runs, [&] {
        vistrel::RateTable fresh{};
        vistrel::ParseRatePage(page, fresh);
    });
    volatile std::uint64_t digest = 0;
    const double single =
        MedianMicroseconds(runs, [&] { digest = vistrel::tools::SinglePassDigest(page); });
    std::printf(
        "%-24s %9zu chars %4zu '<'/KiB %9llu CompareStringW calls %11.1f us/page  single pass "
        "%9.1f us  ratio %6.1fx\n",
        name, page.size(),
        vistrel::tools::CountMarkupStarts(page) * 1024 / std::max<std::size_t>(page.size(), 1),
        calls, parse, single, parse / single);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <bundled rate page>\n", argv[0]);
        return 2;
    }
    if (!CountCompareCalls()) {
        std::fprintf(stderr, "the program imports no CompareStringW\n");
        return 1;
    }
    const std::u16string real = vistrel::tools::BundledRatePage(argv[1]);
    std::printf("Medians; the calls are those of one parse.\n");
    Measure("real page", real, 21);
    Measure("200 rows", vistrel::tools::FullRatePage(), 21);
    Measure("10 KB cell-less rows", vistrel::tools::PageWithCelllessRows(real, 10 * 1024), 11);
    Measure("100 KB cell-less rows", vistrel::tools::PageWithCelllessRows(real, 100 * 1024), 11);
    Measure("16 MiB unclosed cells", vistrel::tools::PageOfUnclosedCells(), 3);
    return 0;
}
