#include "tools/calculator_options.h"

#include <string_view>

#include "engine/amount_text.h"
#include "tools/debt_list.h"
#include "tools/quoting.h"
#include "tools/utf8.h"

namespace vistrel::tools {

using namespace rules;
namespace {

OptionsOutcome Refuse(std::string message) {
    return OptionsOutcome{std::nullopt, std::move(message)};
}

}  // namespace

std::optional<double> ReadAmountText(std::string_view text, std::string& error) {
    const EnteredAmount amount = ReadEnteredAmount(Utf16FromUtf8(text));
    switch (amount.problem) {
    case AmountProblem::None: return amount.value;
    case AmountProblem::NotAnAmount:
        error = "Kwota " + Quoted(text) + " nie jest liczbą (na przykład 1234,56 albo 1234.56).";
        break;
    case AmountProblem::Negative:
        error = "Kwota " + Quoted(text) + " jest ujemna, a odsetki liczy się od kwoty zaległości.";
        break;
    case AmountProblem::TooLarge:
        error = "Kwota " + Quoted(text) +
                " przekracza 10 000 000 000 000 zł; tak dużej kwoty nie da się policzyć "
                "dokładnie do grosza.";
        break;
    }
    return std::nullopt;
}

std::optional<std::pair<std::chrono::year_month_day, double>> ReadPaymentText(std::string_view text,
                                                                              std::string& error,
                                                                              bool fromList) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        error = "Wpłata " + Quoted(text) +
                " nie ma postaci DATA:KWOTA (na przykład "
                "2023-03-15:5000,00).";
        return std::nullopt;
    }
    const std::string_view dateText = text.substr(0, colon);
    auto date = fromList ? ParseListDate(dateText) : ParseCalendarDate(dateText);
    if (!date || !IsAcceptedDate(*date)) {
        error = "Data wpłaty " + Quoted(dateText) + " nie jest poprawną datą z zakresu " +
                FormatCalendarDate(EarliestEntryDate) + " – " +
                FormatCalendarDate(LatestEntryDate) + " (RRRR-MM-DD).";
        return std::nullopt;
    }
    const auto amount = ReadAmountText(text.substr(colon + 1), error);
    if (!amount) return std::nullopt;
    return std::pair{*date, *amount};
}

namespace {

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
                FormatCalendarDate(EarliestEntryDate) + " – " +
                FormatCalendarDate(LatestEntryDate) + ".";
        return std::nullopt;
    }
    return date;
}

}  // namespace

