// Every text that the calculator shows in a message box, and their common caption.
#pragma once

namespace vistrel {

inline constexpr wchar_t kMessageCaption[] = L"Radediv idudaz";
inline constexpr wchar_t kDueAfterPaymentMessage[] = L"Data Należności późniejsza od Daty Zapłaty!";
inline constexpr wchar_t kDateOutOfRangeMessage[] =
    L"Data spoza zakresu od 1970-01-02 do 2038-01-18!";
inline constexpr wchar_t kNoRateForDueDateMessage[] = L"Brak stopy odsetek dla daty należności!";
inline constexpr wchar_t kUncoveredDelayMessage[] = L"Brak stopy odsetek dla części okresu zwłoki!";
inline constexpr wchar_t kInvalidAmountMessage[] =
    L"Nieprawidłowa kwota: wpisz liczbę złotych, np. 1 234,56.";
// When the rate page cannot be had: the first line says why, the question on the next line offers
// the rates the program carries ("%s": the first day of their newest period, "5 marca 2026 r.").
inline constexpr wchar_t kPageNotFetchedMessage[] =
    L"Nie udało się pobrać strony ze stopami odsetek.";
inline constexpr wchar_t kPageWithoutTableMessage[] =
    L"Strona stóp odsetek nie zawiera tabeli stóp.";
inline constexpr wchar_t kBuiltInRatesQuestion[] =
    L"Czy obliczyć odsetki według stóp wbudowanych w program (ostatnia zmiana: %s)?";
// Followed, on a line of its own, by the description of the failure when there is one.
inline constexpr wchar_t kWriteBackFailureMessage[] = L"Nie udało się wpisać wyników do arkusza.";

}  // namespace vistrel
