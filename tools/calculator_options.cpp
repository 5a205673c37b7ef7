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
    std::string amountError;
    const auto amount = ReadAmountText(text.substr(colon + 1), amountError);
    if (!amount) {
        // "Kwota „-5” jest ujemna..." becomes part of a sentence about the payment.
        if (!amountError.empty()) amountError[0] = 'k';
        error = "Wpłata " + Quoted(text) + ": " + amountError;
        return std::nullopt;
    }
    if (*amount == 0.0) {
        error = "Wpłata " + Quoted(text) + " ma kwotę 0 zł, a wpłata musi być większa od zera.";
        return std::nullopt;
    }
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

namespace {

// What the options set beyond the options themselves while the command line is read.
struct ParseState {
    bool builtInNamed = false;
    bool helpAsked = false;
};

// One option: its name, its argument's name (none for a switch), the lines --pomoc gives it,
// and what it does with its value; a Polish message when the value is wrong.
struct OptionSpec {
    std::string_view name;
    std::string_view argument;
    std::string_view help;
    std::optional<std::string> (*apply)(std::string_view value, CalculatorOptions& options,
                                        ParseState& state);
};

std::optional<std::string> ReadOptionDate(std::string_view value, std::string_view role,
                                          std::optional<std::chrono::year_month_day>& into) {
    std::string error;
    const auto day = ReadDate(value, role, error);
    if (!day) return error;
    into = *day;
    return std::nullopt;
}

std::optional<std::string> ReadOptionPath(std::string_view value, std::string_view option,
                                          std::string_view what, std::optional<std::string>& into) {
    if (value.empty()) return "Opcja " + std::string(option) + " wymaga " + std::string(what) + ".";
    into = std::string(value);
    return std::nullopt;
}

constexpr OptionSpec Options[] = {
    {"--stawka", "RODZAJ",
     R"(podstawowa (domyślnie), obnizona albo podwyzszona: ułamek
stawki podstawowej, jeden dla wszystkich dni zwłoki, według
przepisu, który obejmuje dług: obniżona 75% (korekta złożona
w latach 2009-2015, a dla zaległości sprzed 2016 r. także po
30 czerwca 2016 r.) albo 50% (korekta od 2016 r.), przy
zapłacie w ciągu 7 dni od korekty; podwyższona 150% (zaległości
powstałe od 2016 r.); raport podaje przepis i przyjęte warunki)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         const auto kind = rules::ParseKindName(value);
         if (!kind) {
             return std::optional<std::string>(
                 "Opcja --stawka przyjmuje podstawowa, obnizona albo podwyzszona, a podano " +
                 Quoted(value) + ".");
         }
         options.rateKind = *kind;
         return std::optional<std::string>();
     }},
    {"--korekta", "DATA",
     R"(dzień złożenia korekty deklaracji, od którego zależy stawka
obniżona; bez niego kalkulator przyjmuje korektę z 7 dni przed
zapłatą, jeśli każdy z tych dni daje ten sam przepis)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         return ReadOptionDate(value, "Dzień złożenia korekty (--korekta)", options.correction);
     }},
    {"--wplata", "DATA:KWOTA",
     R"(wpłata części długu (kolejne w kolejności dat); każdą dzieli
się na zaległość i odsetki należne w dniu wpłaty w stosunku,
w jakim pozostają do siebie (art. 55 § 2 Ordynacji podatkowej);
odsetki biegną dalej tylko od pozostałej zaległości)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         std::string error;
         const auto payment = ReadPaymentText(value, error);
         if (!payment) return std::optional<std::string>(error);
         options.payments.push_back(*payment);
         return std::optional<std::string>();
     }},
    {"--na-dzien", "DATA", "stan długu w tym dniu (po wpłatach albo bez nich)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         return ReadOptionDate(value, "Dzień stanu (--na-dzien)", options.balanceDay);
     }},
    {"--bez-przesuniecia", "", "nie przesuwa terminu z dnia wolnego od pracy",
     [](std::string_view, CalculatorOptions& options, ParseState&) {
         options.shiftDueDate = false;
         return std::optional<std::string>();
     }},
    {"--lista", "PLIK",
     R"(oblicza listę należności z pliku CSV (pola rozdzielone
średnikiem, tabulatorem albo przecinkiem, w cudzysłowach
według RFC 4180; UTF-8, UTF-16 ze znacznikiem BOM albo
Windows-1250; wiersz nagłówka nieobowiązkowy): w każdym
wierszu data należności, data zapłaty (RRRR-MM-DD albo
DD.MM.RRRR), kwota, nieobowiązkowo rodzaj stawki, wpłaty
części długu (DATA:KWOTA rozdzielone znakiem |; data zapłaty
jest wtedy dniem stanu albo zostaje pusta) i dzień złożenia
korekty; do wierszy dopisuje dni, odsetki, odsetki
zaokrąglone i uwagi; wiersz, którego nie da się odczytać,
zostaje bez odsetek i jest wymieniony na standardowym
wyjściu błędów ("wiersz 3: ..."), a na końcu podsumowanie)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         return ReadOptionPath(value, "--lista", "ścieżki do pliku", options.listPath);
     }},
    {"--wynik", "PLIK",
     R"(zapisuje wynik listy do pliku (w kodowaniu, z separatorem
i końcami wierszy listy) zamiast na standardowe wyjście;
plik zostaje zastąpiony dopiero pełnym wynikiem, a po błędzie
lub przerwaniu (Ctrl+C) pozostaje bez zmian)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         return ReadOptionPath(value, "--wynik", "ścieżki do pliku", options.resultPath);
     }},
    {"--wbudowane", "",
     R"(stopy wbudowane w program (domyślnie): historia stóp ogłaszanych
przez Ministerstwo Finansów; raport podaje początek najnowszego
okresu i ostrzega, gdy data zapłaty wypada ponad 120 dni później)",
     [](std::string_view, CalculatorOptions&, ParseState& state) {
         state.builtInNamed = true;
         return std::optional<std::string>();
     }},
    {"--strona", "PLIK",
     R"(strona ze stopami odsetek (tabela HTML w kodowaniu ISO 8859-2)
zamiast stóp wbudowanych, na przykład aktualna strona ministerstwa)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         return ReadOptionPath(value, "--strona", "ścieżki do pliku strony ze stopami odsetek",
                               options.pagePath);
     }},
    {"--teraz", "CZAS",
     R"(chwila bieżąca, dla powtarzalnych wyników: RRRR-MM-DDTGG:MM:SS
czasu lokalnego albo liczba sekund od 1970-01-01 00:00 UTC;
do niej trwa najnowszy okres bez daty końca i od niej zależy
czas letni lub zimowy przy przeliczaniu dat)",
     [](std::string_view value, CalculatorOptions& options, ParseState&) {
         options.now = rules::ParseMoment(value);
         if (!options.now) {
             return std::optional<std::string>(
                 "Opcja --teraz wymaga chwili od 1970-01-01 00:00 UTC w postaci "
                 "RRRR-MM-DDTGG:MM:SS (czas lokalny) albo liczby sekund od tej chwili, a podano " +
                 Quoted(value) + ".");
         }
         return std::optional<std::string>();
     }},
    {"--maszynowo", "",
     R"(tylko jeden wiersz do dalszej obróbki, na przykład
  odsetki=45.2 zaokraglone=45 dni=10
odsetki: jak trafiają do arkusza (kropka, jedno miejsce po
kropce); zaokraglone: do zapłaty w pełnych złotych (poniżej 50
groszy w dół, od 50 groszy w górę; 0, gdy odsetek się nie
nalicza); dni: dni zwłoki objęte stopami; na końcu prog=8.70,
gdy odsetki nie przekraczają kwoty, do której się ich nie
nalicza (art. 54 § 1 pkt 5 Ordynacji); z wpłatami jeden wiersz
na wpłatę i jeden na dzień stanu)",
     [](std::string_view, CalculatorOptions& options, ParseState&) {
         options.machineReadable = true;
         return std::optional<std::string>();
     }},
    {"--pomoc", "", "ten opis (także -h)",
     [](std::string_view, CalculatorOptions&, ParseState& state) {
         state.helpAsked = true;
         return std::optional<std::string>();
     }},
};

