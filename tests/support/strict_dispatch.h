// IDispatch's four methods for a test's stand-in of a host object: each call that the stand-in
// does not take over itself fails the test, naming the method, and answers E_NOTIMPL.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

namespace vistrel::test {

template <typename Interface>
class StrictDispatch : public Interface {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override {
        return UnexpectedCall("GetTypeInfoCount");
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
        return UnexpectedCall("GetTypeInfo");
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return UnexpectedCall("GetIDsOfNames");
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return UnexpectedCall("Invoke");
    }

protected:
    static HRESULT UnexpectedCall(const char* method) {
        ADD_FAILURE() << "unexpected call of " << method << " on a stand-in of a host object";
        return E_NOTIMPL;
    }
};

}  // namespace vistrel::test
