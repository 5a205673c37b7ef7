// Verb 1 from the target to the written cells: the real rate-page fetch against the local
// server, the real dialog driven as a user drives it, and a fake Excel Range for the cells.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "calculator/calculator_dialog.h"
#include "calculator/interest_calculator.h"
#include "calculator/rate_page.h"
#include "engine/clock.h"
#include "platform/module_instance.h"
#include "platform/unique_resource.h"
#include "tests/calculator/fake_excel_range.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/local_moment.h"
#include "tests/support/page_builder.h"
#include "tests/support/rate_page_server_client.h"

namespace vistrel {
namespace {

using test::CalculatorDialogSession;
using test::CellWrite;
using test::FakeRange;
using test::kDueDatePicker;
using test::kPaymentDatePicker;

constexpr wchar_t kRatePageUrl[] = L"http://www.mf.gov.pl/podatki/odsetki_za_zwloke.shtml";
constexpr wchar_t kCaption[] = L"Radediv idudaz";
constexpr wchar_t kDialogTitle[] = L"Kalkulator odsetek";
constexpr wchar_t kWriteBackFailed[] = L"Nie udało się wpisać wyników do arkusza.";

// The icons of the two kinds of message box.
HICON InformationIcon() { return LoadIconW(nullptr, MAKEINTRESOURCEW(32516)); }
HICON HandIcon() { return LoadIconW(nullptr, MAKEINTRESOURCEW(32513)); }
HICON QuestionIcon() { return LoadIconW(nullptr, MAKEINTRESOURCEW(32514)); }

// When the page can't serve: why, then the offer of the rates the program carries, whose newest
// period (data/rate-history.tsv) starts on 5 March 2026.
const std::wstring kBuiltInRatesOffer =
    L"\nCzy obliczyć odsetki według stóp wbudowanych w program (ostatnia zmiana: 5 marca 2026 r.)?";
const std::wstring kNotFetchedQuestion =
    L"Nie udało się pobrać strony ze stopami odsetek." + kBuiltInRatesOffer;
const std::wstring kNoTableQuestion =
    L"Strona stóp odsetek nie zawiera tabeli stóp." + kBuiltInRatesOffer;

// A run of the verb on a thread of its own, as the host's user-interface thread runs it.
class VerbRun {
public:
    explicit VerbRun(IDispatch* target, RateSource source = {kRatePageUrl})
        : session_([this, target, source] {
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
              result_ = RunInterestCalculator(target, source);
              CoUninitialize();
          }) {}

    CalculatorDialogSession& dialog() { return session_; }
    // Waits for the run to end; its result, or nullopt when it is still running.
    std::optional<HRESULT> Result() {
        if (!session_.WaitUntilClosed()) return std::nullopt;
        return result_.load();
    }

private:
    std::atomic<HRESULT> result_{E_UNEXPECTED};
    CalculatorDialogSession session_;
};

// The system's text for a status as the message shows it, without the trailing line break.
std::wstring SystemText(HRESULT status) {
    UniqueLocalText text;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    std::wstring result = text ? text.get() : L"";
    while (!result.empty() &&
           (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' ')) {
        result.pop_back();
    }
    return result;
}

bool RunsOnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool TheDialogIsShown() {
    const HWND window = FindWindowW(L"#32770", kDialogTitle);
    return window != nullptr && IsWindowVisible(window);
}

// Keeps this thread's windows answering while waiting: activation crosses threads.
template <typename Condition>
bool WaitPumping(Condition condition) {
    return test::WaitFor([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        return condition();
    });
}

class InterestCalculatorTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SetModuleInstance(GetModuleHandleW(nullptr));
        ASSERT_TRUE(RegisterDatePickerClass());
    }

    void SetUp() override {
        // Every case starts as a fresh process does: no page held, the server serving the page.
        ReleaseRatePage(ProcessRatePage());
        test::StartListening();
        test::ServeRatePage("page");
        test::TakeRequests();
    }

