// The calculator dialog in a real window, driven as a user drives it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "calculator/calculator_dialog.h"
#include "engine/clock.h"
#include "engine/interest.h"
#include "platform/module_instance.h"
#include "tests/support/dialog_driver.h"

namespace vistrel {
namespace {

using test::CalculatorDialogSession;
using test::kAmountField;
using test::kDueDatePicker;
using test::kPaymentDatePicker;

constexpr wchar_t kCaption[] = L"Radediv idudaz";
constexpr std::int32_t kDay = 86400;

// "Now" for every test: the dialog takes the daylight-saving flag of this moment, so a run
// across midnight or a daylight-saving switch sees one flag throughout.
constexpr std::int32_t kNow = 1705316400;  // 2024-01-15 12:00 CET

// The dialog's instant for a date: local midnight after it, the present daylight-saving flag.
std::int32_t DayAfter(int year, int month, int day) {
    const std::time_t now = kNow;
    std::tm calendar{};
    calendar.tm_isdst = std::localtime(&now)->tm_isdst;
    calendar.tm_year = year - 1900;
    calendar.tm_mon = month - 1;
    calendar.tm_mday = day;
    return static_cast<std::int32_t>(std::mktime(&calendar)) + kDay;
}

std::int32_t Midnight(int year, int month, int day) { return DayAfter(year, month, day) - kDay; }

// 36.5% a year from March 2024, 73% a year in January and February: a day's interest on 1000
// is 1.0 in the newer period and 2.0 in the older one.
RateTable KnownTable() {
    RateTable table{};
    table[0] = {Midnight(2024, 3, 1), Midnight(2024, 6, 1), RateKind::Annual, 36.5};
    table[1] = {Midnight(2024, 1, 1), Midnight(2024, 3, 1), RateKind::Annual, 73.0};
    return table;
}

// One period at no interest over every instant: the entry is accepted with the interest 0.0.
RateTable FreeOfInterestTable() {
    RateTable table{};
    table[0] = {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
                RateKind::Annual, 0.0};
    return table;
}

// The entry the dialog returned, field by field.
void ExpectEntry(const std::optional<ConfirmedEntry>& entry, EnteredDate due, EnteredDate payment,
                 double amount, double interest) {
    ASSERT_TRUE(entry.has_value()) << "no entry returned";
    EXPECT_TRUE(entry->dueDate == due);
    EXPECT_TRUE(entry->paymentDate == payment);
    EXPECT_EQ(entry->amount, amount);
    EXPECT_EQ(entry->interest, interest);
}

EnteredDate Picked(const SYSTEMTIME& date) { return {date.wYear, date.wMonth, date.wDay}; }

void ExpectDate(const std::optional<SYSTEMTIME>& date, WORD year, WORD month, WORD day) {
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->wYear, year);
    EXPECT_EQ(date->wMonth, month);
    EXPECT_EQ(date->wDay, day);
}

class CalculatorDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SetModuleInstance(GetModuleHandleW(nullptr));
        ASSERT_TRUE(RegisterDatePickerClass());
    }

    PinnedClock clock_{kNow};
    // The table a session of the test opens the dialog over.
    RateTable table_ = FreeOfInterestTable();

    // Expects the information box with `text`, presses its button and waits until it is gone.
    static void ExpectAndDismissMessage(const wchar_t* text) {
        const auto box = test::WaitForMessageBox(kCaption);
        ASSERT_TRUE(box.has_value()) << "no message box";
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->owner, nullptr);
        EXPECT_EQ(box->icon, LoadIconW(nullptr, MAKEINTRESOURCEW(32516) /* IDI_INFORMATION */));
        EXPECT_EQ(box->buttons, 1);
        test::DismissMessageBox(box->window);
        EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(box->window); }));
    }
};

