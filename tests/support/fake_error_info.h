// Error information whose references the test counts; it fails the test on any other call.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

namespace vistrel::test {

class CountedErrorInfo final : public IErrorInfo {
public:
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        ADD_FAILURE() << "unexpected QueryInterface";
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetGUID(GUID*) override { return Unexpected(); }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR*) override { return Unexpected(); }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR*) override { return Unexpected(); }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR*) override { return Unexpected(); }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD*) override { return Unexpected(); }

private:
    static HRESULT Unexpected() {
        ADD_FAILURE() << "unexpected call on the error information";
        return E_NOTIMPL;
    }
};

}  // namespace vistrel::test