    // Expects the Yes/No question with `text` and answers it.
    static void ExpectAndAnswerQuestion(const std::wstring& text, int answer) {
        const auto box = test::WaitForMessageBox(kCaption);
        ASSERT_TRUE(box.has_value()) << "no message box";
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->owner, nullptr);
        EXPECT_EQ(box->icon, QuestionIcon());
        EXPECT_EQ(box->buttons, 2);
        ASSERT_TRUE(test::AnswerMessageBox(box->window, answer));
        EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(box->window); }));
    }

    static void ExpectAndDismissMessage(const std::wstring& text, HICON icon) {
        const auto box = test::WaitForMessageBox(kCaption);
        ASSERT_TRUE(box.has_value()) << "no message box";
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->owner, nullptr);
        EXPECT_EQ(box->icon, icon);
        EXPECT_EQ(box->buttons, 1);
        test::DismissMessageBox(box->window);
        EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(box->window); }));
    }

    // Fills the dialog as a user does.
    static void Enter(const CalculatorDialogSession& dialog, test::Date due, test::Date payment,
                      const wchar_t* amount) {
        ASSERT_TRUE(dialog.SetDate(kDueDatePicker, static_cast<WORD>(due.year),
                                   static_cast<WORD>(due.month), static_cast<WORD>(due.day)));
        ASSERT_TRUE(dialog.SetDate(kPaymentDatePicker, static_cast<WORD>(payment.year),
                                   static_cast<WORD>(payment.month),
                                   static_cast<WORD>(payment.day)));
        dialog.SetAmount(amount);
    }

    static void ExpectNothingWrittenAndAllReleased(const FakeRange& range) {
        EXPECT_TRUE(range.writes.empty());
        EXPECT_EQ(range.offsetCalls, 0);
        EXPECT_EQ(range.references, 1u);
        EXPECT_TRUE(range.cells.empty());
    }

    static std::size_t RequestCount() { return test::TakeRequests().size(); }
};

// Due 2025-05-05, paid 2025-07-10, on the bundled page: May 6 and 7 at 14.50% a year (2 days),
// May 8 to July 2 at 13.50% (24 + 30 + 2 = 56 days), July 3 to 10 at 13.00% (8 days):
// 1234.5 × (2 × 14.5 + 56 × 13.5 + 8 × 13) / 36500 = 1234.5 × 889 / 36500 = 30.0677...
TEST_F(InterestCalculatorTest, AConfirmedEntryWritesDatesAmountAndInterestIntoDToGOfTheRow) {
    FakeRange range;
    VerbRun run(&range);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {2025, 5, 5}, {2025, 7, 10}, L"1234,5");

    run.dialog().Click(IDOK);

    EXPECT_EQ(run.Result(), 1);
    const std::vector<CellWrite> expected = {
        {0, 1, L"2025-05-05"}, {0, 2, L"2025-07-10"}, {0, 3, L"1234.50"}, {0, 4, L"30.1"}};
    EXPECT_EQ(range.writes, expected);
    EXPECT_EQ(range.offsetCalls, 4);
    EXPECT_EQ(range.queryCalls, 1);
    EXPECT_EQ(range.references, 1u);
    EXPECT_EQ(range.HeldCellReferences(), 0u);
    EXPECT_EQ(RequestCount(), 1u);
}

struct SeasonCase {
    const char* name;
    int month;  // of the pinned moment, in 2001
    int daylightSaving;
};

const SeasonCase kSeasonCases[] = {{"StandardTime", 1, 0}, {"DaylightSavingTime", 7, 1}};

