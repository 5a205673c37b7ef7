// The report of a debt paid in parts: for people, and one line per payment for programs.
#pragma once

#include <string>

#include "rules/partial_payments.h"

namespace vistrel::tools {

std::string FormatPaymentReport(const rules::PaymentPlan& plan,
                                const rules::PaymentSchedule& schedule);

// Per payment: "wplata=2023-03-15 kwota=5000.00 odsetki=1526.71 zaokraglone=1527 dni=365
// na_zaleglosc=4337.64 na_odsetki=662.36 zaleglosc=5662.36 odsetki_zalegle=864.64", then
// " nadplata=..." for the payment that settles the debt and " prog=8.70" where the interest of
// its stretch is not charged (odsetki and zaokraglone are then the interest not charged, and
// na_odsetki takes nothing of it). With a balance day one more line: "na_dzien=... odsetki=...
// zaokraglone=... dni=... zaleglosc=... odsetki_zalegle=... razem=...".
std::string FormatPaymentLines(const rules::PaymentPlan& plan,
                               const rules::PaymentSchedule& schedule);

// The payments refused after the debt was settled, one Polish line each.
std::string RefusedPayments(const rules::PaymentSchedule& schedule);

}  // namespace vistrel::tools