TEST_F(CalculatorDialogTest, OpensCentredWithAmountZeroTodayInBothPickersAndFocusOnOk) {
    // The pickers show the system's today, whatever the engine's clock says; a run across
    // midnight may see either day.
    SYSTEMTIME before{};
    GetLocalTime(&before);
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    const auto due = dialog.Date(kDueDatePicker);
    const auto payment = dialog.Date(kPaymentDatePicker);
    SYSTEMTIME after{};
    GetLocalTime(&after);
    const SYSTEMTIME& today = due.has_value() && due->wDay == after.wDay ? after : before;

    EXPECT_EQ(test::WindowText(dialog.window()), L"Kalkulator odsetek");
    EXPECT_EQ(GetWindow(dialog.window(), GW_OWNER), nullptr);
    EXPECT_EQ(dialog.Amount(), L"0.0");
    ExpectDate(due, today.wYear, today.wMonth, today.wDay);
    ExpectDate(payment, today.wYear, today.wMonth, today.wDay);
    EXPECT_TRUE(dialog.WaitForFocus(IDOK));

    RECT frame{};
    RECT workArea{};
    GetWindowRect(dialog.window(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_NEAR(frame.left + frame.right, workArea.left + workArea.right, 2);
    EXPECT_NEAR(frame.top + frame.bottom, workArea.top + workArea.bottom, 2);

    // The controls in the template's order, which is the z-order and the tab order.
    const std::pair<int, const wchar_t*> kChildren[] = {
        {IDOK, L"Button"},
        {IDCANCEL, L"Button"},
        {kDueDatePicker, L"SysDateTimePick32"},
        {-1, L"Button"},
        {-1, L"Static"},
        {-1, L"Static"},
        {-1, L"Static"},
        {kPaymentDatePicker, L"SysDateTimePick32"},
        {kAmountField, L"Edit"},
    };
    HWND child = GetWindow(dialog.window(), GW_CHILD);
    int position = 0;
    for (const auto& [id, className] : kChildren) {
        SCOPED_TRACE(testing::Message() << "control " << ++position);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(test::ClassName(child), className);
        if (id != -1) {
            EXPECT_EQ(GetDlgCtrlID(child), id);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

TEST_F(CalculatorDialogTest, OkAtOnceCalculatesTodayWithAmountZero) {
    const RateTable table = KnownTable();
    table_ = table;
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    // What the pickers show, not the clock: a run across midnight may see either day.
    const auto due = dialog.Date(kDueDatePicker);
    const auto payment = dialog.Date(kPaymentDatePicker);
    ASSERT_TRUE(due.has_value() && payment.has_value());

    dialog.Click(IDOK);

    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    ExpectEntry(dialog.Entry(), Picked(*due), Picked(*payment), 0.0, 0.0);
}

struct AmountCase {
    const char* name;
    std::wstring text;
    std::optional<double> expected;  // nullopt: refused
};

// The engine's table holds every form; these are the dialog's own way to them and back.
const AmountCase kAmountCases[] = {
    {"GroupedWithDecimalComma", L"1 234,56", 1234.56},
    {"DecimalPoint", L"2500.50", 2500.5},
    {"NotANumber", L"abc", std::nullopt},
    {"Negative", L"-5", std::nullopt},
    {"PointAsThousands", L"10.000", std::nullopt},
    // Longer than the 79 characters read: refused, not read as "00…01".
    {"EightyCharacters", std::wstring(78, L'0') + L"12", std::nullopt},
};

TEST_F(CalculatorDialogTest, AnAmountNotWrittenAsZlotyIsRefusedWithTheFocusOnIt) {
    for (const AmountCase& c : kAmountCases) {
        SCOPED_TRACE(c.name);
        CalculatorDialogSession dialog{table_};
        ASSERT_TRUE(dialog.opened());
        dialog.SetAmount(c.text);
        ASSERT_EQ(dialog.Amount(), c.text);  // the field itself has no limit

        dialog.Click(IDOK);

        if (c.expected) {
            ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
            ASSERT_TRUE(dialog.Entry().has_value());
            EXPECT_EQ(dialog.Entry()->amount, *c.expected);
            continue;
        }
        ExpectAndDismissMessage(L"Nieprawidłowa kwota: wpisz liczbę złotych, np. 1 234,56.");
        EXPECT_TRUE(dialog.WaitForFocus(kAmountField));
        EXPECT_TRUE(dialog.IsOpen());
        EXPECT_EQ(dialog.Amount(), c.text);
        dialog.Click(IDCANCEL);
        ASSERT_TRUE(dialog.WaitUntilClosed());
        EXPECT_FALSE(dialog.Entry().has_value()) << "a refused entry is not returned";
    }
}

// The periods leave February 21 to 29 without a rate: a delay across them is refused, since the
// figure would leave those days out; one within the newer period is calculated (8 days at 1.0).
TEST_F(CalculatorDialogTest, ADelayWithDaysWithoutARateIsRefusedUntilCorrected) {
    RateTable table = KnownTable();
    table[1].end = Midnight(2024, 2, 21);
    table_ = table;
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 2024, 2, 10));
    ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, 2024, 3, 10));
    dialog.SetAmount(L"1000");

    dialog.Click(IDOK);

    ExpectAndDismissMessage(L"Brak stopy odsetek dla części okresu zwłoki!");
    EXPECT_TRUE(dialog.WaitForFocus(kDueDatePicker));
    EXPECT_TRUE(dialog.IsOpen());

    ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 2024, 3, 2));
    dialog.Click(IDOK);
    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    ASSERT_TRUE(dialog.Entry().has_value());
    EXPECT_NEAR(dialog.Entry()->interest, 8.0, 1e-9);
}