const OptionSpec* FindOption(std::string_view name) {
    if (name == "-h" || name == "--help") name = "--pomoc";
    for (const OptionSpec& option : Options) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

}  // namespace

OptionsOutcome ParseCalculatorOptions(const std::vector<std::string>& arguments) {
    CalculatorOptions options;
    ParseState state;
    std::vector<std::string_view> values;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        const std::string_view text = argument;
        if (optionsEnded || !text.starts_with("-") || (!text.starts_with("--") && text != "-h")) {
            values.push_back(text);
            continue;
        }
        if (text == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = text.find('=');
        const std::string_view name = text.substr(0, equals);
        const OptionSpec* option = FindOption(name);
        if (option == nullptr || (option->argument.empty() && equals != std::string_view::npos)) {
            return Refuse("Nieznana opcja " + Quoted(text) +
                          ". Opis programu: kalkulator-odsetek --pomoc");
        }
        // "--strona PLIK" would otherwise take PLIK as one of the three values.
        if (!option->argument.empty() && equals == std::string_view::npos) {
            return Refuse("opcja " + std::string(name) + " wymaga postaci " + std::string(name) +
                          "=" + std::string(option->argument));
        }
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1);
        if (auto error = option->apply(value, options, state)) return Refuse(std::move(*error));
        if (state.helpAsked) {
            options.help = true;
            return OptionsOutcome{options, {}};
        }
    }
    if (state.builtInNamed && options.pagePath) {
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
    static constexpr std::string_view Text =
        R"(Kalkulator odsetek za zwłokę od zaległości podatkowych.

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
%OPCJE%  --             koniec opcji

Kody wyjścia:
  0  odsetki obliczone
  1  błędne wywołanie, data, kwota albo data należności późniejsza od daty zapłaty
  2  nie można odczytać pliku strony ze stopami lub listy albo zapisać wyniku
  3  na stronie nie ma stóp albo nie obejmują one wszystkich dni zwłoki
  4  nieoczekiwany błąd programu
  5  lista obliczona, ale niektórych jej wierszy nie dało się odczytać
  6  przepisy (według znanych źródeł) nie rozstrzygają, jaką stawkę zastosować
  7  obliczanie listy przerwane (Ctrl+C); plik wyniku bez zmian
)";
    // Each option's name and argument, then its lines indented under them.
    std::string options;
    for (const OptionSpec& option : Options) {
        std::string head = "  " + std::string(option.name);
        if (!option.argument.empty()) head += "=" + std::string(option.argument);
        std::string_view help = option.help;
        bool first = true;
        while (!help.empty()) {
            const std::size_t lineEnd = help.find('\n');
            const std::string_view line = help.substr(0, lineEnd);
            help.remove_prefix(lineEnd == std::string_view::npos ? help.size() : lineEnd + 1);
            if (first && head.size() < 17) {
                options += head + std::string(17 - head.size(), ' ') + std::string(line) + "\n";
            } else {
                if (first) options += head + "\n";
                options += std::string(17, ' ') + std::string(line) + "\n";
            }
            first = false;
        }
    }
    std::string text(Text);
    text.replace(text.find("%OPCJE%"), 7, options);
    return text;
}

}  // namespace vistrel::tools
