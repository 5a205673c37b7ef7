// STRecognizer: tags every occurrence of the catalogue's terms in the text of a cell with the
// library's tag type and the term's web address as the property "wwwTag".
#pragma once

#include <windows.h>

#include "smarttag/aggregatable_object.h"
#include "smarttag/dispatch_interface.h"
#include "smarttag/type_library_ids.h"

namespace vistrel {

class STRecognizer final : public AggregatableObject {
public:
    // The class's instance creator (plain or aggregated).
    static HRESULT CreateInstance(IUnknown* outer, REFIID interfaceId, void** out) noexcept;

    explicit STRecognizer(IUnknown* outer) noexcept;

private:
    ~STRecognizer() override = default;
    IUnknown* FindInterface(REFIID interfaceId) noexcept override;

    // The class's identity interface, described by the library's own type library.
    class OwnInterface final : public DispatchInterface<ISTRecognizer> {
    public:
        using DispatchInterface::DispatchInterface;
    };

    // What the host calls, described by the host's smart tag type library.
    class RecognizerInterface final : public DispatchInterface<ISmartTagRecognizer> {
    public:
        using DispatchInterface::DispatchInterface;
        HRESULT STDMETHODCALLTYPE get_ProgId(BSTR* progId) noexcept override;
        HRESULT STDMETHODCALLTYPE get_Name(int localeId, BSTR* name) noexcept override;
        HRESULT STDMETHODCALLTYPE get_Desc(int localeId, BSTR* description) noexcept override;
        HRESULT STDMETHODCALLTYPE get_SmartTagCount(int* count) noexcept override;
        HRESULT STDMETHODCALLTYPE get_SmartTagName(int smartTagId, BSTR* name) noexcept override;
        HRESULT STDMETHODCALLTYPE get_SmartTagDownloadURL(int smartTagId,
                                                          BSTR* url) noexcept override;
        HRESULT STDMETHODCALLTYPE Recognize(BSTR text, IF_TYPE dataType, int localeId,
                                            ISmartTagRecognizerSite* site) noexcept override;
    };

    OwnInterface own_;
    RecognizerInterface recognizer_;
};

}  // namespace vistrel
