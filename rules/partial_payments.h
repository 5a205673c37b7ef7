// A debt paid in parts: each payment split between the arrears and the interest due on its day
// in the proportion the two bear to each other then (art. 55 § 2 of the tax ordinance); interest
// then runs on the remaining arrears only, and the unpaid interest stays owed without interest of
// its own. Money is counted in grosze.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rules/case_calculation.h"

namespace vistrel::rules {

using Grosze = std::int64_t;

struct Payment {
    std::chrono::year_month_day date;
    Grosze amount = 0;
};

struct PaymentPlan {
    std::chrono::year_month_day due;
    Grosze arrears = 0;
    std::vector<Payment> payments;                          // in date order
    std::optional<std::chrono::year_month_day> balanceDay;  // --na-dzien
    InterestRateKind rateKind = InterestRateKind::Basic;
    bool shiftDueDate = true;
    std::optional<std::chrono::year_month_day> correction{};  // the corrected return filed
};

// The interest of one stretch of time on the arrears then owed.
struct InterestLeg {
    std::chrono::year_month_day until;
    std::optional<Calculation> calculation;  // none when the day lies before interest runs
    Grosze charged = 0;                      // rounded to whole złoty; 0 when within the threshold
    std::int32_t days = 0;
};

struct PaymentSplit {
    Payment payment;
    InterestLeg leg;         // the interest that ran up to the payment
    Grosze interestDue = 0;  // owed on the payment's day: earlier unpaid interest plus the leg's
    Grosze toArrears = 0;
    Grosze toInterest = 0;
    Grosze arrearsLeft = 0;
    Grosze interestLeft = 0;
    Grosze overpayment = 0;
    bool settles = false;
};

struct PaymentSchedule {
    std::vector<PaymentSplit> splits;
    std::optional<InterestLeg> balanceLeg;  // up to the balance day
    Grosze arrears = 0;                     // still owed at the end
    Grosze interest = 0;                    // still owed at the end
    bool settled = false;
    std::vector<Payment> refused;  // payments after the one that settled the debt
    std::optional<DueDateShift> dueShift;
};

struct ScheduleOutcome {
    std::optional<PaymentSchedule> schedule;
    Refusal refusal = Refusal::None;
    std::string error;  // Polish, without "Błąd: "
};

ScheduleOutcome CalculatePayments(const RateSource& rates, const PaymentPlan& plan,
                                  std::int32_t now);

// The arrears' part of a payment short of arrears plus interest: payment × arrears / (arrears +
// interest), to the grosz, half a grosz up.
Grosze ArrearsShare(Grosze payment, Grosze arrears, Grosze interest);

// Whole grosze of an amount of złoty, half a grosz up.
Grosze ToGrosze(double zloty);

}  // namespace vistrel::rules