// A page for 2001, held as if fetched: 36.50% a year to March 31, then 73.00%. Due 2001-03-15,
// paid 2001-04-02, 1000: March 16 to 31 at 36.5% (16 days) and April 1 and 2 at 73% (2 days):
// 1000 × (16 × 36.5 + 2 × 73) / 36500 = 20.0, whichever season the run takes place in.
TEST_F(InterestCalculatorTest, TheDatesWrittenAreTheDatesEnteredInBothSeasons) {
    for (const SeasonCase& c : kSeasonCases) {
        SCOPED_TRACE(c.name);
        const std::int32_t now = test::LocalMoment(2001, c.month, 15, 12);
        const std::time_t moment = now;
        ASSERT_EQ(std::localtime(&moment)->tm_isdst, c.daylightSaving)
            << "the zone is not Warsaw's";
        const PinnedClock clock(now);
        const std::u16string text = test::Page(
            test::Row(u"73,00%", test::PeriodText({2001, 4, 1}, test::Date{2001, 12, 31})) +
            test::Row(u"36,50%", test::PeriodText({2001, 1, 1}, test::Date{2001, 3, 31})));
        ReleaseRatePage(ProcessRatePage());
        auto* held = static_cast<char16_t*>(std::malloc(text.size() * sizeof(char16_t)));
        ASSERT_NE(held, nullptr);
        std::memcpy(held, text.data(), text.size() * sizeof(char16_t));
        ProcessRatePage() = {held, static_cast<std::int32_t>(text.size()), now};

        FakeRange range;
        VerbRun run(&range);
        ASSERT_TRUE(run.dialog().WaitForDialog());
        Enter(run.dialog(), {2001, 3, 15}, {2001, 4, 2}, L"1000");
        run.dialog().Click(IDOK);

        EXPECT_EQ(run.Result(), 1);
        const std::vector<CellWrite> expected = {
            {0, 1, L"2001-03-15"}, {0, 2, L"2001-04-02"}, {0, 3, L"1000.00"}, {0, 4, L"20.0"}};
        EXPECT_EQ(range.writes, expected);
        EXPECT_EQ(RequestCount(), 0u) << "the held page is used";
    }
}

TEST_F(InterestCalculatorTest, CancelWritesNothing) {
    FakeRange range;
    VerbRun run(&range);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {2025, 5, 5}, {2025, 7, 10}, L"1000");

    run.dialog().Click(IDCANCEL);

    EXPECT_EQ(run.Result(), 0);
    ExpectNothingWrittenAndAllReleased(range);
}

TEST_F(InterestCalculatorTest, DueDateAfterPaymentDateIsRefusedAndNothingIsWritten) {
    FakeRange range;
    VerbRun run(&range);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {2025, 7, 10}, {2025, 5, 5}, L"1000");

    run.dialog().Click(IDOK);

    ExpectAndDismissMessage(L"Data Należności późniejsza od Daty Zapłaty!", InformationIcon());
    // Wine difference: the focus may come back a moment after the message box has gone.
    EXPECT_TRUE(run.dialog().WaitForFocus(kDueDatePicker));
    EXPECT_TRUE(run.dialog().IsOpen());
    run.dialog().Click(IDCANCEL);
    EXPECT_EQ(run.Result(), 0);
    ExpectNothingWrittenAndAllReleased(range);
}

// The bundled page's oldest period starts on 1993-03-01, at 0.19% a day. Due 1993-02-27, the
// first day of the delay is 1993-02-28: no rate. Due 1993-02-28: the delay starts in that
// period; paid 1993-03-06, 3650 at 0.19% a day for 6 days: 3650 × 0.19 × 6 / 100 = 41.61.
TEST_F(InterestCalculatorTest, ADueDateBeforeThePagesOldestPeriodIsRefusedUntilCorrected) {
    FakeRange range;
    VerbRun run(&range);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {1993, 2, 27}, {1993, 3, 6}, L"3650");

    run.dialog().Click(IDOK);

    ExpectAndDismissMessage(L"Brak stopy odsetek dla daty należności!", InformationIcon());
    EXPECT_TRUE(run.dialog().WaitForFocus(kDueDatePicker));
    EXPECT_TRUE(run.dialog().IsOpen());
    EXPECT_TRUE(range.writes.empty());

    ASSERT_TRUE(run.dialog().SetDate(kDueDatePicker, 1993, 2, 28));
    run.dialog().Click(IDOK);

    EXPECT_EQ(run.Result(), 1);
    const std::vector<CellWrite> expected = {
        {0, 1, L"1993-02-28"}, {0, 2, L"1993-03-06"}, {0, 3, L"3650.00"}, {0, 4, L"41.6"}};
    EXPECT_EQ(range.writes, expected);
}

