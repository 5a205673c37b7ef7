// How fast the recognizer tags cells through its real vtable, next to a plain wcsstr loop over
// the same texts, and how long loading the library (its attach) takes. Prints figures only.
//
//   tests/wine/run-in-wine build/win64/tests/server/vistrel_recognize_benchmark.exe
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "tests/support/module_path.h"

#include <initguid.h>  // after the system headers: defines the ids of the headers below
#include "smarttag/smarttag_host.h"
#include "smarttag/vistrel.h"
#include "tests/server/counting_site.h"

namespace vistrel {
namespace {

using test::PathBesideProgram;

class Stopwatch {
public:
    Stopwatch() noexcept {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Seconds() const noexcept {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// A host site that counts the tags and gives no property bags, so that the figures are the
// recognizer's own.
class CountingSite final : public test::NoDispatch<ISmartTagRecognizerSite> {
public:
    long tags = 0;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetNewPropertyBag(ISmartTagProperties** bag) override {
        *bag = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CommitSmartTag(BSTR, int, int, ISmartTagProperties*) override {
        ++tags;
        return S_OK;
    }
};

struct Cell {
    const char* what;
    UniqueBstr text;
    int repetitions;
};

std::vector<Cell> Cells() {
    std::wstring longCell(32767 - 10, L'x');
    longCell += L"Odsetki MF";
    std::vector<Cell> cells;
    cells.push_back(
        {"short, with the term", UniqueBstr(SysAllocString(L"Odsetki MF 2024")), 200000});
    cells.push_back(
        {"short, without", UniqueBstr(SysAllocString(L"Kwota 1234,56 z\u0142")), 200000});
    cells.push_back(
        {"32767 characters, term at the end",
         UniqueBstr(SysAllocStringLen(longCell.data(), static_cast<UINT>(longCell.size()))), 2000});
    return cells;
}

// The same work without COM: every occurrence found with wcsstr.
long PlainSearch(const wchar_t* text) {
    long found = 0;
    for (const wchar_t* at = std::wcsstr(text, L"Odsetki MF"); at != nullptr;
         at = std::wcsstr(at + 1, L"Odsetki MF")) {
        ++found;
    }
    return found;
}

void MeasureLoading(const std::wstring& path) {
    // The first load also maps the system DLLs that the library imports; later ones find them
    // mapped, as in a host that uses them itself, because the program holds them.
    constexpr int kLoads = 20;
    double first = 0;
    double rest = 0;
    UniqueHmodule heldControls;
    UniqueHmodule heldMonikers;
    for (int i = 0; i < kLoads; ++i) {
        const Stopwatch watch;
        const UniqueHmodule module(LoadLibraryW(path.c_str()));
        (i == 0 ? first : rest) += watch.Seconds();
        if (!module) {
            std::printf("cannot load Vistrel.dll (error %lu)\n", GetLastError());
            return;
        }
        if (i == 0) {
            heldControls.reset(LoadLibraryW(L"comctl32.dll"));
            heldMonikers.reset(LoadLibraryW(L"urlmon.dll"));
        }
    }
    std::printf("load (attach): first %.3f ms, then %.3f ms on average over %d loads\n",
                first * 1000, rest / (kLoads - 1) * 1000, kLoads - 1);
}

int Run() {
    const std::wstring path = PathBesideProgram(L"Vistrel.dll");
    MeasureLoading(path);

    const UniqueHmodule module(LoadLibraryW(path.c_str()));
    using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto getClassObject = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "DllGetClassObject")));
    if (getClassObject == nullptr) return 1;
    ComPtr<IClassFactory> factory;
    ComPtr<ISmartTagRecognizer> recognizer;
    if (FAILED(getClassObject(__uuidof(STRecognizer), IID_IClassFactory, factory.put_void())) ||
        FAILED(factory->CreateInstance(nullptr, __uuidof(ISmartTagRecognizer),
                                       recognizer.put_void()))) {
        std::printf("cannot create the recognizer\n");
        return 1;
    }

    std::printf("%-36s %16s %16s\n", "cell", "Recognize/s", "wcsstr/s");
    for (const Cell& cell : Cells()) {
        CountingSite site;
        const Stopwatch recognizing;
        for (int i = 0; i < cell.repetitions; ++i) {
            recognizer->Recognize(cell.text.get(), IF_TYPE_CELL, 0x415, &site);
        }
        const double recognizeSeconds = recognizing.Seconds();
        long found = 0;
        const Stopwatch searching;
        for (int i = 0; i < cell.repetitions; ++i) found += PlainSearch(cell.text.get());
        const double searchSeconds = searching.Seconds();
        std::printf("%-36s %16.0f %16.0f   (tags %ld, found %ld)\n", cell.what,
                    cell.repetitions / recognizeSeconds, cell.repetitions / searchSeconds,
                    site.tags, found);
    }
    return 0;
}

}  // namespace
}  // namespace vistrel

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const int result = vistrel::Run();
    CoUninitialize();
    return result;
}
