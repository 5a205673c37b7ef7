// A host's recognizer site for long runs: it hands out property bags, counts what recognition
// does with them and keeps nothing, so that millions of calls cost the test no memory of its own.
#pragma once

#include <windows.h>

#include "smarttag/smarttag_host.h"
#include "tests/support/strict_dispatch.h"

namespace vistrel::test {

// A host object that offers no other interface; recognition never calls its IDispatch.
template <typename Interface>
class NoDispatch : public StrictDispatch<Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        if (out != nullptr) *out = nullptr;
        return E_NOINTERFACE;
    }
};

// One bag, handed out again and again; it counts the references held on it and the writes.
class CountingBag final : public NoDispatch<ISmartTagProperties> {
public:
    LONG references = 0;
    long writes = 0;

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    HRESULT STDMETHODCALLTYPE Write(BSTR, BSTR) override {
        ++writes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Read(BSTR, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Count(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_KeyFromIndex(int, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ValueFromIndex(int, BSTR*) override { return E_NOTIMPL; }
};

class CountingSite final : public NoDispatch<ISmartTagRecognizerSite> {
public:
    CountingBag bag;
    LONG references = 0;  // beyond the caller's own
    long tags = 0;

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references + 1); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references + 1); }
    HRESULT STDMETHODCALLTYPE GetNewPropertyBag(ISmartTagProperties** out) override {
        if (out == nullptr) return E_POINTER;
        bag.AddRef();
        *out = &bag;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CommitSmartTag(BSTR, int, int, ISmartTagProperties*) override {
        ++tags;
        return S_OK;
    }
};

}  // namespace vistrel::test