// A 200 answer in which no period can be read (an empty body, a portal page in the rate page's
// place) is not kept: the user is told, declines the built-in rates, and the next run fetches.
TEST_F(InterestCalculatorTest, APageWithoutATableIsNotKeptAndTheNextRunFetchesAgain) {
    for (const char* mode : {"empty", "latin2"}) {
        SCOPED_TRACE(mode);
        SetUp();
        test::ServeRatePage(mode);
        FakeRange range;
        {
            VerbRun run(&range);
            ExpectAndAnswerQuestion(kNoTableQuestion, IDNO);
            EXPECT_EQ(run.Result(), 0);
        }
        ExpectNothingWrittenAndAllReleased(range);
        EXPECT_FALSE(TheDialogIsShown());
        EXPECT_EQ(ProcessRatePage().text, nullptr) << "no page held";
        EXPECT_EQ(RequestCount(), 1u);

        test::ServeRatePage("page");
        VerbRun next(&range);
        ASSERT_TRUE(next.dialog().WaitForDialog());
        next.dialog().Click(IDCANCEL);
        EXPECT_EQ(next.Result(), 0);
        EXPECT_EQ(RequestCount(), 1u) << "the next run fetches again";
    }
}

struct FetchFailureCase {
    const char* name;
    void (*breakServer)();
    std::size_t requests;  // that reach the server on the failing run
};

const FetchFailureCase kFetchFailureCases[] = {
    {"NoNetwork", [] { test::StopListening(); }, 0},
    {"NotFound", [] { test::ServeRatePage("status 404"); }, 1},
};

TEST_F(InterestCalculatorTest, AFailedFetchIsReportedWritesNothingAndTheNextRunFetchesAgain) {
    for (const FetchFailureCase& c : kFetchFailureCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.breakServer();
        FakeRange range;
        {
            VerbRun run(&range);
            ExpectAndAnswerQuestion(kNotFetchedQuestion, IDNO);
            EXPECT_EQ(run.Result(), 0);
        }
        ExpectNothingWrittenAndAllReleased(range);
        EXPECT_FALSE(TheDialogIsShown());
        EXPECT_EQ(ProcessRatePage().text, nullptr) << "no page held";
        EXPECT_EQ(RequestCount(), c.requests);

        test::StartListening();
        test::ServeRatePage("page");
        VerbRun next(&range);
        ASSERT_TRUE(next.dialog().WaitForDialog());
        next.dialog().Click(IDCANCEL);
        EXPECT_EQ(next.Result(), 0);
        EXPECT_EQ(RequestCount(), 1u) << "the next run tries the network again";
    }
}

// Due 2025-07-02, paid 2025-07-04, 36500: July 3 and 4 at 13.00%: 36500 × 13 × 2 / 36500 = 26.0.
TEST_F(InterestCalculatorTest, ASecondRunFetchesNothingAndReadsTheHeldPageAgain) {
    FakeRange first;
    {
        VerbRun run(&first);
        ASSERT_TRUE(run.dialog().WaitForDialog());
        run.dialog().Click(IDCANCEL);
        EXPECT_EQ(run.Result(), 0);
    }
    ASSERT_EQ(RequestCount(), 1u);

    FakeRange second;
    VerbRun run(&second);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {2025, 7, 2}, {2025, 7, 4}, L"36500");
    run.dialog().Click(IDOK);

    EXPECT_EQ(run.Result(), 1);
    EXPECT_EQ(RequestCount(), 0u);
    const std::vector<CellWrite> expected = {
        {0, 1, L"2025-07-02"}, {0, 2, L"2025-07-04"}, {0, 3, L"36500.00"}, {0, 4, L"26.0"}};
    EXPECT_EQ(second.writes, expected);
}

