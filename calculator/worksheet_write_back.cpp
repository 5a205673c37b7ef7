#include "calculator/worksheet_write_back.h"

#include <array>
#include <cwchar>
#include <span>
#include <utility>

#include "calculator/dispatch_call.h"
#include "calculator/excel_range.h"
#include "platform/hresult.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

// One cell's text: 255 characters and the terminator.
constexpr std::size_t kCellTextCapacity = 256;
using CellTextBuffer = std::array<wchar_t, kCellTextCapacity>;

enum class ResultColumn : int { DueDate = 1, PaymentDate = 2, Amount = 3, Interest = 4 };

// A text that would not fit is not cut short: a truncated number must never reach a cell.
template <typename... Values>
HRESULT FormatCellText(CellTextBuffer& text, const wchar_t* format, Values... values) noexcept {
    const int written = std::swprintf(text.data(), text.size(), format, values...);
    if (written < 0 || static_cast<std::size_t>(written) >= text.size()) {
        return HresultFromWin32(ERROR_INSUFFICIENT_BUFFER);
    }
    return S_OK;
}

HRESULT FormatDate(CellTextBuffer& text, const EnteredDate& date) noexcept {
    // Nothing to write for a date that is no calendar date.
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > 31) {
        return HresultFromWin32(ERROR_INVALID_DATA);
    }
    return FormatCellText(text, L"%04d-%02d-%02d", date.year, date.month, date.day);
}

void SetInt(UniqueVariant& variant, int value) noexcept {
    variant.vt = VT_INT;
    variant.intVal = value;
}

HRESULT SetText(UniqueVariant& variant, const CellTextBuffer& text) noexcept {
    variant.bstrVal = SysAllocString(text.data());
    if (variant.bstrVal == nullptr) return E_OUTOFMEMORY;
    variant.vt = VT_BSTR;
    return S_OK;
}

// Clears now rather than at the end of the scope, where a failure could not be raised.
void Clear(UniqueVariant& variant) { THROW_IF_FAILED(VariantClear(variant.get())); }

void WriteCell(IDispatch* range, ResultColumn column, const CellTextBuffer& text) {
    UniqueVariant value;
    THROW_IF_FAILED(SetText(value, text));
    UniqueVariant rowOffset;
    SetInt(rowOffset, 0);
    UniqueVariant columnOffset;
    SetInt(columnOffset, static_cast<int>(column));

    // Row offset first, column offset second; CallAutomation reverses them for Invoke.
    const std::array<VARIANT, 2> offsets = {*rowOffset.get(), *columnOffset.get()};
    UniqueVariant cell;
    DispatchStatus offset =
        CallAutomation(range, kRangeOffset, DISPATCH_PROPERTYGET, VT_DISPATCH, cell.get(), offsets);
    // An Offset that succeeds without a cell fails here.
    if (SUCCEEDED(offset.status) && cell.pdispVal == nullptr) offset.status = E_POINTER;
    THROW_IF_FAILED(std::move(offset));
    THROW_IF_FAILED(CallAutomation(cell.pdispVal, kRangeValue2, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                   nullptr, std::span<const VARIANT>(value.get(), 1)));

    Clear(cell);
    Clear(rowOffset);
    Clear(columnOffset);
    Clear(value);
}

}  // namespace

void WriteCalculationBeside(IDispatch* range, const ConfirmedEntry& entry) {
    CellTextBuffer text{};
    THROW_IF_FAILED(FormatDate(text, entry.dueDate));
    WriteCell(range, ResultColumn::DueDate, text);
    THROW_IF_FAILED(FormatDate(text, entry.paymentDate));
    WriteCell(range, ResultColumn::PaymentDate, text);
    // The runtime's "C" locale: a point whatever the user's regional settings.
    THROW_IF_FAILED(FormatCellText(text, L"%.2f", entry.amount));
    WriteCell(range, ResultColumn::Amount, text);
    THROW_IF_FAILED(FormatCellText(text, L"%.1f", entry.interest));
    WriteCell(range, ResultColumn::Interest, text);
}

}  // namespace vistrel
