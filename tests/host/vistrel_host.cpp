// vistrel-host: plays the spreadsheet's part for Vistrel through the real interfaces only. It
// finds the recognizer and the action through the smart tag lists in the registry as Office 2003
// and later do, the current user's first, then the computer's (ProgID, class, CoCreateInstance),
// "types" the term into cell C5 and has it recognized, shows the tag and the verbs, runs verb 1 on
// C5 and fills the calculator dialog as a user would (or leaves it to the user with
// --interaktywnie), then prints row 5 from C to G.
//
//   vistrel-host [--interaktywnie] [--katalog=FOLDER] [DUE PAYMENT AMOUNT]
//
// DUE and PAYMENT as YYYY-MM-DD, AMOUNT as typed ("10000,00"). FOLDER receives the picture of
// the filled dialog (okno-kalkulatora.bmp) and row 5 as text (arkusz.txt).
#include <windows.h>
#include <objbase.h>
#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>
#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "tests/host/recognizer_site.h"
#include "tests/host/smart_tag_registry.h"
#include "tests/host/window_picture.h"
#include "tests/host/worksheet.h"
#include "tests/support/dialog_driver.h"

namespace vistrel::host {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kTerm[] = L"Odsetki MF";
constexpr wchar_t kApplication[] = L"Excel.Application.10";
constexpr int kPolish = 1045;
constexpr int kTagRow = 5;
constexpr int kTagColumn = 3;
constexpr int kLastColumn = 7;
constexpr wchar_t kMessageCaption[] = L"Radediv idudaz";

struct Date {
    WORD year;
    WORD month;
    WORD day;
};

struct Options {
    bool interactive = false;
    std::wstring folder = L"out";
    Date due{2022, 3, 15};
    Date payment{2024, 6, 30};
    std::wstring amount = L"10000,00";
};

void Print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::wstring Text(BSTR text) {
    return text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
}

std::optional<Date> ParseDate(const std::wstring& text) {
    unsigned year = 0, month = 0, day = 0;
    wchar_t rest = 0;
    if (std::swscanf(text.c_str(), L"%4u-%2u-%2u%lc", &year, &month, &day, &rest) != 3 ||
        year < 1601 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    return Date{static_cast<WORD>(year), static_cast<WORD>(month), static_cast<WORD>(day)};
}

std::optional<Options> ParseOptions(int argc, wchar_t** argv) {
    Options options;
    std::vector<std::wstring> positional;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--interaktywnie") {
            options.interactive = true;
        } else if (argument.rfind(L"--katalog=", 0) == 0) {
            options.folder = argument.substr(10);
        } else if (argument.rfind(L"--", 0) == 0) {
            Print(L"Nieznana opcja: " + argument + L"\n");
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.empty()) return options;
    if (positional.size() != 3) {
        Print(
            L"Użycie: vistrel-host [--interaktywnie] [--katalog=FOLDER] [TERMIN ZAPŁATA KWOTA]\n");
        return std::nullopt;
    }
    const auto due = ParseDate(positional[0]);
    const auto payment = ParseDate(positional[1]);
    if (!due || !payment) {
        Print(L"Daty podaje się jako RRRR-MM-DD.\n");
        return std::nullopt;
    }
    options.due = *due;
    options.payment = *payment;
    options.amount = positional[2];
    return options;
}

std::wstring DateText(const Date& date) {
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%04u-%02u-%02u", date.year, date.month, date.day);
    return text;
}

template <typename Interface>
ComPtr<Interface> CreateListed(const std::wstring& progId) {
    ComPtr<Interface> object;
    CLSID classId{};
    if (SUCCEEDED(CLSIDFromProgID(progId.c_str(), &classId))) {
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Interface),
                         object.put_void());
    }
    return object;
}

// Shows what the registry lists, where from, and which of its classes COM creates; the ProgIDs
// that work.
std::vector<std::wstring> LoadList(const wchar_t* list, const wchar_t* title, REFIID interfaceId) {
    std::vector<std::wstring> usable;
    Print(std::wstring(title) + L" (HKCU, potem HKLM: " + list + L"):\n");
    for (const auto& [progId, hive] : ListedProgIds(list)) {
        const std::wstring classId = ClassIdText(progId);
        ComPtr<IUnknown> object;
        CLSID id{};
        const HRESULT status = classId.empty()
                                   ? REGDB_E_CLASSNOTREG
                                   : (CLSIDFromProgID(progId.c_str(), &id),
                                      CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER,
                                                       interfaceId, object.put_void()));
        wchar_t statusText[16];
        std::swprintf(statusText, std::size(statusText), L"0x%08lX",
                      static_cast<unsigned long>(status));
        Print(L"  " + progId + L" [" + hive + L"] -> " +
              (classId.empty() ? L"(brak klasy)" : classId) +
              (SUCCEEDED(status) ? L", utworzony\n"
                                 : L", nie utworzony: " + std::wstring(statusText) + L"\n"));
        if (SUCCEEDED(status)) usable.push_back(progId);
    }
    return usable;
}