struct NoRangeCase {
    const char* name;
    bool nullTarget;
    HRESULT queryStatus;  // the status of the target's QueryInterface, which gives nothing
};

const NoRangeCase kNoRangeCases[] = {
    {"NullTarget", true, S_OK},
    {"NoInterface", false, E_NOINTERFACE},
    {"SuccessWithoutAPointer", false, S_OK},
};

TEST_F(InterestCalculatorTest, ATargetWithoutRangeFailsWithoutWindowOrNetwork) {
    for (const NoRangeCase& c : kNoRangeCases) {
        SCOPED_TRACE(c.name);
        FakeRange target;
        target.offersRange = false;
        target.rangeQueryStatus = c.queryStatus;

        EXPECT_EQ(RunInterestCalculator(c.nullTarget ? nullptr : &target, {kRatePageUrl}), E_FAIL);

        EXPECT_EQ(target.queryCalls, c.nullTarget ? 0 : 1);
        ExpectNothingWrittenAndAllReleased(target);
        EXPECT_EQ(FindWindowW(L"#32770", kCaption), nullptr) << "no message";
        EXPECT_FALSE(TheDialogIsShown());
        EXPECT_EQ(RequestCount(), 0u);
    }
}

struct WriteBackFailureCase {
    const char* name;
    void (*breakRange)(FakeRange&);
    std::wstring description;  // after the message's first line
    std::size_t written;
    bool noSystemTextOnWine = false;
};

const std::wstring kExcelDescription = L"Nie można odnaleźć komórki.";

const WriteBackFailureCase kWriteBackFailureCases[] = {
    {"OffsetFailsWithErrorInformation",
     [](FakeRange& range) {
         range.failingOffsetColumn = 3;
         range.offsetFailure = {DISP_E_EXCEPTION, kExcelDescription, test::kExcelError};
     },
     kExcelDescription, 2},
    {"OffsetYieldsNoCell", [](FakeRange& range) { range.nullCellColumn = 2; },
     SystemText(E_POINTER), 1, true},
    {"Value2Fails",
     [](FakeRange& range) {
         range.failingValue2Column = 4;
         range.value2Failure = {E_ACCESSDENIED, L""};
     },
     SystemText(E_ACCESSDENIED), 3},
    {"Value2FailsWithErrorInformation",
     [](FakeRange& range) {
         range.failingValue2Column = 1;
         range.value2Failure = {DISP_E_EXCEPTION, kExcelDescription, test::kExcelError};
     },
     kExcelDescription, 0},
};

TEST_F(InterestCalculatorTest, AFailedWriteBackIsReportedWithTheDescriptionAndStopsThere) {
    const std::vector<CellWrite> all = {
        {0, 1, L"2025-05-05"}, {0, 2, L"2025-07-10"}, {0, 3, L"1234.50"}, {0, 4, L"30.1"}};
    for (const WriteBackFailureCase& c : kWriteBackFailureCases) {
        SCOPED_TRACE(c.name);
        // Wine difference: Wine's system has no text for E_POINTER, so there the message is
        // its first line alone; Windows adds its text for the status.
        if (!(RunsOnWine() && c.noSystemTextOnWine)) {
            EXPECT_FALSE(c.description.empty()) << "every failure here has a description";
        }
        FakeRange range;
        c.breakRange(range);
        VerbRun run(&range);
        ASSERT_TRUE(run.dialog().WaitForDialog());
        Enter(run.dialog(), {2025, 5, 5}, {2025, 7, 10}, L"1234.5");

        run.dialog().Click(IDOK);

        ExpectAndDismissMessage(
            c.description.empty() ? kWriteBackFailed : kWriteBackFailed + (L"\n" + c.description),
            HandIcon());
        EXPECT_EQ(run.Result(), 0);
        EXPECT_EQ(range.writes, std::vector<CellWrite>(all.begin(), all.begin() + c.written));
        EXPECT_EQ(range.references, 1u);
        EXPECT_EQ(range.HeldCellReferences(), 0u) << "every cell released";
    }
}

