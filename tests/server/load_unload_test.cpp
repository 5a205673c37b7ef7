// The library loaded, used and released again and again in one process, as a host that drops
// idle servers does: no call fails, the library stays mapped once loaded (its runtime would
// otherwise take a thread-local-storage slot per load, and a long run would exhaust them), and
// what the process holds does not grow with the number of cycles.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/server/counting_site.h"
#include "tests/support/module_path.h"
#include "tests/server/vistrel_dll.h"

namespace vistrel {
namespace {

// Enough cycles to exhaust the system's thread-local-storage slots (1088) if each load took one.
constexpr int kCycles = 2000;
constexpr int kRecognitionsPerCycle = 1000;

// What the process holds: open handles and private (committed, unshared) memory.
struct ProcessUsage {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

// The handle table as the system lists it, for this process. Wine answers GetProcessHandleCount
// with 0, which no real process holds; the system's list is exact on both.
DWORD HandlesFromTheSystemList() {
    using QuerySystemInformation = LONG(NTAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return 0;
    struct HandleEntry {
        ULONG ownerProcessId;
        BYTE objectType;
        BYTE flags;
        USHORT handle;
        void* object;
        ACCESS_MASK access;
    };
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        if (buffer.size() >= (1u << 26)) return 0;
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD ours = 0;
    for (ULONG i = 0; i < count; ++i) {
        if (entries[i].ownerProcessId == GetCurrentProcessId()) ++ours;
    }
    return ours;
}

// Committed private memory, region by region: what PrivateUsage counts, which Wine leaves at 0.
SIZE_T PrivateCommittedBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return total;
}

ProcessUsage CurrentUsage() {
    ProcessUsage usage;
    EXPECT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &usage.handles));
    if (usage.handles == 0) usage.handles = HandlesFromTheSystemList();
    EXPECT_GT(usage.handles, 0u) << "no way to count the process's handles";
    usage.privateBytes = PrivateCommittedBytes();
    EXPECT_GT(usage.privateBytes, 0u);
    return usage;
}

void Print(const char* when, const ProcessUsage& usage) {
    std::printf("%-28s %6lu handles %10zu bytes private\n", when,
                static_cast<unsigned long>(usage.handles), static_cast<size_t>(usage.privateBytes));
}

// The calls of one cycle that did not give the answer they should.
struct CycleFailures {
    int loads = 0;
    int creations = 0;
    int recognitions = 0;
    int unloadAnswers = 0;
    int unmapped = 0;
    int heldReferences = 0;

