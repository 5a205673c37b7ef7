#include "tests/host/worksheet.h"

#include "calculator/excel_range.h"
#include "platform/unique_resource.h"
#include "tests/host/com_object.h"

namespace vistrel::host {
namespace {

// One cell of the worksheet as the spreadsheet's Range object.
class CellRange final : public ComObject<IDispatch> {
public:
    CellRange(Worksheet& sheet, int row, int column) : sheet_(sheet), row_(row), column_(column) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID wanted, void** object) override {
        return Answer(wanted, kExcelRangeId, object);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (names == nullptr || ids == nullptr || count != 1) return DISP_E_UNKNOWNNAME;
        if (CompareStringOrdinal(names[0], -1, L"Offset", -1, TRUE) == CSTR_EQUAL) {
            *ids = kRangeOffset;
        } else if (CompareStringOrdinal(names[0], -1, L"Value2", -1, TRUE) == CSTR_EQUAL) {
            *ids = kRangeValue2;
        } else {
            *ids = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT* badArgument) override {
        if (parameters == nullptr) return E_INVALIDARG;
        if (id == kRangeOffset && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0) {
            return Offset(*parameters, result, badArgument);
        }
        if (id == kRangeValue2 && (flags & DISPATCH_PROPERTYPUT) != 0) {
            return PutValue(*parameters, badArgument);
        }
        if (id == kRangeValue2 && (flags & DISPATCH_PROPERTYGET) != 0) {
            if (result == nullptr) return E_POINTER;
            VariantInit(result);
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(sheet_.Value(row_, column_).c_str());
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    // Offset(rows, columns): the positional arguments arrive last one first.
    HRESULT Offset(const DISPPARAMS& parameters, VARIANT* result, UINT* badArgument) {
        if (parameters.cArgs != 2 || parameters.cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
        if (result == nullptr) return E_POINTER;
        int offsets[2] = {};
        for (UINT i = 0; i < 2; ++i) {
            UniqueVariant number;
            if (FAILED(VariantChangeType(&number, &parameters.rgvarg[i], 0, VT_I4))) {
                if (badArgument != nullptr) *badArgument = i;
                return DISP_E_TYPEMISMATCH;
            }
            offsets[1 - i] = number.lVal;
        }
        const int row = row_ + offsets[0];
        const int column = column_ + offsets[1];
        if (row < 1 || column < 1) return DISP_E_BADINDEX;
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = sheet_.Range(row, column);
        return S_OK;
    }

    HRESULT PutValue(const DISPPARAMS& parameters, UINT* badArgument) {
        if (parameters.cArgs != 1) return DISP_E_BADPARAMCOUNT;
        UniqueVariant text;
        if (FAILED(VariantChangeType(&text, &parameters.rgvarg[0], 0, VT_BSTR))) {
            if (badArgument != nullptr) *badArgument = 0;
            return DISP_E_TYPEMISMATCH;
        }
        sheet_.Put(row_, column_, std::wstring(text.bstrVal, SysStringLen(text.bstrVal)));
        return S_OK;
    }

    Worksheet& sheet_;
    int row_;
    int column_;
};

}  // namespace

std::wstring Worksheet::Value(int row, int column) const {
    const auto cell = cells_.find({row, column});
    return cell != cells_.end() ? cell->second : std::wstring();
}

IDispatch* Worksheet::Range(int row, int column) { return new CellRange(*this, row, column); }

std::wstring Worksheet::CellName(int row, int column) {
    std::wstring letters;
    for (int rest = column; rest > 0; rest = (rest - 1) / 26) {
        letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + (rest - 1) % 26));
    }
    return letters + std::to_wstring(row);
}

}  // namespace vistrel::host
