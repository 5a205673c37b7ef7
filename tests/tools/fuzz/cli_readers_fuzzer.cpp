// The command-line calculator's readers on arbitrary bytes: the Latin-2 decoding, the amount,
// date and moment readers and the option reader (the input's lines as the arguments). Each either
// answers with a value that keeps its promise or refuses with a message.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "engine/amount_text.h"
#include "tools/calculator_options.h"
#include "rules/calendar_date.h"
#include "tools/latin2.h"

namespace {

using namespace vistrel::tools;

void Require(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        lines.emplace_back(text.substr(start, end - start));
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Europe/Warsaw", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // One character per byte; below 0xA0 each keeps its value, above it none is a control.
    const std::u16string decoded = DecodeLatin2(text);
    Require(decoded.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0xA0)
            Require(decoded[i] == byte);
        else
            Require(decoded[i] >= 0xA0);
    }

    // The amount as the command line reads it: taken only from 0 to 10^13 zł, with a message
    // whenever it is refused.
    std::string amountError;
    if (const auto amount = ReadAmountText(text, amountError)) {
        Require(*amount >= 0.0 && *amount <= vistrel::LargestEnteredAmount);
        Require(amountError.empty());
    } else {
        Require(!amountError.empty());
    }

    if (const auto date = ParseCalendarDate(text)) {
        Require(date->ok());
        Require(FormatCalendarDate(*date) == text);
    }
    if (const auto moment = ParseMoment(text)) Require(*moment >= 0);

    const OptionsOutcome outcome = ParseCalculatorOptions(Lines(text));
    Require(outcome.options.has_value() != !outcome.error.empty());
    if (outcome.options && !outcome.options->help) {
        const CalculatorOptions& options = *outcome.options;
        Require(std::isfinite(options.amount) && options.amount >= 0.0);
        // A list brings its own dates and amounts; a debt paid in parts has no payment date.
        if (!options.listPath) {
            Require(IsAcceptedDate(options.due));
            if (!options.PaidInParts()) Require(IsAcceptedDate(options.payment));
        }
        for (const auto& [date, amount] : options.payments) {
            Require(IsAcceptedDate(date) && amount >= 0.0 &&
                    amount <= vistrel::LargestEnteredAmount);
        }
    }
    return 0;
}
