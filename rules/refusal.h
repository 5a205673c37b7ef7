// Why a debt's interest was not worked out: the program turns it into its exit code.
#pragma once

namespace vistrel::rules {

enum class Refusal {
    None,
    BadInput,   // a date, an amount or a payment that the rules cannot take
    NoRate,     // no rate is known for some days of the delay
    Unsettled,  // the law as the sources found state it does not settle the case
};

}  // namespace vistrel::rules
