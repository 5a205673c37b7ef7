// The host's side of recognition: the site that a recognizer reports its tags to, and the
// property bags it hands out for them. The tags committed are kept for the host to show.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "smarttag/smarttag_host.h"
#include "tests/host/com_object.h"

namespace vistrel::host {

struct CommittedTag {
    std::wstring type;
    int start = 0;
    int length = 0;
    std::vector<std::pair<std::wstring, std::wstring>> properties;
};

class PropertyBag final : public ComObject<ISmartTagProperties> {
public:
    std::vector<std::pair<std::wstring, std::wstring>> entries;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID wanted, void** object) override {
        return Answer(wanted, __uuidof(ISmartTagProperties), object);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_Read(BSTR key, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE Write(BSTR key, BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Count(int* count) override;
    HRESULT STDMETHODCALLTYPE get_KeyFromIndex(int index, BSTR* key) override;
    HRESULT STDMETHODCALLTYPE get_ValueFromIndex(int index, BSTR* value) override;
};

class RecognizerSite final : public ComObject<ISmartTagRecognizerSite> {
public:
    std::vector<CommittedTag> tags;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID wanted, void** object) override {
        return Answer(wanted, __uuidof(ISmartTagRecognizerSite), object);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetNewPropertyBag(ISmartTagProperties** bag) override;
    HRESULT STDMETHODCALLTYPE CommitSmartTag(BSTR type, int start, int length,
                                             ISmartTagProperties* bag) override;
};

}  // namespace vistrel::host
