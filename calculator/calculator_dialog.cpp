#include "calculator/calculator_dialog.h"

#include <commctrl.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "calculator/calculator_dialog_ids.h"
#include "calculator/calculator_entry.h"
#include "calculator/known_interest.h"
#include "calculator/message_texts.h"
#include "engine/clock.h"
#include "platform/module_instance.h"

namespace vistrel {
namespace {

void LimitDateRange(HWND dialog, int picker) noexcept {
    SYSTEMTIME range[2] = {PickerDate(EarliestEntryDate), PickerDate(LatestEntryDate)};
    SendDlgItemMessageW(dialog, picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX,
                        reinterpret_cast<LPARAM>(range));
}

void InitialiseDialog(HWND dialog) noexcept {
    SetDlgItemTextW(dialog, IDC_AMOUNT, L"0.0");
    LimitDateRange(dialog, IDC_DUE_DATE);
    LimitDateRange(dialog, IDC_PAYMENT_DATE);
}

// The dialog on screen, for a second run of the calculator to bring to the front.
std::atomic<HWND> openDialog{nullptr};

// One run of the dialog: the table it calculates over and, once confirmed, the entry. It lives
// on the stack of RunCalculatorDialog and is handed to the dialog as its creation parameter.
struct DialogRun {
    const RateTable& table;
    std::optional<ConfirmedEntry> entry;
};

// The run the dialog was opened for, kept with the window from WM_INITDIALOG on; nullptr before.
DialogRun* RunOf(HWND dialog) noexcept {
    return reinterpret_cast<DialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

SYSTEMTIME PickedDate(HWND dialog, int picker) noexcept {
    // Without DTS_SHOWNONE a picker always holds a date; the status tells nothing more.
    SYSTEMTIME date{};
    SendDlgItemMessageW(dialog, picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    return date;
}

EnteredDate AsEntered(const SYSTEMTIME& date) noexcept {
    return {date.wYear, date.wMonth, date.wDay};
}

// The dialog stays open with the entered values; the user corrects the control named.
void RefuseEntry(HWND dialog, const wchar_t* text, int control) noexcept {
    MessageBoxW(nullptr, text, kMessageCaption, MB_OK | MB_ICONINFORMATION);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, control)),
                 TRUE);
}

void ConfirmEntry(HWND dialog, DialogRun& run) {
    const std::int32_t now = CurrentTime();
    const SYSTEMTIME dueDate = PickedDate(dialog, IDC_DUE_DATE);
    const SYSTEMTIME paymentDate = PickedDate(dialog, IDC_PAYMENT_DATE);
    const auto dueInstant = DayAfterInstant(dueDate, now);
    const auto paymentInstant = DayAfterInstant(paymentDate, now);
    std::array<wchar_t, AmountTextCapacity> amountText{};
    GetDlgItemTextW(dialog, IDC_AMOUNT, amountText.data(), static_cast<int>(amountText.size()));
    // A text longer than the buffer is no amount: cut short, "…012" would read as "…01".
    const bool amountTooLong =
        static_cast<std::size_t>(GetWindowTextLengthW(GetDlgItem(dialog, IDC_AMOUNT))) >=
        AmountTextCapacity;
    const EnteredAmount amount = amountTooLong ? EnteredAmount{} : ReadAmount(amountText.data());

    const EntryCheck check = CheckEntry(dueInstant, paymentInstant);
    if (check == EntryCheck::DueDateUnusable || check == EntryCheck::PaymentDateUnusable) {
        RefuseEntry(dialog, kDateOutOfRangeMessage,
                    check == EntryCheck::DueDateUnusable ? IDC_DUE_DATE : IDC_PAYMENT_DATE);
        return;
    }
    if (amount.problem != AmountProblem::None) {
        // No amount either: "1 234,56" read as 1, or "abc" as 0, would be a wrong result.
        RefuseEntry(dialog, kInvalidAmountMessage, IDC_AMOUNT);
        return;
    }
    if (check == EntryCheck::DueAfterPayment) {
        RefuseEntry(dialog, kDueAfterPaymentMessage, IDC_DUE_DATE);
        return;
    }
    // Without a rate for the first day of the delay, 0.0 would read as "nothing is owed"; without
    // one for some days, the figure would leave those days out.
    const KnownInterest interest =
        InterestIfRatesKnown(run.table, *dueInstant, *paymentInstant, amount.value);
    if (interest.rates == KnownInterest::Rates::NoneForDueDate) {
        RefuseEntry(dialog, kNoRateForDueDateMessage, IDC_DUE_DATE);
        return;
    }
    if (interest.rates == KnownInterest::Rates::MissingForSomeDays) {
        RefuseEntry(dialog, kUncoveredDelayMessage, IDC_DUE_DATE);
        return;
    }
    run.entry =
        ConfirmedEntry{AsEntered(dueDate), AsEntered(paymentDate), amount.value, interest.interest};
    EndDialog(dialog, IDOK);
}

// The dialog procedure: `lParam` of WM_INITDIALOG is the DialogRun.
INT_PTR CALLBACK CalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept {
    try {
        switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            InitialiseDialog(dialog);
            openDialog = dialog;
            return TRUE;  // the system focuses the first tab stop, OK
        case WM_DESTROY: {
            HWND self = dialog;
            openDialog.compare_exchange_strong(self, nullptr);
            return FALSE;
        }
        case WM_COMMAND: {
            DialogRun* run = RunOf(dialog);
            if (run == nullptr) return FALSE;
            // wParam as a whole: a click, Enter and Escape carry BN_CLICKED (0) in the high word.
            if (wParam == IDOK) {
                ConfirmEntry(dialog, *run);
                return TRUE;
            }
            if (wParam == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default: return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into the system's dialog code; the dialog stays open as it was.
        return TRUE;
    }
}

}  // namespace

HWND OpenCalculatorDialog() noexcept { return openDialog; }

bool RegisterDatePickerClass() noexcept {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
}

std::optional<ConfirmedEntry> RunCalculatorDialog(const RateTable& table) noexcept {
    // A dialog that never opened (-1) confirmed nothing, like one cancelled: no entry.
    DialogRun run{table, std::nullopt};
    DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_CALCULATOR), nullptr,
                    &CalculatorDialogProc, reinterpret_cast<LPARAM>(&run));
    return run.entry;
}

}  // namespace vistrel
