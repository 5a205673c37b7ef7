#include "tools/calculator_cli.h"

#include <algorithm>

#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/calculator_options.h"
#include "tools/case_calculation.h"
#include "tools/debt_list_run.h"
#include "tools/page_warnings.h"
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

CliOutput WithWarnings(const std::string& warnings, CliOutput output) {
    output.err = warnings + output.err;
    return output;
}

bool HasRate(const RatePeriod& period) {
    return period.kind != RateKind::None;
}

}  // namespace

CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const std::filesystem::path& defaultPage, const ProgressSink& progress) {
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

    // Wrong dates are named before the page is read, as the single form always did.
    if (!options.listPath) {
        const CaseOutcome early =
            CalculateCase(RateSource{}, CaseInput{options.due, options.payment, 0.0,
                                                  InterestRateKind::Basic, false},
                          now);
        if (early.exitCode == ExitBadArguments) {
            return Failure(early.exitCode, early.error);
        }
    }

    const std::filesystem::path pagePath =
        options.pagePath ? PathFromUtf8(*options.pagePath) : defaultPage;
    const std::string pageName = options.pagePath ? *options.pagePath : Utf8Of(defaultPage);
    const RatePageFile page = ReadRatePageFile(pagePath, pageName);
    if (!page.text) {
        return Failure(ExitUnreadablePage, page.error);
    }
    RateSource rates;
    rates.readings = ParseRatePage(*page.text, rates.table);
    // Rows the calculation may miss are named whatever comes of it.
    const std::string warnings = PageWarnings(*page.text, rates.readings, rates.table);
    if (std::none_of(rates.table.begin(), rates.table.end(), HasRate)) {
        return WithWarnings(warnings, Failure(ExitNoRate, "Na stronie nie ma żadnego okresu ze "
                                                          "stopą odsetek: " + pageName));
    }

    if (options.listPath) {
        return WithWarnings(warnings, RunDebtList(rates, options, now, progress));
    }

    const CaseOutcome result =
        CalculateCase(rates, CaseInput{options.due, options.payment, options.amount,
                                       options.rateKind, options.shiftDueDate},
                      now);
    if (!result.calculation) {
        return WithWarnings(warnings, Failure(result.exitCode, result.error));
    }
    return CliOutput{ExitSuccess,
                     options.machineReadable ? FormatMachineLine(*result.calculation)
                                             : FormatReport(*result.calculation),
                     warnings};
}

}  // namespace vistrel::tools
