#include "smarttag/st_recognizer.h"

#include <cwchar>

#include "platform/hresult_boundary.h"
#include "platform/unique_resource.h"
#include "smarttag/bstr_copy.h"
#include "smarttag/smart_tag_catalogue.h"
#include "smarttag/smart_tag_class.h"
#include "smarttag/string_loading.h"

namespace vistrel {
namespace {

constexpr int kRecognizerNameId = 201;
constexpr int kRecognizerDescriptionId = 202;
constexpr wchar_t kUrlProperty[] = L"wwwTag";

SmartTagClassTypeInfo typeInfo(__uuidof(ISTRecognizer), __uuidof(ISmartTagRecognizer));

// Name and description are read from the string table at each call.
HRESULT LoadClassString(int id, BSTR* out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = LoadStringBstr(id).release();
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Reports one occurrence to the host: a property bag with the term's address, then the tag.
void CommitOccurrence(ISmartTagRecognizerSite* site, BSTR typeName, int start, int length,
                      BSTR url) noexcept {
    const UniqueBstr name(CopyBstr(typeName));
    if (!name) return;
    ComPtr<ISmartTagProperties> bag;
    site->GetNewPropertyBag(bag.put());
    if (bag) {
        const UniqueBstr key(SysAllocString(kUrlProperty));
        const UniqueBstr value(CopyBstr(url));
        if (key && value) bag->Write(key.get(), value.get());
    }
    site->CommitSmartTag(name.get(), start, length, bag.get());
}

}  // namespace

HRESULT STRecognizer::CreateInstance(IUnknown* outer, REFIID interfaceId, void** out) noexcept {
    return CreateAggregatableInstance<STRecognizer>(outer, interfaceId, out);
}

STRecognizer::STRecognizer(IUnknown* outer) noexcept
    : AggregatableObject(outer), own_(*this, typeInfo.own), recognizer_(*this, typeInfo.host) {}

IUnknown* STRecognizer::FindInterface(REFIID interfaceId) noexcept {
    return FindSmartTagInterface<ISTRecognizer, ISmartTagRecognizer>(interfaceId, &own_,
                                                                     &recognizer_);
}

HRESULT STDMETHODCALLTYPE STRecognizer::RecognizerInterface::get_ProgId(BSTR* progId) noexcept {
    return AtBoundary([&] {
        if (progId == nullptr) return E_POINTER;
        *progId = nullptr;
        const SmartTagCatalogue* catalogue = Catalogue();
        if (catalogue == nullptr) return E_FAIL;
        *progId = CopyBstr(catalogue->RecognizerStrings().ProgId());
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE STRecognizer::RecognizerInterface::get_Name(int, BSTR* name) noexcept {
    return AtBoundary([&] { return LoadClassString(kRecognizerNameId, name); });
}

HRESULT STDMETHODCALLTYPE STRecognizer::RecognizerInterface::get_Desc(int,
                                                                      BSTR* description) noexcept {
    return AtBoundary([&] { return LoadClassString(kRecognizerDescriptionId, description); });
}

HRESULT STDMETHODCALLTYPE
STRecognizer::RecognizerInterface::get_SmartTagCount(int* count) noexcept {
    return AtBoundary([&] { return CountTagTypes(count); });
}

HRESULT STDMETHODCALLTYPE STRecognizer::RecognizerInterface::get_SmartTagName(int smartTagId,
                                                                              BSTR* name) noexcept {
    return AtBoundary([&] {
        if (name == nullptr) return E_POINTER;
        const SmartTagType* type = TagTypeWithId(smartTagId);
        if (type == nullptr) return E_INVALIDARG;
        *name = CopyBstr(type->Name());
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE
STRecognizer::RecognizerInterface::get_SmartTagDownloadURL(int smartTagId, BSTR* url) noexcept {
    return AtBoundary([&] {
        if (url == nullptr) return E_POINTER;
        const SmartTagType* type = TagTypeWithId(smartTagId);
        if (type == nullptr) return E_INVALIDARG;
        *url = CopyBstr(type->DownloadUrl());
        return S_OK;
    });
}

// Term by term, every occurrence in text order; the search goes on one character after the
// start of each occurrence, so occurrences that overlap are each tagged.
HRESULT STDMETHODCALLTYPE STRecognizer::RecognizerInterface::Recognize(
    BSTR text, IF_TYPE, int, ISmartTagRecognizerSite* site) noexcept {
    return AtBoundary([&] {
        const SmartTagCatalogue* catalogue = Catalogue();
        if (catalogue == nullptr || catalogue->TermCount() == 0) return S_OK;
        // An empty cell may arrive as a null string: it holds no term.
        if (text == nullptr) return S_OK;
        // Every occurrence is tagged with the first tag type; without one there is nothing to tag.
        const SmartTagType* type = catalogue->TagType(0);
        if (type == nullptr) return S_OK;
        for (std::uint32_t position = 0; position < catalogue->TermCount(); ++position) {
            const SmartTagTerm* term = catalogue->Term(position);
            if (term == nullptr || SysStringLen(term->Term()) == 0) continue;
            const auto length = static_cast<int>(SysStringLen(term->Term()));
            for (const wchar_t* found = std::wcsstr(text, term->Term()); found != nullptr;
                 found = std::wcsstr(found + 1, term->Term())) {
                // Only a found term needs the site, to commit its tag.
                if (site == nullptr) return E_POINTER;
                CommitOccurrence(site, type->Name(), static_cast<int>(found - text) + 1, length,
                                 term->Url());
            }
        }
        return S_OK;
    });
}

}  // namespace vistrel
