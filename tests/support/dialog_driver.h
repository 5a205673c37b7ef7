// Drives the calculator dialog from outside, the way a user does: the dialog runs its modal
// loop on its own thread, and the test finds its window by title, fills the controls and
// presses buttons and keys, and reads and dismisses the message boxes that come up.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calculator/calculator_dialog.h"
#include "platform/unique_resource.h"

namespace vistrel::test {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds kPatience = 10s;

// The dialog's controls, by the numbers its template gives them.
inline constexpr int kDueDatePicker = 203;
inline constexpr int kPaymentDatePicker = 205;
inline constexpr int kAmountField = 201;

// Polls `condition` until it holds or `timeout` has passed; the last answer.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        Sleep(10);
    }
    return true;
}

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// A message box as the user sees it.
struct MessageBoxView {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::wstring text;     // the static control 0xFFFF
    HICON icon = nullptr;  // the icon shown, nullptr without one
    int buttons = 0;       // visible push buttons
};

// The message box with the given caption, once it is up; nullopt when none comes.
std::optional<MessageBoxView> WaitForMessageBox(std::wstring_view caption);

// Presses the message box's button.
void DismissMessageBox(HWND box);

// Presses the message box's button with the given id (IDYES, IDNO...); false without one.
bool AnswerMessageBox(HWND box, int button);

// The dialog "Kalkulator odsetek", opened by RunCalculatorDialog on a thread of its own. Ending
// the object cancels the dialog when a test has left it open, after dismissing its messages.
class CalculatorDialogSession {
public:
    // Opens the dialog over `table`, which must outlive the object, and waits for it.
    explicit CalculatorDialogSession(const RateTable& table);
    // Runs `run` on the thread instead, for a caller of the dialog that may open it or end
    // before; returns at once: WaitForDialog() waits for the dialog.
    explicit CalculatorDialogSession(std::function<void()> run);
    ~CalculatorDialogSession();
    CalculatorDialogSession(const CalculatorDialogSession&) = delete;
    CalculatorDialogSession& operator=(const CalculatorDialogSession&) = delete;

    // Whether the dialog came up, visible, within the patience.
    bool opened() const noexcept { return window_ != nullptr; }
    HWND window() const noexcept { return window_; }
    HWND control(int id) const noexcept { return GetDlgItem(window_, id); }
    // Whether the thread still runs (the dialog, or whatever `run` does).
    bool IsOpen() const noexcept;
    // Waits for the dialog of the thread to come up, visible; false when none came.
    bool WaitForDialog();
    // Waits for the dialog's modal loop to end; false when it is still running.
    bool WaitUntilClosed();
    // What the dialog opened over a table returned; read once WaitUntilClosed() has said true.
    const std::optional<ConfirmedEntry>& Entry() const noexcept { return entry_; }

    // The window that has the keyboard focus on the dialog's thread.
    HWND Focus() const noexcept;
    bool WaitForFocus(int id) const;

    bool SetDate(int picker, WORD year, WORD month, WORD day) const;
    std::optional<SYSTEMTIME> Date(int picker) const;
    void SetAmount(std::wstring_view text) const;
    std::wstring Amount() const;

    // A click on the button, delivered through the dialog's message loop.
    void Click(int id) const;
    // Moves the focus to the control, as a click into it would, then presses the key there.
    void PressKeyIn(int id, UINT key) const;
    // Presses the key in whatever control has the focus.
    void PressKey(UINT key) const;
    // A mouse click on the close box of the title bar; false when no close box was found.
    bool ClickCloseBox() const;

private:
    void Start();

    std::optional<ConfirmedEntry> entry_;
    std::function<void()> run_;
    UniqueHandle thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace vistrel::test