    int Total() const {
        return loads + creations + recognitions + unloadAnswers + unmapped + heldReferences;
    }
};

// Loads the library, makes an instance of each class, tags the same cell `recognitions` times,
// releases everything and frees the library, which stays mapped.
void RunOneCycle(int recognitions, BSTR cell, CycleFailures& failures) {
    {
        test::VistrelDll dll;
        if (!dll) {
            ++failures.loads;
            return;
        }
        ComPtr<ISmartTagAction> action;
        ComPtr<ISmartTagRecognizer> recognizer;
        {
            ComPtr<IClassFactory> actionClass;
            ComPtr<IClassFactory> recognizerClass;
            if (dll.GetClassObject(__uuidof(STAction), IID_IClassFactory, actionClass.put_void()) !=
                    S_OK ||
                dll.GetClassObject(__uuidof(STRecognizer), IID_IClassFactory,
                                   recognizerClass.put_void()) != S_OK ||
                actionClass->CreateInstance(nullptr, __uuidof(ISmartTagAction),
                                            action.put_void()) != S_OK ||
                recognizerClass->CreateInstance(nullptr, __uuidof(ISmartTagRecognizer),
                                                recognizer.put_void()) != S_OK) {
                ++failures.creations;
                return;
            }
        }
        test::CountingSite site;
        for (int i = 0; i < recognitions; ++i) {
            if (recognizer->Recognize(cell, IF_TYPE_CELL, 0x415, &site) != S_OK) {
                ++failures.recognitions;
            }
        }
        if (site.tags != recognitions || site.bag.writes != recognitions ||
            site.bag.references != 0 || site.references != 0) {
            ++failures.heldReferences;
        }
        if (dll.CanUnloadNow() != S_FALSE) ++failures.unloadAnswers;
        action.reset();
        recognizer.reset();
        if (dll.CanUnloadNow() != S_OK) ++failures.unloadAnswers;
    }
    if (GetModuleHandleW(L"Vistrel.dll") == nullptr) ++failures.unmapped;
}

// Runs before the cycles below (the order the cases are written in): until a class object is
// asked for, the library is freed as any other, so that a process that only registers or
// unregisters it (regsvr32, the installer) lets its file be replaced or removed.
TEST(LoadAndUnload, FreedLikeAnyLibraryUntilAskedForAClassObject) {
    ASSERT_EQ(GetModuleHandleW(L"Vistrel.dll"), nullptr);
    {
        test::VistrelDll dll;
        ASSERT_TRUE(dll);
        EXPECT_EQ(dll.CanUnloadNow(), S_OK);
    }
    EXPECT_EQ(GetModuleHandleW(L"Vistrel.dll"), nullptr);
}

void RunCycles(int cycles, BSTR cell, CycleFailures& failures) {
    for (int cycle = 0; cycle < cycles && failures.Total() == 0; ++cycle) {
        RunOneCycle(kRecognitionsPerCycle, cell, failures);
    }
}

TEST(LoadAndUnload, TwoThousandCyclesFailNothingAndGrowNothing) {
    test::ComApartment apartment;
    const UniqueBstr cell(SysAllocString(L"Kwota: Odsetki MF"));
    ASSERT_TRUE(cell);
    Print("before the first load", CurrentUsage());

    // The first cycles leave behind what the process keeps once and for all: the system
    // libraries that the library's imports pull in, the library itself, the heap grown to its
    // working size and the COM runtime's per-apartment state. Growth is measured from there,
    // over two equal runs of cycles: a leak shows as growth in both that rises with the count.
    constexpr int kSettling = 100;
    constexpr int kHalf = (kCycles - kSettling) / 2;
    CycleFailures failures;
    RunCycles(kSettling, cell.get(), failures);
    const ProcessUsage settled = CurrentUsage();
    Print("after 100 cycles", settled);
    RunCycles(kHalf, cell.get(), failures);
    const ProcessUsage middle = CurrentUsage();
    Print("after 1050 cycles", middle);
    RunCycles(kHalf, cell.get(), failures);
    const ProcessUsage end = CurrentUsage();
    Print("after 2000 cycles", end);

    EXPECT_EQ(failures.loads, 0);
    EXPECT_EQ(failures.creations, 0);
    EXPECT_EQ(failures.recognitions, 0);
    EXPECT_EQ(failures.unloadAnswers, 0);
    EXPECT_EQ(failures.unmapped, 0);
    EXPECT_EQ(failures.heldReferences, 0);
    // A handle kept per cycle would be 950 more in each half.
    EXPECT_LE(end.handles, middle.handles + 2);
    EXPECT_LE(middle.handles, settled.handles + 2);
    // One small block kept per cycle (an instance, a class object, a copied string: 64 bytes and
    // more) is over 60 KiB a half; the allowance is one step of the heap's growth, 64 KiB, in
    // each half, which a leak rising with the count would pass twice.
    constexpr SIZE_T kHeapStep = 64 * 1024;
    const auto grown = [](SIZE_T from, SIZE_T to) { return to > from ? to - from : 0; };
    EXPECT_LE(grown(middle.privateBytes, end.privateBytes), kHeapStep);
    EXPECT_LE(grown(settled.privateBytes, middle.privateBytes) +
                  grown(middle.privateBytes, end.privateBytes),
              kHeapStep);
}

}  // namespace
}  // namespace vistrel
