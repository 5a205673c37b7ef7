#include "tools/calculator_cli.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/calculation.h"
#include "tools/calculator_options.h"
#include "tools/pinned_clock.h"
#include "tools/rate_page_file.h"
#include "tools/report.h"

namespace vistrel::tools {
namespace {

CliOutput Failure(ExitCode code, const std::string& message) {
    return CliOutput{code, {}, "Błąd: " + message + "\n"};
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<std::int32_t> InstantOf(const CalendarDate& date, std::int32_t now,
                                      std::string& error) {
    const auto instant = CalculatorInstant(date, now);
    if (!instant) {
        error = "Daty " + FormatCalendarDate(date) +
                " nie da się przeliczyć na czas lokalny tego komputera.";
    }
    return instant;
}

bool HasRate(const RatePeriod& period) {
    return period.kind != RateKind::None;
}

}  // namespace

CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const std::filesystem::path& defaultPage) {
    const OptionsOutcome outcome = ParseCalculatorOptions(arguments);
    if (!outcome.options) {
        return Failure(ExitBadArguments, outcome.error);
    }
    const CalculatorOptions& options = *outcome.options;
    if (options.help) {
        return CliOutput{ExitSuccess, HelpText(), {}};
    }

    // The page's open period ends "now" and the dates take today's daylight-saving flag: one
    // moment for both, as when the dialog runs right after the page was read.
    const std::int32_t now = options.now.value_or(CurrentTime());
    const PinnedClock clock(now);

    std::string error;
    const auto dueInstant = InstantOf(options.due, now, error);
    if (!dueInstant) {
        return Failure(ExitBadArguments, error);
    }
    const auto paymentInstant = InstantOf(options.payment, now, error);
    if (!paymentInstant) {
        return Failure(ExitBadArguments, error);
    }
    if (*dueInstant > *paymentInstant) {
        return Failure(ExitBadArguments, "Data Należności późniejsza od Daty Zapłaty!");
    }

    const std::filesystem::path pagePath =
        options.pagePath ? PathFromUtf8(*options.pagePath) : defaultPage;
    const std::string pageName = options.pagePath ? *options.pagePath : Utf8Of(defaultPage);
    const RatePageFile page = ReadRatePageFile(pagePath, pageName);
    if (!page.text) {
        return Failure(ExitUnreadablePage, page.error);
    }
    RateTable table{};
    ParseRatePage(*page.text, table);
    if (std::none_of(table.begin(), table.end(), HasRate)) {
        return Failure(ExitNoRate, "Na stronie nie ma żadnego okresu ze stopą odsetek: " + pageName);
    }

    const Calculation calculation = Calculate(table, options.due, options.payment, *dueInstant,
                                              *paymentInstant, options.amount);
    if (calculation.shares.empty() && *dueInstant < *paymentInstant) {
        return Failure(ExitNoRate,
                       "Strona ze stopami nie podaje stopy na dzień po dacie należności " +
                           FormatCalendarDate(options.due) + ", więc odsetek nie można obliczyć.");
    }
    if (!std::isfinite(calculation.interest)) {
        return Failure(ExitBadArguments, "Kwota jest zbyt duża, by obliczyć od niej odsetki.");
    }
    return CliOutput{
        ExitSuccess,
        options.machineReadable ? FormatMachineLine(calculation) : FormatReport(calculation),
        {}};
}

}  // namespace vistrel::tools
