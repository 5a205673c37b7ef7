#include "calculator/interest_calculator.h"

#include <atomic>
#include <memory>
#include <new>
#include <string>

#include "calculator/calculation_state.h"
#include "calculator/calculator_dialog.h"
#include "calculator/current_rate_table.h"
#include "calculator/failure_description.h"
#include "calculator/message_texts.h"
#include "calculator/rate_page.h"
#include "calculator/rate_page_fetch.h"
#include "calculator/worksheet_write_back.h"
#include "engine/rate_page_parser.h"
#include "platform/allocation_hook.h"
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

}  // namespace

int CalculateIntoRange(IDispatch* range, const wchar_t* ratePageUrl, RateTable& table) {
    RatePage& page = ProcessRatePage();
    if (!FetchRatePage(ratePageUrl, page)) {
        ShowMessage(kInternetFailureMessage, MB_ICONHAND);
        return 0;
    }
    ParseRatePage(RatePageText(page), table);
    {
        const CurrentRateTableScope current(table);
        RunCalculatorDialog();
    }
    const CalculationState confirmed = ProcessCalculationState();
    if (confirmed.accepted == 0) return 0;
    WriteCalculationBeside(range, confirmed);
    return 1;
}

HRESULT RunInterestCalculator(IDispatch* target, const wchar_t* ratePageUrl) noexcept {
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
        return CalculateIntoRange(range.get(), ratePageUrl, *table);
    } catch (const _com_error& error) {
        ReportWriteBackFailure(&error);
    } catch (...) {
        ReportWriteBackFailure(nullptr);
    }
    return 0;
}

}  // namespace vistrel
