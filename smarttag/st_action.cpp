#include "smarttag/st_action.h"

#include <urlmon.h>

#include <string>

#include "calculator/interest_calculator.h"
#include "platform/hresult_boundary.h"
#include "platform/last_error.h"
#include "platform/system_function.h"
#include "platform/user_settings.h"
#include "smarttag/bstr_copy.h"
#include "smarttag/smart_tag_catalogue.h"
#include "smarttag/smart_tag_class.h"

namespace vistrel {
namespace {

constexpr int kCalculatorVerb = 1;
constexpr int kRatePageVerb = 2;

SmartTagClassTypeInfo typeInfo(__uuidof(ISTAction), __uuidof(ISmartTagAction));

// Hands out a copy of one of the catalogue's strings: E_OUTOFMEMORY when a string that exists
// cannot be copied.
HRESULT HandOut(BSTR text, BSTR* out) noexcept {
    *out = CopyBstr(text);
    return *out == nullptr && text != nullptr ? E_OUTOFMEMORY : S_OK;
}

// One of the action's class strings; E_FAIL when the catalogue could not be built.
template <typename Field>
HRESULT HandOutClassString(Field field, BSTR* out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    const SmartTagCatalogue* catalogue = Catalogue();
    if (catalogue == nullptr) return E_FAIL;
    return HandOut((catalogue->ActionStrings().*field)(), out);
}

// The verb that `id` names, counted from 1; null outside 1 to the count, and always when the
// catalogue could not be built.
const SmartTagVerb* VerbWithId(int id) noexcept {
    const SmartTagCatalogue* catalogue = Catalogue();
    return catalogue != nullptr ? catalogue->VerbWithId(id) : nullptr;
}

}  // namespace

HRESULT STAction::CreateInstance(IUnknown* outer, REFIID interfaceId, void** out) noexcept {
    return CreateAggregatableInstance<STAction>(outer, interfaceId, out);
}

STAction::STAction(IUnknown* outer) noexcept
    : AggregatableObject(outer), own_(*this, typeInfo.own), action_(*this, typeInfo.host) {}

IUnknown* STAction::FindInterface(REFIID interfaceId) noexcept {
    return FindSmartTagInterface<ISTAction, ISmartTagAction>(interfaceId, &own_, &action_);
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_ProgId(BSTR* progId) noexcept {
    return AtBoundary([&] { return HandOutClassString(&ClassStrings::ProgId, progId); });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_Name(int, BSTR* name) noexcept {
    return AtBoundary([&] { return HandOutClassString(&ClassStrings::Name, name); });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_Desc(int, BSTR* description) noexcept {
    return AtBoundary([&] { return HandOutClassString(&ClassStrings::Description, description); });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_SmartTagCount(int* count) noexcept {
    return AtBoundary([&] { return CountTagTypes(count); });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_SmartTagName(int smartTagId,
                                                                      BSTR* name) noexcept {
    return AtBoundary([&] {
        if (name == nullptr) return E_POINTER;
        const SmartTagType* type = TagTypeWithId(smartTagId);
        return type != nullptr ? HandOut(type->Name(), name) : E_INVALIDARG;
    });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_SmartTagCaption(int smartTagId, int,
                                                                         BSTR* caption) noexcept {
    return AtBoundary([&] {
        if (caption == nullptr) return E_POINTER;
        const SmartTagType* type = TagTypeWithId(smartTagId);
        return type != nullptr ? HandOut(type->Caption(), caption) : E_INVALIDARG;
    });
}

// The same verbs for every tag type, whatever its name.
HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_VerbCount(BSTR, int* count) noexcept {
    return AtBoundary([&] {
        if (count == nullptr) return E_POINTER;
        const SmartTagCatalogue* catalogue = Catalogue();
        *count = catalogue != nullptr ? static_cast<int>(catalogue->VerbCount()) : 0;
        return S_OK;
    });
}

// Verb ids equal verb indexes.
HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_VerbID(BSTR, int verbIndex,
                                                                int* verbId) noexcept {
    return AtBoundary([&] {
        if (verbId == nullptr) return E_POINTER;
        if (VerbWithId(verbIndex) == nullptr) return E_INVALIDARG;
        *verbId = verbIndex;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_VerbCaptionFromID(int verbId, BSTR, int,
                                                                           BSTR* caption) noexcept {
    return AtBoundary([&] {
        if (caption == nullptr) return E_POINTER;
        const SmartTagVerb* verb = VerbWithId(verbId);
        return verb != nullptr ? HandOut(verb->Caption(), caption) : E_INVALIDARG;
    });
}

HRESULT STDMETHODCALLTYPE STAction::ActionInterface::get_VerbNameFromID(int verbId,
                                                                        BSTR* name) noexcept {
    return AtBoundary([&] {
        if (name == nullptr) return E_POINTER;
        const SmartTagVerb* verb = VerbWithId(verbId);
        return verb != nullptr ? HandOut(verb->Name(), name) : E_INVALIDARG;
    });
}

namespace {

// Hands `address` to the user's browser through urlmon, loaded when the verb is first chosen.
HRESULT OpenInBrowser(const wchar_t* address) noexcept {
    static const auto navigate = FunctionOf<decltype(HlinkSimpleNavigateToString)>(
        LoadSystemLibrary(L"urlmon.dll"), "HlinkSimpleNavigateToString");
    if (navigate == nullptr) return FailureFromLastError();
    return navigate(address, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0);
}

}  // namespace

// Both verbs work on the rate page: the first term's address, or the user's setting when it
// holds a web address; the tag's own property is not read. Verb 1 takes the user's choice of the
// built-in rates too. Their outcome is the user's to see; the host always hears S_OK.
HRESULT STDMETHODCALLTYPE STAction::ActionInterface::InvokeVerb(int verbId, BSTR, IDispatch* target,
                                                                ISmartTagProperties*, BSTR,
                                                                BSTR) noexcept {
    const HRESULT status = AtBoundary([&] {
        const SmartTagCatalogue* catalogue = Catalogue();
        if (catalogue == nullptr || VerbWithId(verbId) == nullptr) return S_OK;
        if (catalogue->RatePageUrl() == nullptr) return S_OK;
        const UserSettings settings = ReadUserSettings();
        const wchar_t* ratePageUrl = settings.RatePageAddress(catalogue->RatePageUrl());
        if (verbId == kCalculatorVerb) {
            return RunInterestCalculator(target, {ratePageUrl, settings.builtInRates});
        }
        if (verbId == kRatePageVerb) return OpenInBrowser(ratePageUrl);
        return S_OK;
    });
    static_cast<void>(status);
    return S_OK;
}

}  // namespace vistrel
