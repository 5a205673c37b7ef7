// The write-back on its own, over a fake Excel Range: the four texts, their order and shape,
// and what is left written, released and freed when a cell cannot be written.
#include <windows.h>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "calculator/worksheet_write_back.h"
#include "platform/exceptions.h"
#include "tests/calculator/fake_excel_range.h"
#include "tests/support/task_allocation_spy.h"

namespace vistrel {
namespace {

using test::CellWrite;
using test::FakeRange;

ConfirmedEntry Confirmed(EnteredDate due, EnteredDate payment, double amount, double interest) {
    return {due, payment, amount, interest};
}

class WorksheetWriteBackTest : public testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    // The status of the _com_error that the write-back raised; S_OK when it raised nothing.
    static HRESULT StatusOfWriting(FakeRange& range, const ConfirmedEntry& entry) {
        try {
            WriteCalculationBeside(&range, entry);
        } catch (const _com_error& error) {
            EXPECT_EQ(error.ErrorInfo(), nullptr) << "no call left error information";
            return error.Error();
        }
        return S_OK;
    }

    static void ExpectEverythingReleased(const FakeRange& range) {
        EXPECT_EQ(range.references, 1u) << "the test's own reference only";
        EXPECT_EQ(range.HeldCellReferences(), 0u);
    }
};

struct TextsCase {
    const char* name;
    ConfirmedEntry entry;
    std::vector<std::wstring> texts;  // D, E, F, G
};

const TextsCase kTextsCases[] = {
    {"TheAmountWithTwoDecimalsTheInterestWithOne",
     Confirmed({2024, 2, 19}, {2024, 3, 10}, 1234.5, 12.34),
     {L"2024-02-19", L"2024-03-10", L"1234.50", L"12.3"}},
    {"ZeroesAndLeadingZeroesInTheDates",
     Confirmed({987, 1, 2}, {2001, 10, 9}, 0.0, 0.0),
     {L"0987-01-02", L"2001-10-09", L"0.00", L"0.0"}},
    {"RoundedToTheNearest",
     Confirmed({2024, 12, 31}, {2025, 1, 1}, 0.126, 0.96),
     {L"2024-12-31", L"2025-01-01", L"0.13", L"1.0"}},
    {"Negative",
     Confirmed({2024, 1, 1}, {2024, 1, 1}, -5.0, -0.26),
     {L"2024-01-01", L"2024-01-01", L"-5.00", L"-0.3"}},
    // 10 to the 20th, exact in a double: 24 characters, far within a cell's 255.
    {"ALargeAmountWhole",
     Confirmed({2024, 1, 1}, {2024, 1, 2}, 1e20, 1.0),
     {L"2024-01-01", L"2024-01-02", L"1" + std::wstring(20, L'0') + L".00", L"1.0"}},
};

TEST_F(WorksheetWriteBackTest, WritesTheFourTextsIntoDToGOfTheRowInOrder) {
    for (const TextsCase& c : kTextsCases) {
        SCOPED_TRACE(c.name);
        FakeRange range;
        test::TaskAllocationSpy allocations;
        ASSERT_TRUE(allocations.Registered());

        ASSERT_EQ(StatusOfWriting(range, c.entry), S_OK);

        const std::vector<CellWrite> expected = {
            {0, 1, c.texts[0]}, {0, 2, c.texts[1]}, {0, 3, c.texts[2]}, {0, 4, c.texts[3]}};
        EXPECT_EQ(range.writes, expected);
        EXPECT_EQ(range.offsetCalls, 4);
        EXPECT_EQ(range.queryCalls, 0);
        ExpectEverythingReleased(range);
        EXPECT_EQ(allocations.LiveBlocks(), 0) << "every text put was freed";
    }
}

struct StopCase {
    const char* name;
    ConfirmedEntry entry;
    HRESULT status;
    std::size_t written;  // cells written before the stop
};

const StopCase kStopCases[] = {
    // "%.2f" of 1e300 has 301 digits before the point: it can't fit 255 characters.
    {"AmountTooLongForACell", Confirmed({2024, 1, 1}, {2024, 1, 2}, 1e300, 1.0),
     HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), 2},
    {"InterestTooLongForACell",
     Confirmed({2024, 1, 1}, {2024, 1, 2}, 1.0, std::numeric_limits<double>::max()),
     HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), 3},
    {"NoDueDate", Confirmed({}, {2024, 1, 2}, 1.0, 1.0), HRESULT_FROM_WIN32(ERROR_INVALID_DATA), 0},
    {"PaymentDateNoCalendarDate", Confirmed({2024, 1, 1}, {2024, 13, 1}, 1.0, 1.0),
     HRESULT_FROM_WIN32(ERROR_INVALID_DATA), 1},
};

