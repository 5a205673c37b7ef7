#include "calculator/failure_description.h"

#include <cwctype>

#include "platform/unique_resource.h"

namespace vistrel {
namespace {

std::wstring WithoutTrailingBlanks(std::wstring text) {
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    return text;
}

std::wstring ErrorInfoDescription(IErrorInfo* errorInfo) {
    if (errorInfo == nullptr) return {};
    UniqueBstr description;
    if (FAILED(errorInfo->GetDescription(description.put())) || !description) return {};
    return WithoutTrailingBlanks(std::wstring(description.get(), SysStringLen(description.get())));
}

}  // namespace

std::wstring FailureDescription(const _com_error& error) {
    std::wstring description = ErrorInfoDescription(error.ErrorInfo());
    if (description.empty()) {
        if (const wchar_t* systemText = error.ErrorMessage()) {
            description = WithoutTrailingBlanks(systemText);
        }
    }
    return description;
}

}  // namespace vistrel
