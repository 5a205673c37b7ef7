#include "tests/support/dialog_driver.h"

#include <commctrl.h>

#include <array>
#include <utility>
#include <vector>

#include "calculator/calculator_dialog.h"

namespace vistrel::test {
namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kDialogTitle[] = L"Kalkulator odsetek";
constexpr int kMessageTextId = 0xFFFF;

DWORD WINAPI RunDialogThread(void* run) {
    (*static_cast<std::function<void()>*>(run))();
    return 0;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// The dialog window of `thread`, found by its title, once it is shown.
HWND FindShownDialog(DWORD thread) {
    HWND window = FindWindowW(kDialogClass, kDialogTitle);
    if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != thread) return nullptr;
    return IsWindowVisible(window) ? window : nullptr;
}

void PostKey(HWND target, UINT key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

// A point of the window's title bar where the window answers HTCLOSE.
std::optional<POINT> CloseBoxPoint(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int titleHeight = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    for (int y = frame.top; y < frame.top + titleHeight && y < frame.bottom; ++y) {
        for (int x = frame.right - 1; x >= frame.left; --x) {
            const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) return POINT{x - 2, y + 2};
        }
    }
    return std::nullopt;
}

INPUT MouseInput(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    return input;
}

}  // namespace

std::wstring WindowText(HWND window) {
    std::array<wchar_t, 512> text{};
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::wstring ClassName(HWND window) {
    std::array<wchar_t, 256> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

std::optional<MessageBoxView> WaitForMessageBox(std::wstring_view caption) {
    const std::wstring title(caption);
    HWND box = nullptr;
    if (!WaitFor([&] {
            box = FindWindowW(kDialogClass, title.c_str());
            return box != nullptr && IsWindowVisible(box);
        })) {
        return std::nullopt;
    }
    MessageBoxView view;
    view.window = box;
    view.owner = GetWindow(box, GW_OWNER);
    view.text = WindowText(GetDlgItem(box, kMessageTextId));
    for (HWND child : Children(box)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (!(style & WS_VISIBLE)) continue;
        if (ClassName(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            view.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        }
        if (ClassName(child) == L"Button") ++view.buttons;
    }
    return view;
}

bool AnswerMessageBox(HWND box, int button) {
    const HWND control = GetDlgItem(box, button);
    if (control == nullptr || !IsWindowVisible(control)) return false;
    PostMessageW(control, BM_CLICK, 0, 0);
    return true;
}

void DismissMessageBox(HWND box) {
    for (HWND child : Children(box)) {
        if (ClassName(child) == L"Button" && IsWindowVisible(child)) {
            PostMessageW(child, BM_CLICK, 0, 0);
            return;
        }
    }
}

CalculatorDialogSession::CalculatorDialogSession(const RateTable& table)
    : run_([this, &table] { entry_ = RunCalculatorDialog(table); }) {
    Start();
    WaitForDialog();
}

CalculatorDialogSession::CalculatorDialogSession(std::function<void()> run) : run_(std::move(run)) {
    Start();
}

void CalculatorDialogSession::Start() {
    thread_.reset(CreateThread(nullptr, 0, &RunDialogThread, &run_, 0, &threadId_));
}

bool CalculatorDialogSession::WaitForDialog() {
    if (!thread_) return false;
    HWND found = nullptr;
    if (WaitFor([&] { return (found = FindShownDialog(threadId_)) != nullptr; })) window_ = found;
    return window_ != nullptr;
}

CalculatorDialogSession::~CalculatorDialogSession() {
    if (!thread_) return;
    // A test that failed half-way leaves the dialog, perhaps with a message over it.
    for (int attempt = 0; attempt < 3 && IsOpen(); ++attempt) {
        for (HWND child : Children(GetDesktopWindow())) {
            if (GetWindowThreadProcessId(child, nullptr) == threadId_ && child != window_ &&
                ClassName(child) == kDialogClass && IsWindowVisible(child)) {
                DismissMessageBox(child);
            }
        }
        PostMessageW(window_, WM_COMMAND, IDCANCEL, 0);
        WaitUntilClosed();
    }
}

bool CalculatorDialogSession::IsOpen() const noexcept {
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

bool CalculatorDialogSession::WaitUntilClosed() {
    return thread_ && WaitForSingleObject(thread_.get(), static_cast<DWORD>(kPatience.count())) ==
                          WAIT_OBJECT_0;
}

HWND CalculatorDialogSession::Focus() const noexcept {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

bool CalculatorDialogSession::WaitForFocus(int id) const {
    return WaitFor([&] { return Focus() == control(id); });
}

bool CalculatorDialogSession::SetDate(int picker, WORD year, WORD month, WORD day) const {
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    // The picker keeps a weekday with its date; 1601-01-01 was a Monday.
    FILETIME file{};
    SystemTimeToFileTime(&date, &file);
    const ULONGLONG ticks = (ULONGLONG{file.dwHighDateTime} << 32) | file.dwLowDateTime;
    date.wDayOfWeek = static_cast<WORD>((ticks / 864000000000ULL + 1) % 7);
    return SendMessageW(control(picker), DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&date)) != 0;
}

std::optional<SYSTEMTIME> CalculatorDialogSession::Date(int picker) const {
    SYSTEMTIME date{};
    if (SendMessageW(control(picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) !=
        GDT_VALID) {
        return std::nullopt;
    }
    return date;
}

void CalculatorDialogSession::SetAmount(std::wstring_view text) const {
    SetWindowTextW(control(kAmountField), std::wstring(text).c_str());
}

std::wstring CalculatorDialogSession::Amount() const {
    std::vector<wchar_t> text(
        static_cast<std::size_t>(GetWindowTextLengthW(control(kAmountField))) + 1);
    GetWindowTextW(control(kAmountField), text.data(), static_cast<int>(text.size()));
    return text.data();
}

void CalculatorDialogSession::Click(int id) const { PostMessageW(control(id), BM_CLICK, 0, 0); }

void CalculatorDialogSession::PressKeyIn(int id, UINT key) const {
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(id)), TRUE);
    PostKey(control(id), key);
}

void CalculatorDialogSession::PressKey(UINT key) const { PostKey(Focus(), key); }

bool CalculatorDialogSession::ClickCloseBox() const {
    const auto point = CloseBoxPoint(window_);
    if (!point) return false;
    std::array<INPUT, 3> inputs = {MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, *point),
                                   MouseInput(MOUSEEVENTF_LEFTDOWN),
                                   MouseInput(MOUSEEVENTF_LEFTUP)};
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

}  // namespace vistrel::test