TEST_F(WorksheetWriteBackTest, ATextThatCannotBeWrittenWholeStopsBeforeItsCell) {
    for (const StopCase& c : kStopCases) {
        SCOPED_TRACE(c.name);
        FakeRange range;

        EXPECT_EQ(StatusOfWriting(range, c.entry), c.status);

        EXPECT_EQ(range.writes.size(), c.written);
        // Nothing is asked of the range for the cell whose text failed.
        EXPECT_EQ(range.offsetCalls, static_cast<int>(c.written));
        ExpectEverythingReleased(range);
    }
}

TEST_F(WorksheetWriteBackTest, ACellTextWithoutMemoryRaisesOutOfMemoryBeforeItsCell) {
    // The texts are the only blocks the write-back takes from the system allocator, one per
    // cell in the order written.
    for (int refused = 0; refused < 4; ++refused) {
        SCOPED_TRACE(refused);
        FakeRange range;
        test::TaskAllocationSpy allocations;
        ASSERT_TRUE(allocations.Registered());
        allocations.RefuseAllocations(refused);

        EXPECT_EQ(StatusOfWriting(range, Confirmed({2024, 1, 1}, {2024, 1, 2}, 1.0, 1.0)),
                  E_OUTOFMEMORY);

        EXPECT_EQ(allocations.RefusedAllocations(), 1);
        EXPECT_EQ(range.writes.size(), static_cast<std::size_t>(refused));
        EXPECT_EQ(range.offsetCalls, refused);
        ExpectEverythingReleased(range);
        EXPECT_EQ(allocations.LiveBlocks(), 0);
    }
    // With memory again, all four cells are written.
    FakeRange range;
    EXPECT_EQ(StatusOfWriting(range, Confirmed({2024, 1, 1}, {2024, 1, 2}, 1.0, 1.0)), S_OK);
    EXPECT_EQ(range.writes.size(), 4u);
}

TEST_F(WorksheetWriteBackTest, AFailedCallRaisesItsStatusWithTheErrorInformationItLeft) {
    FakeRange range;
    range.failingValue2Column = 2;
    range.value2Failure = {DISP_E_EXCEPTION, L"Komórka jest chroniona.", test::kExcelError};
    test::TaskAllocationSpy allocations;
    ASSERT_TRUE(allocations.Registered());

    HRESULT status = S_OK;
    try {
        WriteCalculationBeside(&range, Confirmed({2024, 1, 1}, {2024, 1, 2}, 1.0, 1.0));
    } catch (const _com_error& error) {
        status = error.Error();
        ASSERT_NE(error.ErrorInfo(), nullptr);
        BSTR description = nullptr;
        ASSERT_EQ(error.ErrorInfo()->GetDescription(&description), S_OK);
        EXPECT_EQ(std::wstring(description), L"Komórka jest chroniona.");
        SysFreeString(description);
    }

    EXPECT_EQ(status, test::kExcelError);
    EXPECT_EQ(range.writes, (std::vector<CellWrite>{{0, 1, L"2024-01-01"}}));
    ExpectEverythingReleased(range);
    EXPECT_EQ(allocations.LiveBlocks(), 0) << "the texts, the EXCEPINFO's and the error's, freed";
}

}  // namespace
}  // namespace vistrel
