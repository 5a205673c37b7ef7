// BSTRs compared with expected text in test assertions; a null BSTR is told apart from "".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vistrel::test {

inline std::optional<std::wstring> TextOf(BSTR text) {
    if (text == nullptr) return std::nullopt;
    return std::wstring(text, SysStringLen(text));
}

}  // namespace vistrel::test
