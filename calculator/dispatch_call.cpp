#include "calculator/dispatch_call.h"

#include <cstddef>
#include <memory>
#include <new>

#include "calculator/excep_info.h"
#include "base/allocation_hook.h"

namespace vistrel {
namespace {

bool IsMissingParameter(const VARIANT& parameter) noexcept {
    return parameter.vt == VT_ERROR && parameter.scode == DISP_E_PARAMNOTFOUND;
}

bool IsPut(WORD flags) noexcept {
    return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
}

// The result as the caller asked for it: converted unless VT_VARIANT was asked.
HRESULT ConvertResult(UniqueVariant& value, VARTYPE resultType) noexcept {
    if (resultType == VT_VARIANT || value.vt == resultType) return S_OK;
    const HRESULT status = VariantChangeType(value.get(), value.get(), 0, resultType);
    if (FAILED(status)) value.put();
    return status;
}

}  // namespace

DispatchStatus CallAutomation(IDispatch* object, DISPID dispid, WORD flags, VARTYPE resultType,
                              VARIANT* result, std::span<const VARIANT> parameters) noexcept {
    const bool wantsResult = resultType != VT_EMPTY;
    if (object == nullptr || (wantsResult && result == nullptr)) return {E_POINTER, nullptr};

    // The value of a put is never left out; only the positional parameters before it can be.
    const bool put = IsPut(flags);
    if (put && parameters.empty()) return {E_INVALIDARG, nullptr};
    std::span<const VARIANT> positional =
        put ? parameters.first(parameters.size() - 1) : parameters;
    while (!positional.empty() && IsMissingParameter(positional.back())) {
        positional = positional.first(positional.size() - 1);
    }
    const std::size_t count = positional.size() + (put ? 1 : 0);

    // IDispatch takes the parameters last first; the value of a put comes first of all.
    std::unique_ptr<VARIANTARG[]> arguments(
        NewArrayOrNull<VARIANTARG>(count == 0 ? 1 : count, "call arguments"));
    if (!arguments) return {E_OUTOFMEMORY, nullptr};
    std::size_t next = 0;
    if (put) arguments[next++] = parameters.back();
    for (auto it = positional.rbegin(); it != positional.rend(); ++it) arguments[next++] = *it;

    DISPID putName = DISPID_PROPERTYPUT;
    DISPPARAMS dispatchParameters{};
    dispatchParameters.rgvarg = arguments.get();
    dispatchParameters.cArgs = static_cast<UINT>(count);
    if (put) {
        dispatchParameters.rgdispidNamedArgs = &putName;
        dispatchParameters.cNamedArgs = 1;
    }

    UniqueVariant value;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT status =
        object->Invoke(dispid, GUID_NULL, 0, flags, &dispatchParameters,
                       wantsResult ? value.get() : nullptr, &exception, &argumentError);
    if (FAILED(status)) {
        value.put();
        if (status == DISP_E_EXCEPTION) return ExcepInfoToErrorInfo(exception);
        FreeExcepInfoStrings(exception);
        return {status, nullptr};
    }
    FreeExcepInfoStrings(exception);
    if (!wantsResult) return {status, nullptr};

    if (const HRESULT converted = ConvertResult(value, resultType); FAILED(converted)) {
        return {converted, nullptr};
    }
    *result = value.release();
    return {status, nullptr};
}

}  // namespace vistrel