// Fills the open dialog as a user does, saves its picture and presses OK. False when the dialog
// did not take the entry.
bool FillDialog(test::CalculatorDialogSession& dialog, const Options& options) {
    if (!dialog.SetDate(test::kDueDatePicker, options.due.year, options.due.month,
                        options.due.day) ||
        !dialog.SetDate(test::kPaymentDatePicker, options.payment.year, options.payment.month,
                        options.payment.day)) {
        Print(L"Okno nie przyjęło dat.\n");
        return false;
    }
    dialog.SetAmount(options.amount);
    RedrawWindow(dialog.window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    // The display server draws what the dialog painted a moment later.
    Sleep(500);
    const std::wstring picture = (std::filesystem::path(options.folder) / L"okno-kalkulatora.bmp")
                                     .make_preferred()
                                     .wstring();
    Print(SaveWindowPicture(dialog.window(), picture)
              ? L"Obraz wypełnionego okna: " + picture + L"\n"
              : L"Nie udało się zapisać obrazu okna.\n");
    dialog.Click(IDOK);
    return true;
}

// A message of the library, if one is up: shown, then dismissed as the user would.
bool DismissMessage() {
    const HWND box = FindWindowW(L"#32770", kMessageCaption);
    if (box == nullptr || !IsWindowVisible(box)) return false;
    if (const auto view = test::WaitForMessageBox(kMessageCaption)) {
        Print(L"Komunikat: " + view->text + L"\n");
        test::DismissMessageBox(view->window);
        test::WaitFor([&] { return !IsWindow(view->window); });
    }
    return true;
}

LONGLONG Now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to - from) / static_cast<double>(frequency.QuadPart);
}

// What the host does with the dialog once it is up.
enum class DialogUse { Fill, Cancel };

// Runs verb 1 on C5 on a user-interface thread of its own; prints how long it took from
// InvokeVerb to the dialog on the screen (`pageSource` says where the page came from).
void RunVerbOne(const std::wstring& actionProgId, Worksheet& sheet, const Options& options,
                DialogUse use, const wchar_t* pageSource) {
    HRESULT verbStatus = E_UNEXPECTED;
    std::atomic<LONGLONG> invokedAt{0};
    test::CalculatorDialogSession run([&] {
        // The spreadsheet's user-interface thread: its own apartment, the action created there.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            const ComPtr<ISmartTagAction> action = CreateListed<ISmartTagAction>(actionProgId);
            const ComPtr<IDispatch> cell =
                ComPtr<IDispatch>::Attach(sheet.Range(kTagRow, kTagColumn));
            const UniqueBstr text(SysAllocString(kTerm));
            const UniqueBstr application(SysAllocString(kApplication));
            if (action) {
                invokedAt = Now();
                verbStatus = action->InvokeVerb(1, application.get(), cell.get(), nullptr,
                                                text.get(), nullptr);
            }
        }
        CoUninitialize();
    });
    if (options.interactive) {
        Print(L"Okno kalkulatora czeka na użytkownika.\n");
        while (run.IsOpen()) Sleep(100);
    } else {
        bool filled = false;
        // The fetch comes first: then the dialog, or a message, or the end of the run.
        while (run.IsOpen()) {
            if (DismissMessage()) continue;
            if (!filled &&
                test::WaitFor([&] { return run.WaitForDialog() || !run.IsOpen(); }, 200ms) &&
                run.opened()) {
                const LONGLONG shownAt = Now();
                filled = true;
                wchar_t figure[96];
                std::swprintf(figure, std::size(figure),
                              L"Od InvokeVerb do widocznego okna: %.0f ms (%ls)\n",
                              Milliseconds(invokedAt, shownAt), pageSource);
                Print(figure);
                if (use == DialogUse::Cancel) {
                    run.Click(IDCANCEL);
                } else if (!FillDialog(run, options)) {
                    break;
                }
            }
            Sleep(50);
        }
    }
    run.WaitUntilClosed();
    wchar_t statusText[16];
    std::swprintf(statusText, std::size(statusText), L"0x%08lX",
                  static_cast<unsigned long>(verbStatus));
    Print(L"InvokeVerb(1) zwrócił " + std::wstring(statusText) + L"\n");
}

std::wstring Padded(const std::wstring& text, std::size_t width) {
    return text.size() >= width ? text : text + std::wstring(width - text.size(), L' ');
}