// The amount as Polish users write it: "1 234,50" is 1234.50, as in the first case (30.1); an
// amount in another form keeps the dialog open with the focus on it, and nothing is written.
TEST_F(InterestCalculatorTest, AnAmountWithGroupedThousandsIsReadWhole) {
    FakeRange range;
    VerbRun run(&range);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {2025, 5, 5}, {2025, 7, 10}, L"1e300");

    run.dialog().Click(IDOK);

    ExpectAndDismissMessage(L"Nieprawidłowa kwota: wpisz liczbę złotych, np. 1 234,56.",
                            InformationIcon());
    EXPECT_TRUE(run.dialog().WaitForFocus(test::kAmountField));
    EXPECT_TRUE(range.writes.empty());
    run.dialog().SetAmount(L"1 234,50");
    run.dialog().Click(IDOK);

    EXPECT_EQ(run.Result(), 1);
    const std::vector<CellWrite> expected = {
        {0, 1, L"2025-05-05"}, {0, 2, L"2025-07-10"}, {0, 3, L"1234.50"}, {0, 4, L"30.1"}};
    EXPECT_EQ(range.writes, expected);
}

// Yes to the question, or a source that chooses the built-in rates (the user's setting
// StopyWbudowane = 1; then without any request): the calculator opens on the built-in table,
// which holds the bundled page's periods, so the first case's entry gives its 30.1.
TEST_F(InterestCalculatorTest, TheBuiltInRatesAnswerWhenThePageCannotBeHad) {
    struct Case {
        const char* name;
        bool chosen;
        std::size_t requests;
    };
    for (const Case& c : {Case{"YesToTheQuestion", false, 1}, Case{"Chosen", true, 0}}) {
        SCOPED_TRACE(c.name);
        SetUp();
        test::ServeRatePage("status 404");
        FakeRange range;
        VerbRun run(&range, {kRatePageUrl, c.chosen});
        if (!c.chosen) ExpectAndAnswerQuestion(kNotFetchedQuestion, IDYES);
        ASSERT_TRUE(run.dialog().WaitForDialog());
        Enter(run.dialog(), {2025, 5, 5}, {2025, 7, 10}, L"1234,5");
        run.dialog().Click(IDOK);

        EXPECT_EQ(run.Result(), 1);
        const std::vector<CellWrite> expected = {
            {0, 1, L"2025-05-05"}, {0, 2, L"2025-07-10"}, {0, 3, L"1234.50"}, {0, 4, L"30.1"}};
        EXPECT_EQ(range.writes, expected);
        EXPECT_EQ(ProcessRatePage().text, nullptr);
        EXPECT_EQ(RequestCount(), c.requests);
    }
}

// The second run, made on the first run's thread while its dialog is open: the message posted
// there is taken out of the queue by the dialog's own loop, and the hook makes the call.
constexpr UINT kSecondRunMessage = WM_APP + 10;

struct SecondRun {
    IDispatch* target = nullptr;
    std::atomic<HRESULT> result{E_UNEXPECTED};
    std::atomic<bool> done{false};
};
SecondRun secondRun;

