// The rate-page parser and the interest walk together, with fuzzed instants and amount: the
// input's first 4 + 4 + 8 bytes are the due instant, the payment instant and the amount (as the
// machine stores them), the rest the page's UTF-16 text. The walk names only rows that hold a
// rate, in table order; its sum is the interest, never NaN when each term is a number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/interest.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tests/engine/fuzz/utf16_input.h"

namespace {

using vistrel::InterestTerm;
using vistrel::RateKind;

void Require(bool condition) {
    if (!condition) std::abort();
}

template <typename Number>
Number Take(const std::uint8_t*& data, std::size_t& size) {
    Number value{};
    const std::size_t taken = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, taken);
    data += taken;
    size -= taken;
    return value;
}

bool SameNumber(double left, double right) {
    return std::memcmp(&left, &right, sizeof left) == 0 || (std::isnan(left) && std::isnan(right));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto due = Take<std::int32_t>(data, size);
    const auto payment = Take<std::int32_t>(data, size);
    const auto amount = Take<double>(data, size);
    vistrel::RateTable table{};
    vistrel::ParseRatePage(vistrel::test::Utf16FromBytes(data, size), table);

    const vistrel::DelayInterest delay = vistrel::InterestOverDelay(table, due, payment, amount);
    const std::vector<InterestTerm>& terms = delay.terms;
    double sum = 0.0;
    bool finiteTerms = true;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const InterestTerm& term = terms[i];
        Require(term.record < table.size());
        if (i > 0) Require(term.record > terms[i - 1].record);
        Require(term.kind == table[term.record].kind);
        Require(term.kind != RateKind::None);
        Require(SameNumber(term.rate, table[term.record].rate));
        if (due <= payment) Require(term.days >= 0);
        finiteTerms = finiteTerms && std::isfinite(term.interest);
        sum += term.interest;
    }
    const double interest = vistrel::ComputeInterest(table, due, payment, amount);
    Require(SameNumber(interest, sum));
    // Terms that are numbers add up to a number, at worst an infinite one.
    if (finiteTerms) Require(!std::isnan(interest));
    return 0;
}
