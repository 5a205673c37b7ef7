#include "calculator/interest_calculator.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "calculator/calculator_dialog.h"
#include "calculator/excel_range.h"
#include "calculator/failure_description.h"
#include "calculator/message_texts.h"
#include "calculator/rate_page.h"
#include "calculator/rate_page_fetch.h"
#include "calculator/worksheet_write_back.h"
#include "engine/built_in_rates.h"
#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "base/allocation_hook.h"
#include "platform/exceptions.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

std::atomic<bool> runInProgress{false};

// Claims the process's one run for the lifetime of the object, unless a run holds it already.
class RunClaim {
public:
    RunClaim() noexcept : claimed_(!runInProgress.exchange(true)) {}
    ~RunClaim() {
        if (claimed_) runInProgress.store(false);
    }
    RunClaim(const RunClaim&) = delete;
    RunClaim& operator=(const RunClaim&) = delete;

    explicit operator bool() const noexcept { return claimed_; }

private:
    bool claimed_;
};

void ShowMessage(const wchar_t* text, UINT icon) noexcept {
    MessageBoxW(nullptr, text, kMessageCaption, MB_OK | icon);
}

// The first line always; the description on a line of its own when there is one.
void ReportWriteBackFailure(const _com_error* error) noexcept {
    try {
        std::wstring text = kWriteBackFailureMessage;
        if (error != nullptr) {
            if (const std::wstring description = FailureDescription(*error); !description.empty()) {
                text += L"\n" + description;
            }
        }
        ShowMessage(text.c_str(), MB_ICONHAND);
    } catch (...) {
        ShowMessage(kWriteBackFailureMessage, MB_ICONHAND);
    }
}

// "5 marca 2026 r.": the first day of the newest built-in period, as the page writes dates.
std::wstring LastBuiltInChange() {
    const std::chrono::year_month_day last = BuiltInRatesLastChange();
    const std::u16string_view month = MonthNamesGenitive[static_cast<unsigned>(last.month()) - 1];
    return std::to_wstring(static_cast<unsigned>(last.day())) + L" " +
           std::wstring(month.begin(), month.end()) + L" " +
           std::to_wstring(static_cast<int>(last.year())) + L" r.";
}

// Why the page can't serve, then the offer of the built-in rates; true for Yes.
bool OfferBuiltInRates(const wchar_t* reason) noexcept {
    try {
        std::wstring question = kBuiltInRatesQuestion;
        question.replace(question.find(L"%s"), 2, LastBuiltInChange());
        const std::wstring text = std::wstring(reason) + L"\n" + question;
        return MessageBoxW(nullptr, text.c_str(), kMessageCaption, MB_YESNO | MB_ICONQUESTION) ==
               IDYES;
    } catch (...) {
        ShowMessage(reason, MB_ICONHAND);
        return false;
    }
}

bool HoldsAPeriod(const RateTable& table) noexcept {
    for (const RatePeriod& record : table) {
        if (record.kind != RateKind::None) return true;
    }
    return false;
}

bool FillWithBuiltInRates(RateTable& table) {
    if (FillBuiltInRateTable(table, CurrentTime())) return true;
    ShowMessage(kPageWithoutTableMessage, MB_ICONHAND);
    return false;
}

// Fills the run's table: from the built-in rates when the source says so; otherwise from the rate
// page, or, when it can't be fetched or holds no table (a page that is not kept), from the
// built-in rates if the user answers Yes. False when the run ends here.
bool FillRateTable(RateSource source, RateTable& table) {
    if (source.builtIn) return FillWithBuiltInRates(table);
    RatePage& page = ProcessRatePage();
    const wchar_t* reason = kPageNotFetchedMessage;
    if (FetchRatePage(source.pageUrl, page)) {
        ParseRatePage(RatePageText(page), table);
        if (HoldsAPeriod(table)) return true;
        // A portal page in the rate page's place: the next run fetches again.
        ReleaseRatePage(page);
        table = RateTable{};
        reason = kPageWithoutTableMessage;
    }
    return OfferBuiltInRates(reason) && FillWithBuiltInRates(table);
}

}  // namespace

int CalculateIntoRange(IDispatch* range, RateSource source, RateTable& table) {
    if (!FillRateTable(source, table)) return 0;
    const std::optional<ConfirmedEntry> entry = RunCalculatorDialog(table);
    if (!entry) return 0;
    WriteCalculationBeside(range, *entry);
    return 1;
}

HRESULT RunInterestCalculator(IDispatch* target, RateSource source) noexcept {
    // Declared first, so that it is given up after the table and the range are released.
    const RunClaim claim;
    if (!claim) {
        if (HWND dialog = OpenCalculatorDialog()) SetForegroundWindow(dialog);
        return 0;
    }
    const std::unique_ptr<RateTable> table(NewOrNull<RateTable>("rate table"));
    if (!table) return E_FAIL;
    // Only a returned interface counts, whatever status comes with it.
    ComPtr<IDispatch> range;
    if (target != nullptr) target->QueryInterface(kExcelRangeId, range.put_void());
    if (!range) return E_FAIL;
    try {
        return CalculateIntoRange(range.get(), source, *table);
    } catch (const _com_error& error) {
        ReportWriteBackFailure(&error);
    } catch (...) {
        ReportWriteBackFailure(nullptr);
    }
    return 0;
}

}  // namespace vistrel
