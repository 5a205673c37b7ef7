// Every text that the calculator shows in a message box, and their common caption.
#pragma once

namespace vistrel {

inline constexpr wchar_t kMessageCaption[] = L"Radediv idudaz";
inline constexpr wchar_t kDueAfterPaymentMessage[] = L"Data Należności późniejsza od Daty Zapłaty!";
inline constexpr wchar_t kDateOutOfRangeMessage[] =
    L"Data spoza zakresu od 1970-01-02 do 2038-01-18!";

}  // namespace vistrel
