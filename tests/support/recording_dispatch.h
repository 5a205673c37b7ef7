// An automation object that records every Invoke and answers as the test sets it up; any other
// call fails the test.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/unique_resource.h"
#include "tests/support/strict_dispatch.h"

namespace vistrel::test {

// A VARIANT kept by value for later assertions.
struct SeenVariant {
    VARTYPE type;
    LONG integer;  // the value of a VT_I4
};

struct SeenInvoke {
    DISPID dispid;
    IID interfaceId;
    LCID locale;
    WORD flags;
    std::vector<SeenVariant> arguments;  // as rgvarg holds them
    std::vector<DISPID> namedArguments;
    bool resultAsked;
    bool excepInfoGiven;
};

class RecordingDispatch final : public StrictDispatch<IDispatch> {
public:
    std::vector<SeenInvoke> invokes;
    // Answers an Invoke: fills the result and the exception information, returns the status.
    std::function<HRESULT(VARIANT* result, EXCEPINFO* exception)> answer =
        [](VARIANT*, EXCEPINFO*) { return S_OK; };

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        ADD_FAILURE() << "unexpected QueryInterface";
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID interfaceId, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT*) override {
        SeenInvoke seen{
            dispid, interfaceId, locale, flags, {}, {}, result != nullptr, exception != nullptr};
        for (UINT i = 0; i < parameters->cArgs; ++i) {
            const VARIANT& argument = parameters->rgvarg[i];
            seen.arguments.push_back({argument.vt, argument.vt == VT_I4 ? argument.lVal : 0});
        }
        for (UINT i = 0; i < parameters->cNamedArgs; ++i) {
            seen.namedArguments.push_back(parameters->rgdispidNamedArgs[i]);
        }
        invokes.push_back(seen);
        return answer(result, exception);
    }
};

}  // namespace vistrel::test
