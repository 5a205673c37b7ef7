#include "tests/host/recognizer_site.h"

namespace vistrel::host {
namespace {

std::wstring Text(BSTR text) {
    return text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
}

HRESULT HandOut(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT PropertyBag::get_Read(BSTR key, BSTR* value) {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    for (const auto& [name, text] : entries) {
        if (name == Text(key)) return HandOut(text, value);
    }
    return S_OK;
}

HRESULT PropertyBag::Write(BSTR key, BSTR value) {
    for (auto& [name, text] : entries) {
        if (name == Text(key)) {
            text = Text(value);
            return S_OK;
        }
    }
    entries.emplace_back(Text(key), Text(value));
    return S_OK;
}

HRESULT PropertyBag::get_Count(int* count) {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<int>(entries.size());
    return S_OK;
}

HRESULT PropertyBag::get_KeyFromIndex(int index, BSTR* key) {
    if (key == nullptr) return E_POINTER;
    if (index < 1 || index > static_cast<int>(entries.size())) return E_INVALIDARG;
    return HandOut(entries[index - 1].first, key);
}

HRESULT PropertyBag::get_ValueFromIndex(int index, BSTR* value) {
    if (value == nullptr) return E_POINTER;
    if (index < 1 || index > static_cast<int>(entries.size())) return E_INVALIDARG;
    return HandOut(entries[index - 1].second, value);
}

HRESULT RecognizerSite::GetNewPropertyBag(ISmartTagProperties** bag) {
    if (bag == nullptr) return E_POINTER;
    *bag = new PropertyBag;
    return S_OK;
}

// The bag handed in is one of this site's own; its entries are kept with the tag.
HRESULT RecognizerSite::CommitSmartTag(BSTR type, int start, int length, ISmartTagProperties* bag) {
    CommittedTag tag{Text(type), start, length, {}};
    if (bag != nullptr) {
        int count = 0;
        if (SUCCEEDED(bag->get_Count(&count))) {
            for (int i = 1; i <= count; ++i) {
                BSTR key = nullptr;
                BSTR value = nullptr;
                bag->get_KeyFromIndex(i, &key);
                bag->get_ValueFromIndex(i, &value);
                tag.properties.emplace_back(Text(key), Text(value));
                SysFreeString(key);
                SysFreeString(value);
            }
        }
    }
    tags.push_back(std::move(tag));
    return S_OK;
}

}  // namespace vistrel::host