// Row 5 from C to G as a small table, printed and kept in the folder.
void ShowRow(const Worksheet& sheet, const Options& options) {
    std::vector<std::size_t> widths;
    for (int column = kTagColumn; column <= kLastColumn; ++column) {
        widths.push_back(std::max<std::size_t>(sheet.Value(kTagRow, column).size(), 10));
    }
    std::wstring table = L"|    ";
    for (int column = kTagColumn; column <= kLastColumn; ++column) {
        table +=
            L"| " +
            Padded(Worksheet::CellName(kTagRow, column).substr(0, 1), widths[column - kTagColumn]) +
            L" ";
    }
    table += L"|\n| " + std::to_wstring(kTagRow) + L"  ";
    for (int column = kTagColumn; column <= kLastColumn; ++column) {
        table += L"| " + Padded(sheet.Value(kTagRow, column), widths[column - kTagColumn]) + L" ";
    }
    table += L"|\n";
    Print(L"\nArkusz, wiersz 5 (C5:G5):\n" + table);
    std::ofstream out(std::filesystem::path(options.folder) / L"arkusz.txt", std::ios::binary);
    const int size = WideCharToMultiByte(CP_UTF8, 0, table.data(), static_cast<int>(table.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, table.data(), static_cast<int>(table.size()), bytes.data(),
                        size, nullptr, nullptr);
    out << bytes;
}

int Run(const Options& options) {
    std::filesystem::create_directories(std::filesystem::path(options.folder));
    const std::vector<std::wstring> recognizers =
        LoadList(kRecognizersKey, L"Rozpoznawacze", __uuidof(ISmartTagRecognizer));
    const std::vector<std::wstring> actions =
        LoadList(kActionsKey, L"Akcje", __uuidof(ISmartTagAction));
    if (recognizers.empty() || actions.empty()) {
        Print(
            L"Brak zarejestrowanych znaczników inteligentnych: produkt nie jest zainstalowany.\n");
        return 1;
    }

    Worksheet sheet;
    sheet.Put(kTagRow, kTagColumn, kTerm);
    Print(L"\nWpisano do C5: \"" + std::wstring(kTerm) + L"\"\n");
    std::vector<CommittedTag> tags;
    for (const std::wstring& progId : recognizers) {
        const ComPtr<ISmartTagRecognizer> recognizer = CreateListed<ISmartTagRecognizer>(progId);
        if (!recognizer) continue;
        const ComPtr<RecognizerSite> site = ComPtr<RecognizerSite>::Attach(new RecognizerSite);
        const UniqueBstr text(SysAllocString(kTerm));
        recognizer->Recognize(text.get(), IF_TYPE_CELL, kPolish, site.get());
        for (const CommittedTag& tag : site->tags) {
            Print(L"Znacznik od " + progId + L": typ " + tag.type + L", początek " +
                  std::to_wstring(tag.start) + L", długość " + std::to_wstring(tag.length) + L"\n");
            for (const auto& [key, value] : tag.properties)
                Print(L"  " + key + L" = " + value + L"\n");
            tags.push_back(tag);
        }
    }
    if (tags.empty()) {
        Print(L"Żaden rozpoznawacz nie oznaczył komórki.\n");
        return 1;
    }

    // The action that names the tag's type offers the menu.
    std::wstring actionProgId;
    for (const std::wstring& progId : actions) {
        const ComPtr<ISmartTagAction> action = CreateListed<ISmartTagAction>(progId);
        if (!action) continue;
        int types = 0;
        action->get_SmartTagCount(&types);
        for (int type = 1; type <= types; ++type) {
            BSTR name = nullptr;
            action->get_SmartTagName(type, &name);
            const UniqueBstr owned(name);
            if (Text(name) != tags.front().type) continue;
            BSTR caption = nullptr;
            action->get_SmartTagCaption(type, kPolish, &caption);
            const UniqueBstr ownedCaption(caption);
            Print(L"\nMenu znacznika \"" + Text(caption) + L"\" (" + progId + L"):\n");
            int verbs = 0;
            action->get_VerbCount(name, &verbs);
            for (int index = 1; index <= verbs; ++index) {
                int verb = 0;
                action->get_VerbID(name, index, &verb);
                BSTR verbCaption = nullptr;
                const UniqueBstr application(SysAllocString(kApplication));
                action->get_VerbCaptionFromID(verb, application.get(), kPolish, &verbCaption);
                const UniqueBstr ownedVerb(verbCaption);
                Print(L"  " + std::to_wstring(verb) + L". " + Text(verbCaption) + L"\n");
            }
            if (actionProgId.empty()) actionProgId = progId;
        }
    }
    if (actionProgId.empty()) {
        Print(L"Żadna akcja nie obsługuje typu znacznika.\n");
        return 1;
    }

    if (options.interactive) {
        Print(L"\nCzasownik 1 na C5: daty i kwotę wpisuje użytkownik\n");
    } else {
        Print(L"\nCzasownik 1 na C5: termin " + DateText(options.due) + L", zapłata " +
              DateText(options.payment) + L", kwota " + options.amount + L"\n");
    }
    RunVerbOne(actionProgId, sheet, options, DialogUse::Fill, L"strona pobrana z serwera");
    if (!options.interactive) {
        // Once more with the page the library now holds; cancelled, so the row stays as written.
        Print(L"\nCzasownik 1 na C5 jeszcze raz, anulowany:\n");
        RunVerbOne(actionProgId, sheet, options, DialogUse::Cancel, L"strona trzymana w pamięci");
    }
    ShowRow(sheet, options);
    return sheet.Value(kTagRow, kLastColumn).empty() ? 1 : 0;
}

}  // namespace
}  // namespace vistrel::host

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    const auto options = vistrel::host::ParseOptions(argc, argv);
    if (!options) return 2;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const int status = vistrel::host::Run(*options);
    CoUninitialize();
    return status;
}