OptionsOutcome ParseCalculatorOptions(const std::vector<std::string>& arguments) {
    CalculatorOptions options;
    bool builtInNamed = false;
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
        } else if (text.starts_with("--wplata=")) {
            std::string error;
            const auto payment = ReadPaymentText(text.substr(9), error);
            if (!payment) return Refuse(error);
            options.payments.push_back(*payment);
        } else if (text.starts_with("--na-dzien=")) {
            std::string error;
            const auto day = ReadDate(text.substr(11), "Dzień stanu (--na-dzien)", error);
            if (!day) return Refuse(error);
            options.balanceDay = *day;
        } else if (text == "--wbudowane") {
            builtInNamed = true;
        } else if (text == "--bez-przesuniecia") {
            options.shiftDueDate = false;
        } else if (text.starts_with("--stawka=")) {
            const auto kind = ParseKindName(text.substr(9));
            if (!kind) {
                return Refuse(
                    "Opcja --stawka przyjmuje podstawowa, obnizona albo podwyzszona, a "
                    "podano " +
                    Quoted(text.substr(9)) + ".");
            }
            options.rateKind = *kind;
        } else if (text.starts_with("--lista=") || text.starts_with("--wynik=")) {
            if (text.size() == 8) {
                return Refuse("Opcja " + std::string(text.substr(0, 7)) +
                              " wymaga ścieżki do pliku.");
            }
            (text.starts_with("--lista=") ? options.listPath : options.resultPath) =
                std::string(text.substr(8));
        } else if (text == "--teraz" || text == "--strona" || text == "--stawka" ||
                   text == "--lista" || text == "--wynik" || text == "--wplata" ||
                   text == "--na-dzien") {
            // "--strona PLIK" would otherwise take PLIK as one of the three values.
            return Refuse("opcja " + std::string(text) + " wymaga postaci " + std::string(text) +
                          (text == "--teraz"      ? "=CZAS"
                           : text == "--stawka"   ? "=RODZAJ"
                           : text == "--wplata"   ? "=DATA:KWOTA"
                           : text == "--na-dzien" ? "=DATA"
                                                  : "=PLIK"));
        } else if (text.starts_with("--teraz=")) {
            options.now = ParseMoment(text.substr(8));
            if (!options.now) {
                return Refuse(
                    "Opcja --teraz wymaga chwili od 1970-01-01 00:00 UTC w postaci "
                    "RRRR-MM-DDTGG:MM:SS (czas lokalny) albo liczby sekund od tej chwili, a "
                    "podano " +
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
    if (builtInNamed && options.pagePath) {
        return Refuse(
            "Opcje --wbudowane i --strona wykluczają się: stopy są albo wbudowane, "
            "albo ze strony.");
    }
    if (options.resultPath && !options.listPath) {
        return Refuse("Opcja --wynik zapisuje wynik listy i wymaga opcji --lista=PLIK.");
    }
    if (options.listPath && options.PaidInParts()) {
        return Refuse("Wpłaty listy podaje jej piąta kolumna, nie opcje --wplata i --na-dzien.");
    }
    if (options.listPath) {
        if (!values.empty()) {
            return Refuse("Z opcją --lista daty i kwoty podaje plik listy, a podano jeszcze " +
                          std::to_string(values.size()) + " wartości.");
        }
        return OptionsOutcome{options, {}};
    }
    if (options.PaidInParts()) {
        if (values.size() != 2) {
            return Refuse(
                "Z wpłatami (--wplata, --na-dzien) oczekiwano dwóch wartości: daty "
                "należności i kwoty zaległości, a podano " +
                std::to_string(values.size()) + ".");
        }
        std::string error;
        const auto due = ReadDate(values[0], "Data należności", error);
        if (!due) return Refuse(error);
        const auto amount = ReadAmountText(values[1], error);
        if (!amount) return Refuse(error);
        options.due = *due;
        options.amount = *amount;
        return OptionsOutcome{options, {}};
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
    const auto amount = ReadAmountText(values[2], error);
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
  kalkulator-odsetek [opcje] --lista=PLIK.csv [--wynik=WYNIK.csv]
  kalkulator-odsetek [opcje] DATA_NALEŻNOŚCI KWOTA --wplata=DATA:KWOTA...
                     [--na-dzien=DATA]

  DATA_NALEŻNOŚCI, DATA_ZAPŁATY
                 daty w postaci RRRR-MM-DD, od 1970-01-02 do 2038-01-18; odsetki
                 biegną od dnia po dacie należności do dnia zapłaty włącznie,
                 w każdym okresie według jego stopy; termin przypadający
                 w sobotę lub dzień ustawowo wolny od pracy przesuwa się na
                 następny dzień roboczy (art. 12 § 5 Ordynacji podatkowej)
  KWOTA          kwota zaległości z przecinkiem albo kropką dziesiętną i najwyżej
                 dwiema cyframi groszy, tysiące razem albo oddzielone spacją,
                 na przykład 1234,56, 1 234,56 lub 1234.56, od 0
                 do 10 000 000 000 000

Opcje:
  --stawka=RODZAJ
                 podstawowa (domyślnie), obnizona albo podwyzszona: obniżona
                 i podwyższona to ułamki stawki podstawowej obowiązujące
                 w danym dniu (75% od 2009 r., 50% od 2016 r.; 150% od 2016 r.)
  --wplata=DATA:KWOTA
                 wpłata części długu (kolejne w kolejności dat); każdą dzieli
                 się na zaległość i odsetki należne w dniu wpłaty w stosunku,
                 w jakim pozostają do siebie (art. 55 § 2 Ordynacji podatkowej);
                 odsetki biegną dalej tylko od pozostałej zaległości
  --na-dzien=DATA
                 stan długu w tym dniu (po wpłatach albo bez nich)
  --bez-przesuniecia
                 nie przesuwa terminu z dnia wolnego od pracy
  --lista=PLIK   oblicza listę należności z pliku CSV (pola rozdzielone
                 średnikiem, tabulatorem albo przecinkiem, w cudzysłowach
                 według RFC 4180; UTF-8, UTF-16 ze znacznikiem BOM albo
                 Windows-1250; wiersz nagłówka nieobowiązkowy): w każdym
                 wierszu data należności, data zapłaty (RRRR-MM-DD albo
                 DD.MM.RRRR), kwota, nieobowiązkowo rodzaj stawki, wpłaty
                 części długu (DATA:KWOTA rozdzielone znakiem |; data zapłaty
                 jest wtedy dniem stanu albo zostaje pusta) i data złożenia
                 korekty; do wierszy dopisuje dni, odsetki, odsetki
                 zaokrąglone i uwagi; wiersz, którego nie da się odczytać,
                 zostaje bez odsetek i jest wymieniony na standardowym
                 wyjściu błędów ("wiersz 3: ..."), a na końcu podsumowanie
  --wynik=PLIK   zapisuje wynik listy do pliku (w kodowaniu, z separatorem
                 i końcami wierszy listy) zamiast na standardowe wyjście;
                 plik zostaje zastąpiony dopiero pełnym wynikiem, a po błędzie
                 lub przerwaniu (Ctrl+C) pozostaje bez zmian
  --wbudowane    stopy wbudowane w program (domyślnie): historia stóp ogłaszanych
                 przez Ministerstwo Finansów; raport podaje początek najnowszego
                 okresu i ostrzega, gdy data zapłaty wypada ponad 120 dni później
  --strona=PLIK  strona ze stopami odsetek (tabela HTML w kodowaniu ISO 8859-2)
                 zamiast stóp wbudowanych, na przykład aktualna strona ministerstwa
  --teraz=CZAS   chwila bieżąca, dla powtarzalnych wyników: RRRR-MM-DDTGG:MM:SS
                 czasu lokalnego albo liczba sekund od 1970-01-01 00:00 UTC;
                 do niej trwa najnowszy okres bez daty końca i od niej zależy
                 czas letni lub zimowy przy przeliczaniu dat
  --maszynowo    tylko jeden wiersz do dalszej obróbki, na przykład
                   odsetki=45.2 zaokraglone=45 dni=10
                 odsetki: jak trafiają do arkusza (kropka, jedno miejsce po
                 kropce); zaokraglone: w pełnych złotych (poniżej 50 groszy
                 w dół, od 50 groszy w górę); dni: dni zwłoki objęte stopami;
                 na końcu prog=8.70, gdy odsetki nie przekraczają kwoty, do
                 której się ich nie nalicza (art. 54 § 1 pkt 5 Ordynacji);
                 z wpłatami jeden wiersz na wpłatę i jeden na dzień stanu
  --pomoc, -h    ten opis
  --             koniec opcji

Kody wyjścia:
  0  odsetki obliczone
  1  błędne wywołanie, data, kwota albo data należności późniejsza od daty zapłaty
  2  nie można odczytać pliku strony ze stopami lub listy albo zapisać wyniku
  3  na stronie nie ma stóp albo nie obejmują one wszystkich dni zwłoki
  4  nieoczekiwany błąd programu
  5  lista obliczona, ale niektórych jej wierszy nie dało się odczytać
  7  obliczanie listy przerwane (Ctrl+C); plik wyniku bez zmian
)";
}

}  // namespace vistrel::tools
