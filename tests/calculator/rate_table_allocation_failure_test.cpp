// Verb 1 when the heap has no room for the rate table: E_FAIL before anything else happens, and
// the next run gets its table.
#include "calculator/interest_calculator.h"

#include <gtest/gtest.h>

#include "tests/support/refused_allocation.h"
#include "tests/support/strict_dispatch.h"

namespace vistrel {
namespace {

constexpr wchar_t kRatePageUrl[] = L"http://www.mf.gov.pl/podatki/odsetki_za_zwloke.shtml";

// A verb target that offers nothing and counts how often it was asked.
class CountingTarget final : public test::StrictDispatch<IDispatch> {
public:
    int queries = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        ++queries;
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST(RateTableAllocationFailure, IsEFailBeforeTheTargetIsAskedAndTheNextRunGoesOn) {
    CountingTarget target;
    {
        const test::RefusedAllocation refused("rate table");
        EXPECT_EQ(RunInterestCalculator(&target, {kRatePageUrl}), E_FAIL);
        EXPECT_EQ(refused.Refused(), 1);
    }
    EXPECT_EQ(target.queries, 0);
    // With its table the run goes on to ask the target for its range, which this one lacks.
    EXPECT_EQ(RunInterestCalculator(&target, {kRatePageUrl}), E_FAIL);
    EXPECT_EQ(target.queries, 1);
}

}  // namespace
}  // namespace vistrel