TEST_F(CalculatorDialogTest, DueDateAfterPaymentDateIsRefusedAndTheDialogStaysOpen) {
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 2024, 3, 2));
    ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, 2024, 3, 1));
    dialog.SetAmount(L"12,5");

    dialog.Click(IDOK);

    ExpectAndDismissMessage(L"Data Należności późniejsza od Daty Zapłaty!");
    // Wine difference: after an owner-less message box closes, Wine may keep it active for a
    // moment before the dialog gets the focus back; on Windows it is there at once.
    EXPECT_TRUE(dialog.WaitForFocus(kDueDatePicker));
    EXPECT_TRUE(dialog.IsOpen());
    ExpectDate(dialog.Date(kDueDatePicker), 2024, 3, 2);
    ExpectDate(dialog.Date(kPaymentDatePicker), 2024, 3, 1);
    EXPECT_EQ(dialog.Amount(), L"12,5");

    // Corrected, the same dialog accepts the entry.
    ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, 2024, 3, 2));
    dialog.Click(IDOK);
    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    ExpectEntry(dialog.Entry(), {2024, 3, 2}, {2024, 3, 2}, 12.5, 0.0);
}

TEST_F(CalculatorDialogTest, EqualDatesAreCalculatedWithoutAMessage) {
    const RateTable table = KnownTable();
    table_ = table;
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 2024, 3, 5));
    ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, 2024, 3, 5));
    dialog.SetAmount(L"1000");

    dialog.Click(IDOK);

    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    const std::int32_t instant = DayAfter(2024, 3, 5);
    ExpectEntry(dialog.Entry(), {2024, 3, 5}, {2024, 3, 5}, 1000.0,
                ComputeInterest(table, instant, instant, 1000.0));
}

TEST_F(CalculatorDialogTest, ConfirmedEntryGetsTheInterestOverTheCurrentTable) {
    const RateTable table = KnownTable();
    table_ = table;
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 2024, 2, 19));
    ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, 2024, 3, 10));
    dialog.SetAmount(L"1000");

    dialog.Click(IDOK);

    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    ExpectEntry(dialog.Entry(), {2024, 2, 19}, {2024, 3, 10}, 1000.0,
                ComputeInterest(table, DayAfter(2024, 2, 19), DayAfter(2024, 3, 10), 1000.0));
    // February 20 to 29 at 2.0 a day, March 1 to 10 at 1.0 a day.
    ASSERT_TRUE(dialog.Entry().has_value());
    EXPECT_NEAR(dialog.Entry()->interest, 30.0, 1e-9);
}

struct CancelCase {
    const char* name;
    std::function<bool(const CalculatorDialogSession&)> press;
};

const CancelCase kCancelCases[] = {
    {"CancelButton",
     [](const CalculatorDialogSession& d) {
         d.Click(IDCANCEL);
         return true;
     }},
    {"Escape",
     [](const CalculatorDialogSession& d) {
         d.PressKey(VK_ESCAPE);
         return true;
     }},
    {"CloseBox", [](const CalculatorDialogSession& d) { return d.ClickCloseBox(); }},
};

TEST_F(CalculatorDialogTest, CancelEscapeAndTheCloseBoxEndWithoutAnEntry) {
    for (const CancelCase& c : kCancelCases) {
        SCOPED_TRACE(c.name);
        CalculatorDialogSession dialog{table_};
        ASSERT_TRUE(dialog.opened());
        ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 2024, 2, 19));
        dialog.SetAmount(L"1000");
        ASSERT_TRUE(dialog.WaitForFocus(IDOK));

        ASSERT_TRUE(c.press(dialog));

        ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
        EXPECT_FALSE(dialog.Entry().has_value());
    }
}

TEST_F(CalculatorDialogTest, EnterInTheAmountFieldActsAsOk) {
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    dialog.SetAmount(L"12,5");

    dialog.PressKeyIn(kAmountField, VK_RETURN);

    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    ASSERT_TRUE(dialog.Entry().has_value());
    EXPECT_EQ(dialog.Entry()->amount, 12.5);
}