LRESULT CALLBACK RunAgainOnMessage(int code, WPARAM removal, LPARAM parameter) {
    auto* message = reinterpret_cast<MSG*>(parameter);
    if (code == HC_ACTION && removal == PM_REMOVE && message->hwnd == nullptr &&
        message->message == kSecondRunMessage) {
        message->message = WM_NULL;
        secondRun.result = RunInterestCalculator(secondRun.target, {kRatePageUrl});
        secondRun.done = true;
    }
    return CallNextHookEx(nullptr, code, removal, parameter);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(InterestCalculatorTest, ARunCalledWhileTheDialogIsOpenIsRefusedAndTheFirstCompletes) {
    FakeRange first;
    FakeRange second;
    secondRun.target = &second;
    CalculatorDialogSession dialog([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const HHOOK hook =
            SetWindowsHookExW(WH_GETMESSAGE, &RunAgainOnMessage, nullptr, GetCurrentThreadId());
        EXPECT_NE(hook, nullptr);
        EXPECT_EQ(RunInterestCalculator(&first, {kRatePageUrl}), 1);
        UnhookWindowsHookEx(hook);
        CoUninitialize();
    });
    ASSERT_TRUE(dialog.WaitForDialog());

    // Another window of the host in front, as when the user has gone back to the sheet.
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VistrelTestSheet";
    RegisterClassW(&windowClass);
    const HWND sheet =
        CreateWindowW(L"VistrelTestSheet", L"Arkusz", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                      200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(sheet, nullptr);
    SetForegroundWindow(sheet);
    EXPECT_TRUE(WaitPumping([&] { return GetForegroundWindow() == sheet; }));

    const DWORD dialogThread = GetWindowThreadProcessId(dialog.window(), nullptr);
    ASSERT_TRUE(PostThreadMessageW(dialogThread, kSecondRunMessage, 0, 0));
    ASSERT_TRUE(WaitPumping([] { return secondRun.done.load(); }));

    EXPECT_EQ(secondRun.result.load(), 0);
    EXPECT_TRUE(WaitPumping([&] { return GetForegroundWindow() == dialog.window(); }))
        << "the open dialog is brought to the front";
    EXPECT_EQ(second.queryCalls, 0);
    ExpectNothingWrittenAndAllReleased(second);
    EXPECT_EQ(RequestCount(), 1u) << "the first run's fetch only";

    Enter(dialog, {2025, 7, 2}, {2025, 7, 4}, L"36500");
    dialog.Click(IDOK);
    ASSERT_TRUE(dialog.WaitUntilClosed());
    DestroyWindow(sheet);
    const std::vector<CellWrite> expected = {
        {0, 1, L"2025-07-02"}, {0, 2, L"2025-07-04"}, {0, 3, L"36500.00"}, {0, 4, L"26.0"}};
    EXPECT_EQ(first.writes, expected);
    EXPECT_EQ(first.references, 1u);
}

// Not a check of its own: holds the filled dialog open while the script around the test
// program photographs the screen, for a person to look at.
TEST_F(InterestCalculatorTest, ScreenshotOfTheOpenDialog) {
    const char* request = std::getenv("VISTREL_SCREENSHOT_REQUEST");
    const char* taken = std::getenv("VISTREL_SCREENSHOT_TAKEN");
    if (request == nullptr || taken == nullptr) GTEST_SKIP() << "no one to take the screenshot";
    FakeRange range;
    VerbRun run(&range);
    ASSERT_TRUE(run.dialog().WaitForDialog());
    Enter(run.dialog(), {2025, 5, 5}, {2025, 7, 10}, L"1234,50");
    RedrawWindow(run.dialog().window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    RECT frame{};
    GetWindowRect(run.dialog().window(), &frame);
    const std::string partial = std::string(request) + ".partial";
    std::ofstream(partial) << (frame.right - frame.left) << 'x' << (frame.bottom - frame.top) << '+'
                           << frame.left << '+' << frame.top << '\n';
    ASSERT_TRUE(MoveFileExA(partial.c_str(), request, MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(test::WaitFor([&] { return GetFileAttributesA(taken) != INVALID_FILE_ATTRIBUTES; },
                              std::chrono::seconds(30)))
        << "no screenshot was taken";
    run.dialog().Click(IDOK);
    EXPECT_EQ(run.Result(), 1);
    EXPECT_EQ(range.writes.size(), 4u);
}

}  // namespace
}  // namespace vistrel
