// A stand-in for Excel's cell object: a Range that answers Offset with fake cells and records
// every Value2 put on them. Any other call, or a call of another shape than Excel's late-bound
// Offset (property get, two VT_INT offsets) and Value2 (property put of one VT_BSTR, named
// DISPID_PROPERTYPUT), fails the test. References are counted on the range and on every cell.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calculator/excel_range.h"
#include "tests/support/strict_dispatch.h"

namespace vistrel::test {
// The status Excel reports in an EXCEPINFO for an error of its own.
inline constexpr HRESULT kExcelError = static_cast<HRESULT>(0x800A03ECu);

// One Value2 put: the cell's offsets from the range and the text put.
struct CellWrite {
    int row;
    int column;
    std::wstring text;
    bool operator==(const CellWrite&) const = default;
};

inline void PrintTo(const CellWrite& write, std::ostream* out) {
    *out << "(" << write.row << ", " << write.column << ", \"";
    for (wchar_t c : write.text) *out << static_cast<char>(c < 128 ? c : '?');
    *out << "\")";
}

// How a call fails: the status, and for DISP_E_EXCEPTION the description of the EXCEPINFO.
struct CallFailure {
    HRESULT status;
    std::wstring description;  // with DISP_E_EXCEPTION: Excel's description of the error
    HRESULT scode = E_FAIL;    // with DISP_E_EXCEPTION: the EXCEPINFO's scode
};

inline HRESULT Fail(const CallFailure& failure, EXCEPINFO* exception) {
    if (failure.status == DISP_E_EXCEPTION && exception != nullptr) {
        exception->wCode = 0;
        exception->scode = failure.scode;
        exception->bstrSource = SysAllocString(L"Microsoft Excel");
        exception->bstrDescription = SysAllocString(failure.description.c_str());
    }
    return failure.status;
}

class FakeRange;

class FakeCell final : public StrictDispatch<IDispatch> {
public:
    FakeCell(FakeRange& range, int row, int column) : range_(range), row_(row), column_(column) {}

    ULONG references = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        ADD_FAILURE() << "the cell that Offset returned is to be used as it came";
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (references == 0) {
            ADD_FAILURE() << "a cell released more often than referenced";
            return 0;
        }
        return --references;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID interfaceId, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT*) override;

private:
    FakeRange& range_;
    int row_;
    int column_;
};

class FakeRange final : public StrictDispatch<IDispatch> {
public:
    // The test's own reference.
    ULONG references = 1;
    // Every Value2 put, in order.
    std::vector<CellWrite> writes;
    // Every cell handed out by Offset, in order.
    std::vector<std::unique_ptr<FakeCell>> cells;
    // The number of Offset calls.
    int offsetCalls = 0;
    int queryCalls = 0;

    // What the range does for a column: Offset fails, Offset yields no cell, or Value2 fails.
    std::optional<int> failingOffsetColumn;
    CallFailure offsetFailure{E_FAIL, L""};
    std::optional<int> nullCellColumn;
    std::optional<int> failingValue2Column;
    CallFailure value2Failure{E_FAIL, L""};

    // Whether QueryInterface for the Range interface gives this object, with what status.
    bool offersRange = true;
    HRESULT rangeQueryStatus = E_NOINTERFACE;  // the status when it offers none

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override {
        ++queryCalls;
        *object = nullptr;
        if (interfaceId != kExcelRangeId) {
            ADD_FAILURE() << "QueryInterface for another interface than Range";
            return E_NOINTERFACE;
        }
        if (!offersRange) return rangeQueryStatus;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (references == 0) {
            ADD_FAILURE() << "the range released more often than referenced";
            return 0;
        }
        return --references;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID interfaceId, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT*) override {
        ++offsetCalls;
        // rgvarg holds the arguments last first: the column offset, then the row offset.
        const bool offsetShape =
            dispid == kRangeOffset && interfaceId == GUID_NULL && flags == DISPATCH_PROPERTYGET &&
            parameters != nullptr && parameters->cArgs == 2 && parameters->cNamedArgs == 0 &&
            parameters->rgvarg[0].vt == VT_INT && parameters->rgvarg[1].vt == VT_INT &&
            result != nullptr && result->vt == VT_EMPTY;
        if (!offsetShape) {
            ADD_FAILURE() << "a call on the range other than Offset(row, column) as a property get";
            return DISP_E_MEMBERNOTFOUND;
        }
        const int row = parameters->rgvarg[1].intVal;
        const int column = parameters->rgvarg[0].intVal;
        if (failingOffsetColumn == column) return Fail(offsetFailure, exception);
        result->vt = VT_DISPATCH;
        result->pdispVal = nullptr;
        if (nullCellColumn == column) return S_OK;
        cells.push_back(std::make_unique<FakeCell>(*this, row, column));
        cells.back()->AddRef();
        result->pdispVal = cells.back().get();
        return S_OK;
    }

    // References on cells that are still held.
    ULONG HeldCellReferences() const {
        ULONG held = 0;
        for (const auto& cell : cells) held += cell->references;
        return held;
    }
};

inline HRESULT FakeCell::Invoke(DISPID dispid, REFIID interfaceId, LCID, WORD flags,
                                DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                UINT*) {
    const bool putShape = dispid == kRangeValue2 && interfaceId == GUID_NULL &&
                          flags == DISPATCH_PROPERTYPUT && parameters != nullptr &&
                          parameters->cArgs == 1 && parameters->cNamedArgs == 1 &&
                          parameters->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT &&
                          parameters->rgvarg[0].vt == VT_BSTR && result == nullptr;
    if (!putShape) {
        ADD_FAILURE() << "a call on a cell other than a put of Value2 with one text";
        return DISP_E_MEMBERNOTFOUND;
    }
    if (range_.failingValue2Column == column_) return Fail(range_.value2Failure, exception);
    const BSTR text = parameters->rgvarg[0].bstrVal;
    range_.writes.push_back({row_, column_, std::wstring(text, SysStringLen(text))});
    return S_OK;
}

}  // namespace vistrel::test
