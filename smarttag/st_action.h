// STAction: the verbs on the library's smart tag. Verb 1 runs the interest calculator on the
// tagged cell; verb 2 opens the rate page in the user's browser.
#pragma once

#include <windows.h>

#include "smarttag/aggregatable_object.h"
#include "smarttag/dispatch_interface.h"
#include "smarttag/type_library_ids.h"

namespace vistrel {

class STAction final : public AggregatableObject {
public:
    // The class's instance creator (plain or aggregated).
    static HRESULT CreateInstance(IUnknown* outer, REFIID interfaceId, void** out) noexcept;

    explicit STAction(IUnknown* outer) noexcept;

private:
    ~STAction() override = default;
    IUnknown* FindInterface(REFIID interfaceId) noexcept override;

    // The class's identity interface, described by the library's own type library.
    class OwnInterface final : public DispatchInterface<ISTAction> {
    public:
        using DispatchInterface::DispatchInterface;
    };

    // What the host calls, described by the host's smart tag type library.
    class ActionInterface final : public DispatchInterface<ISmartTagAction> {
    public:
        using DispatchInterface::DispatchInterface;
        HRESULT STDMETHODCALLTYPE get_ProgId(BSTR* progId) noexcept override;
        HRESULT STDMETHODCALLTYPE get_Name(int localeId, BSTR* name) noexcept override;
        HRESULT STDMETHODCALLTYPE get_Desc(int localeId, BSTR* description) noexcept override;
        HRESULT STDMETHODCALLTYPE get_SmartTagCount(int* count) noexcept override;
        HRESULT STDMETHODCALLTYPE get_SmartTagName(int smartTagId, BSTR* name) noexcept override;
        HRESULT STDMETHODCALLTYPE get_SmartTagCaption(int smartTagId, int localeId,
                                                      BSTR* caption) noexcept override;
        HRESULT STDMETHODCALLTYPE get_VerbCount(BSTR smartTagName, int* count) noexcept override;
        HRESULT STDMETHODCALLTYPE get_VerbID(BSTR smartTagName, int verbIndex,
                                             int* verbId) noexcept override;
        HRESULT STDMETHODCALLTYPE get_VerbCaptionFromID(int verbId, BSTR applicationName,
                                                        int localeId,
                                                        BSTR* caption) noexcept override;
        HRESULT STDMETHODCALLTYPE get_VerbNameFromID(int verbId, BSTR* name) noexcept override;
        HRESULT STDMETHODCALLTYPE InvokeVerb(int verbId, BSTR applicationName, IDispatch* target,
                                             ISmartTagProperties* properties, BSTR text,
                                             BSTR xml) noexcept override;
    };

    OwnInterface own_;
    ActionInterface action_;
};

}  // namespace vistrel
