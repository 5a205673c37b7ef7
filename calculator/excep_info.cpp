#include "calculator/excep_info.h"

#include <initializer_list>
#include <utility>

#include "base/status.h"

namespace vistrel {
namespace {

// wCode numbers the object's own errors from 0x80040200 on; the codes past the range share
// its last value.
constexpr unsigned kFirstCodeStatus = 0x80040200u;
constexpr unsigned kLastCodeStatus = 0x8004FFFFu;
constexpr WORD kCodesInRange = 0xFE00;

HRESULT StatusOf(const EXCEPINFO& info) noexcept {
    if (info.wCode == 0) {
        // The call failed: an exception without a failure code must not read as success.
        return FailureOr(info.scode, DISP_E_EXCEPTION);
    }
    if (info.wCode < kCodesInRange) return static_cast<HRESULT>(kFirstCodeStatus + info.wCode);
    return static_cast<HRESULT>(kLastCodeStatus);
}

ComPtr<IErrorInfo> ErrorInfoOf(const EXCEPINFO& info) noexcept {
    ComPtr<ICreateErrorInfo> creator;
    if (FAILED(CreateErrorInfo(creator.put()))) return nullptr;
    creator->SetGUID(__uuidof(IDispatch));
    if (info.bstrSource != nullptr) creator->SetSource(info.bstrSource);
    if (info.bstrDescription != nullptr) creator->SetDescription(info.bstrDescription);
    if (info.bstrHelpFile != nullptr) creator->SetHelpFile(info.bstrHelpFile);
    creator->SetHelpContext(info.dwHelpContext);
    return creator.query<IErrorInfo>();
}

}  // namespace

void FreeExcepInfoStrings(EXCEPINFO& info) noexcept {
    for (BSTR* text : {&info.bstrSource, &info.bstrDescription, &info.bstrHelpFile}) {
        const UniqueBstr freed(std::exchange(*text, nullptr));
    }
}

DispatchStatus ExcepInfoToErrorInfo(EXCEPINFO& info) noexcept {
    if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
    DispatchStatus outcome{StatusOf(info), ErrorInfoOf(info)};
    FreeExcepInfoStrings(info);
    return outcome;
}

}  // namespace vistrel
