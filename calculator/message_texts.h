// Every text that the calculator shows in a message box, and their common caption.
#pragma once

namespace vistrel {

inline constexpr wchar_t kMessageCaption[] = L"Radediv idudaz";
inline constexpr wchar_t kDueAfterPaymentMessage[] = L"Data Należności późniejsza od Daty Zapłaty!";
inline constexpr wchar_t kDateOutOfRangeMessage[] =
    L"Data spoza zakresu od 1970-01-02 do 2038-01-18!";
inline constexpr wchar_t kNoRateForDueDateMessage[] = L"Brak stopy odsetek dla daty należności!";
inline constexpr wchar_t kInternetFailureMessage[] = L"Błąd internetu!";
// Followed, on a line of its own, by the description of the failure when there is one.
inline constexpr wchar_t kWriteBackFailureMessage[] = L"Nie udało się wpisać wyników do arkusza.";

}  // namespace vistrel