TEST_F(CalculatorDialogTest, PickersOfferOnlyDatesWhoseInstantsFit32Bits) {
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    for (const int picker : {kDueDatePicker, kPaymentDatePicker}) {
        SCOPED_TRACE(testing::Message() << "picker " << picker);
        SYSTEMTIME range[2]{};
        EXPECT_EQ(
            SendMessageW(dialog.control(picker), DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)),
            GDTR_MIN | GDTR_MAX);
        EXPECT_EQ(range[0].wYear, 1970);
        EXPECT_EQ(range[0].wMonth, 1);
        EXPECT_EQ(range[0].wDay, 2);
        EXPECT_EQ(range[1].wYear, 2038);
        EXPECT_EQ(range[1].wMonth, 1);
        EXPECT_EQ(range[1].wDay, 18);
    }
}

TEST_F(CalculatorDialogTest, TheEndsOfTheOfferedRangeAreCalculated) {
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    ASSERT_TRUE(dialog.SetDate(kDueDatePicker, 1970, 1, 2));
    ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, 2038, 1, 18));

    dialog.Click(IDOK);

    ASSERT_TRUE(dialog.WaitUntilClosed()) << "the dialog stayed open";
    ExpectEntry(dialog.Entry(), {1970, 1, 2}, {2038, 1, 18}, 0.0, 0.0);
}

struct UnusableDateCase {
    const char* name;
    int picker;
    WORD year, month, day;
    int otherPicker;
};

const UnusableDateCase kUnusableDateCases[] = {
    {"PaymentDayAfterIsPast2038", kPaymentDatePicker, 2038, 1, 19, kDueDatePicker},
    {"DueMidnightIsBefore1970", kDueDatePicker, 1970, 1, 1, kPaymentDatePicker},
};

// A picker can still hold such a date where the range does not reach (typed or set by a
// program); here the test lifts the range to set one.
TEST_F(CalculatorDialogTest, DateWithoutA32BitInstantIsRefusedAndTheDialogStaysOpen) {
    for (const UnusableDateCase& c : kUnusableDateCases) {
        SCOPED_TRACE(c.name);
        CalculatorDialogSession dialog{table_};
        ASSERT_TRUE(dialog.opened());
        SendMessageW(dialog.control(c.picker), DTM_SETRANGE, 0, 0);
        ASSERT_TRUE(dialog.SetDate(c.picker, c.year, c.month, c.day));
        ASSERT_TRUE(dialog.SetDate(c.otherPicker, 2024, 3, 1));

        dialog.Click(IDOK);

        ExpectAndDismissMessage(L"Data spoza zakresu od 1970-01-02 do 2038-01-18!");
        // Wine difference: the focus may come back a moment after the message box has gone.
        EXPECT_TRUE(dialog.WaitForFocus(c.picker));
        EXPECT_TRUE(dialog.IsOpen());
    }
}

TEST_F(CalculatorDialogTest, ADialogThatCannotOpenConfirmsNothing) {
    // A module without template 203 can't show the dialog at all.
    SetModuleInstance(GetModuleHandleW(L"kernel32.dll"));
    const std::optional<ConfirmedEntry> entry = RunCalculatorDialog(table_);
    SetModuleInstance(GetModuleHandleW(nullptr));
    EXPECT_FALSE(entry.has_value());
    EXPECT_EQ(OpenCalculatorDialog(), nullptr);
}

// Not a check of its own: holds the dialog open while the script around the test program
// photographs the screen, for a person to look at.
TEST_F(CalculatorDialogTest, ScreenshotOfTheOpenDialog) {
    const char* request = std::getenv("VISTREL_SCREENSHOT_REQUEST");
    const char* taken = std::getenv("VISTREL_SCREENSHOT_TAKEN");
    if (request == nullptr || taken == nullptr) GTEST_SKIP() << "no one to take the screenshot";
    CalculatorDialogSession dialog{table_};
    ASSERT_TRUE(dialog.opened());
    ASSERT_TRUE(dialog.WaitForFocus(IDOK));
    RedrawWindow(dialog.window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    // The geometry for cropping, written whole under a temporary name, then moved into place.
    RECT frame{};
    GetWindowRect(dialog.window(), &frame);
    const std::string partial = std::string(request) + ".partial";
    std::ofstream(partial) << (frame.right - frame.left) << 'x' << (frame.bottom - frame.top) << '+'
                           << frame.left << '+' << frame.top << '\n';
    ASSERT_TRUE(MoveFileExA(partial.c_str(), request, MOVEFILE_REPLACE_EXISTING));

    EXPECT_TRUE(test::WaitFor([&] { return GetFileAttributesA(taken) != INVALID_FILE_ATTRIBUTES; },
                              std::chrono::seconds(30)))
        << "no screenshot was taken";
}

}  // namespace
}  // namespace vistrel
