#include "tools/calculator_options.h"

#include <cmath>
#include <string_view>

#include "engine/amount_text.h"
#include "tools/quoting.h"

namespace vistrel::tools {
namespace {

OptionsOutcome Refuse(std::string message) {
    return OptionsOutcome{std::nullopt, std::move(message)};
}

// Command-line text is UTF-8; no character of a number lies outside ASCII, so the bytes
// themselves serve the engine's reader.
std::u16string Widened(std::string_view text) {
    std::u16string wide;
    for (const char c : text) wide.push_back(static_cast<unsigned char>(c));
    return wide;
}

std::optional<double> ReadAmountValue(std::string_view text, std::string& error) {
    const AmountReading amount = ReadAmount(Widened(text));
    if (!amount.whole || !std::isfinite(amount.value)) {
        error = "Kwota " + Quoted(text) + " nie jest liczbą (na przykład 1234,56 albo 1234.56).";
        return std::nullopt;
    }
    if (amount.value < 0.0) {
        error = "Kwota " + Quoted(text) + " jest ujemna, a odsetki liczy się od kwoty zaległości.";
        return std::nullopt;
    }
    if (amount.value > LargestAmount) {
        error = "Kwota " + Quoted(text) +
                " przekracza 10 000 000 000 000 zł; tak dużej kwoty nie da się policzyć "
                "dokładnie do grosza.";
        return std::nullopt;
    }
    return amount.value + 0.0;  // -0 becomes 0
}

// `name` is the date's role in the message, e.g. "data należności".
std::optional<std::chrono::year_month_day> ReadDate(std::string_view text, std::string_view name,
                                     std::string& error) {
    const auto date = ParseCalendarDate(text);
    if (!date) {
        error = std::string(name) + " " + Quoted(text) +
                " nie jest poprawną datą w postaci RRRR-MM-DD.";
        return std::nullopt;
    }
    if (!IsAcceptedDate(*date)) {
        error = std::string(name) + " " + Quoted(text) + " leży poza obsługiwanym zakresem " +
                FormatCalendarDate(FirstAcceptedDate) + " – " +
                FormatCalendarDate(LastAcceptedDate) + ".";
        return std::nullopt;
    }
    return date;
}

}  // namespace

OptionsOutcome ParseCalculatorOptions(const std::vector<std::string>& arguments) {
    CalculatorOptions options;
    std::vector<std::string_view> values;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        const std::string_view text = argument;
        if (optionsEnded || !text.starts_with("-") || (!text.starts_with("--") && text != "-h")) {
            values.push_back(text);
        } else if (text == "--") {
            optionsEnded = true;
        } else if (text == "--pomoc" || text == "-h" || text == "--help") {
            options.help = true;
            return OptionsOutcome{options, {}};
        } else if (text == "--maszynowo") {
            options.machineReadable = true;
        } else if (text == "--teraz" || text == "--strona") {
            // "--strona PLIK" would otherwise take PLIK as one of the three values.
            return Refuse("opcja " + std::string(text) + " wymaga postaci " + std::string(text) +
                          (text == "--teraz" ? "=CZAS" : "=PLIK"));
        } else if (text.starts_with("--teraz=")) {
            options.now = ParseMoment(text.substr(8));
            if (!options.now) {
                return Refuse(
                    "Opcja --teraz wymaga chwili od 1970-01-01 00:00 UTC w postaci "
                    "RRRR-MM-DDTGG:MM:SS (czas lokalny) albo liczby sekund od tej chwili, a podano " +
                    Quoted(text.substr(8)) + ".");
            }
        } else if (text.starts_with("--strona=")) {
            if (text.size() == 9) {
                return Refuse("Opcja --strona wymaga ścieżki do pliku strony ze stopami odsetek.");
            }
            options.pagePath = std::string(text.substr(9));
        } else {
            return Refuse("Nieznana opcja " + Quoted(text) +
                          ". Opis programu: kalkulator-odsetek --pomoc");
        }
    }
    if (values.size() != 3) {
        return Refuse(
            "Oczekiwano trzech wartości: daty należności, daty zapłaty i kwoty, a podano " +
            std::to_string(values.size()) + ". Opis programu: kalkulator-odsetek --pomoc");
    }
    std::string error;
    const auto due = ReadDate(values[0], "Data należności", error);
    if (!due) {
        return Refuse(error);
    }
    const auto payment = ReadDate(values[1], "Data zapłaty", error);
    if (!payment) {
        return Refuse(error);
    }
    const auto amount = ReadAmountValue(values[2], error);
    if (!amount) {
        return Refuse(error);
    }
    options.due = *due;
    options.payment = *payment;
    options.amount = *amount;
    return OptionsOutcome{options, {}};
}

std::string HelpText() {
    return R"(Kalkulator odsetek za zwłokę od zaległości podatkowych.

Użycie:
  kalkulator-odsetek [opcje] DATA_NALEŻNOŚCI DATA_ZAPŁATY KWOTA

  DATA_NALEŻNOŚCI, DATA_ZAPŁATY
                 daty w postaci RRRR-MM-DD, od 1970-01-02 do 2038-01-18; odsetki
                 biegną od dnia po dacie należności do dnia zapłaty włącznie,
                 w każdym okresie według jego stopy
  KWOTA          kwota zaległości z przecinkiem albo kropką dziesiętną,
                 na przykład 1234,56 lub 1234.56, od 0 do 10 000 000 000 000

Opcje:
  --strona=PLIK  strona ze stopami odsetek (tabela HTML w kodowaniu ISO 8859-2);
                 domyślnie stopy_odsetek.html z katalogu programu
  --teraz=CZAS   chwila bieżąca, dla powtarzalnych wyników: RRRR-MM-DDTGG:MM:SS
                 czasu lokalnego albo liczba sekund od 1970-01-01 00:00 UTC;
                 do niej trwa najnowszy okres bez daty końca i od niej zależy
                 czas letni lub zimowy przy przeliczaniu dat
  --maszynowo    tylko jeden wiersz do dalszej obróbki, na przykład
                   odsetki=45.2 zaokraglone=45 dni=10
                 odsetki: jak trafiają do arkusza (kropka, jedno miejsce po
                 kropce); zaokraglone: w pełnych złotych (poniżej 50 groszy
                 w dół, od 50 groszy w górę); dni: dni zwłoki objęte stopami
  --pomoc, -h    ten opis
  --             koniec opcji

Kody wyjścia:
  0  odsetki obliczone
  1  błędne wywołanie, data, kwota albo data należności późniejsza od daty zapłaty
  2  nie można odczytać pliku strony ze stopami
  3  na stronie nie ma stóp albo żadna nie obejmuje dnia po dacie należności
  4  nieoczekiwany błąd programu
)";
}

}  // namespace vistrel::tools
