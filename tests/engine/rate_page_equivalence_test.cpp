// The parser and the interest walk against their earlier implementations, kept in the test suite:
// on thousands of generated pages both must give the same table, field by field, and the same
// interest, bit for bit, wherever the page is plain (no markup inside its cells but line breaks)
// and its rows all read (every period complete, every period below the newest with its last
// day). Registered once per time zone; each run covers both daylight-saving seasons of the
// pinned clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/rate_page_cells.h"
#include "engine/rate_page_parser.h"
#include "tests/engine/random_rate_page.h"
#include "tests/engine/reference_interest.h"
#include "tests/engine/reference_rate_page_parser.h"
#include "tests/support/page_builder.h"
#include "tests/support/local_moment.h"

namespace vistrel {
namespace {

using test::SeededRandom;

// Under Wine every comparison of the reference is a call into the system: fewer pages there.
#ifdef _WIN32
constexpr std::uint64_t kPagesPerSeason = 800;
#else
constexpr std::uint64_t kPagesPerSeason = 1500;
#endif
constexpr int kCalculationsPerTable = 12;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

::testing::AssertionResult SameTables(const RateTable& expected, const RateTable& actual) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const RatePeriod& e = expected[i];
        const RatePeriod& a = actual[i];
        if (e.start != a.start || e.end != a.end || e.kind != a.kind || !SameBits(e.rate, a.rate)) {
            return ::testing::AssertionFailure()
                   << "record " << i << ": expected {" << e.start << ", " << e.end << ", "
                   << static_cast<int>(e.kind) << ", " << e.rate << "}, got {" << a.start << ", "
                   << a.end << ", " << static_cast<int>(a.kind) << ", " << a.rate << "}";
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameTerms(const std::vector<test::reference::InterestTerm>& expected,
                                     const std::vector<InterestTerm>& actual) {
    if (expected.size() != actual.size()) {
        return ::testing::AssertionFailure()
               << expected.size() << " terms expected, " << actual.size() << " given";
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& e = expected[i];
        const auto& a = actual[i];
        if (e.record != a.record || e.from != a.from || e.to != a.to || e.days != a.days ||
            !SameBits(e.rate, a.rate) || e.kind != a.kind || !SameBits(e.interest, a.interest)) {
            return ::testing::AssertionFailure()
                   << "term " << i << " (record " << e.record << ") differs";
        }
    }
    return ::testing::AssertionSuccess();
}

std::int32_t Clamped(long long value) {
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// Instants where the walk decides something: on, next to and between the table's bounds.
std::int32_t InstantNear(SeededRandom& random, const RateTable& table, std::int32_t now) {
    static constexpr long long kOffsets[] = {0, 0, 0, 86400, -86400, 1, -1, 86399, -86399, 3600};
    long long base = 0;
    switch (random.Below(6)) {
    case 0: base = table[random.Below(RateTableCapacity)].start; break;
    case 1: base = table[random.Below(RateTableCapacity)].end; break;
    case 2: base = now; break;
    case 3: base = static_cast<std::int32_t>(random.Next()); break;
    case 4: base = table[random.Below(20)].start; break;
    default: base = table[random.Below(20)].end; break;
    }
    long long offset = kOffsets[random.Below(std::size(kOffsets))];
    if (random.Chance(20)) offset += 86400LL * random.Between(-800, 800);
    return Clamped(base + offset);
}

double RandomAmount(SeededRandom& random) {
    static constexpr double kAmounts[] = {1000.0, 0.01, 123456.78, 1e6, 2500.5, 0.0, -300.0};
    if (random.Chance(30)) return static_cast<double>(random.Next() % 100000000) / 100.0;
    return kAmounts[random.Below(std::size(kAmounts))];
}

// Whether the table's newest record with dates (start != end) has a rate the walk uses. When it
// has none (a row whose rate could not be read), the earlier walk lent the next older rate to
// its days; today's leaves them uncovered, so such tables are not compared.
bool NewestDatedRecordHasARate(const RateTable& table) {
    for (const RatePeriod& period : table) {
        if (period.start == period.end) continue;
        return period.kind == RateKind::Annual || period.kind == RateKind::DailyStar ||
               period.kind == RateKind::DailyTwoStars;
    }
    return true;
}

// The interest over `table` for calculations spread over its periods, against the reference.
void ExpectSameInterest(const RateTable& table, SeededRandom& random, std::int32_t now) {
    if (!NewestDatedRecordHasARate(table)) return;
    for (int i = 0; i < kCalculationsPerTable; ++i) {
        std::int32_t due = InstantNear(random, table, now);
        std::int32_t payment = InstantNear(random, table, now);
        if (due > payment && random.Chance(90))
            std::swap(due, payment);  // as the dialog orders them
        const double amount = RandomAmount(random);
        const double expected = test::reference::ComputeInterest(table, due, payment, amount);
        const double actual = ComputeInterest(table, due, payment, amount);
        ASSERT_TRUE(SameBits(expected, actual))
            << "due " << due << ", payment " << payment << ", amount " << amount << ": expected "
            << expected << ", got " << actual;
        ASSERT_TRUE(SameTerms(test::reference::InterestTerms(table, due, payment, amount),
                              InterestOverDelay(table, due, payment, amount).terms))
            << "due " << due << ", payment " << payment;
    }
}

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
}

bool AsciiMarkerAt(std::u16string_view text, std::size_t at, std::u16string_view marker) {
    if (at + marker.size() > text.size()) return false;
    for (std::size_t i = 0; i < marker.size(); ++i) {
        if (AsciiLower(text[at + i]) != AsciiLower(marker[i])) return false;
    }
    return true;
}

// A cell's text holds nothing that a reader of markup would read otherwise than the earlier
// parser: no tag but the line break marker, no character reference, no no-break space.
bool IsPlainCellText(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' || text[i] == u'\u00A0') return false;
        if (text[i] == u'<') {
            if (!AsciiMarkerAt(text, i, u"<br>")) return false;
            i += 3;
        }
    }
    return true;
}

// Every stretch from a cell opening to the next closing (or the page's end) is plain.
bool HasPlainCells(std::u16string_view page) {
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (!AsciiMarkerAt(page, i, u"<td><p>")) continue;
        const std::size_t textStart = i + 7;
        std::size_t closing = textStart;
        while (closing < page.size() && !AsciiMarkerAt(page, closing, u"</p></td>")) ++closing;
        if (!IsPlainCellText(page.substr(textStart, closing - textStart))) return false;
    }
    return true;
}

// What the earlier parser read of the page: every row that marks itself as a period has its
// rate, its first day and any last day after a line break, and every one below the first of
// them has its last day.
bool AllRowsRead(const std::vector<test::reference::RowReading>& readings) {
    bool newerRow = false;
    for (const auto& reading : readings) {
        if (!(reading.rateMarked || reading.startRead)) continue;
        if (reading.IsIncomplete() || (newerRow && !reading.endRead)) return false;
        newerRow = true;
    }
    return true;
}

// Both parsers over one page into tables filled alike beforehand, since the parser leaves some
// fields as it finds them. A page that is not plain or whose rows do not all read is only
// parsed, and answers success with `compared` false.
::testing::AssertionResult SameParse(std::u16string_view page, SeededRandom& random,
                                     RateTable* parsed, bool* compared = nullptr) {
    const RateTable before = random.Chance(50) ? RateTable{} : test::RandomRateTable(random);
    RateTable expected = before;
    RateTable actual = before;
    const auto expectedReadings = test::reference::ParseRatePage(page, expected);
    const auto actualReadings = ParseRatePage(page, actual);
    if (parsed != nullptr) *parsed = actual;
    const bool plain = HasPlainCells(page) && AllRowsRead(expectedReadings);
    if (compared != nullptr) *compared = plain;
    if (!plain) return ::testing::AssertionSuccess();
    if (expectedReadings.size() != actualReadings.size()) {
        return ::testing::AssertionFailure()
               << expectedReadings.size() << " rows expected, " << actualReadings.size() << " read";
    }
    for (std::size_t i = 0; i < expectedReadings.size(); ++i) {
        const auto& e = expectedReadings[i];
        const auto& a = actualReadings[i];
        if (e.begin != a.begin || e.end != a.end || e.rateMarked != a.rateMarked ||
            e.rateRead != a.rateRead || e.startRead != a.startRead || e.endRead != a.endRead ||
            e.endUnread != a.endUnread) {
            return ::testing::AssertionFailure() << "the reading of row " << i << " differs";
        }
    }
    return SameTables(expected, actual);
}

struct Season {
    const char* name;
    int month;
};

class RatePageEquivalenceTest : public ::testing::TestWithParam<Season> {
protected:
    const std::int32_t now_ = test::LocalMoment(2025, GetParam().month, 15, 12);
    PinnedClock clock_{now_};
};

TEST_P(RatePageEquivalenceTest, ParsedTablesAndTheirInterestMatchTheReference) {
    std::uint64_t comparedPages = 0;
    for (std::uint64_t seed = 1; seed <= kPagesPerSeason; ++seed) {
        const std::u16string page = test::RandomRatePage(seed);
        SeededRandom random(seed);
        RateTable table{};
        bool compared = false;
        ASSERT_TRUE(SameParse(page, random, &table, &compared)) << "page " << seed;
        if (!compared) continue;
        ++comparedPages;
        ExpectSameInterest(table, random, now_);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "page " << seed;
            return;
        }
    }
    // The generator's well-formed pages alone are some 30 in 100.
    EXPECT_GE(comparedPages * 5, kPagesPerSeason) << comparedPages << " pages compared";
}

TEST_P(RatePageEquivalenceTest, MinistryStylePageMatchesTheReference) {
    SeededRandom random(7);
    RateTable table{};
    bool compared = false;
    ASSERT_TRUE(SameParse(test::SampleRatePage(), random, &table, &compared));
    EXPECT_TRUE(compared);
    // The sample's periods are read, not left out: the comparison is about real rows.
    EXPECT_EQ(table[1].kind, RateKind::Annual);
    EXPECT_EQ(table[1].end, now_);
    ExpectSameInterest(table, random, now_);
}

TEST_P(RatePageEquivalenceTest, CellsAndDatesMatchTheReferenceFromAnyPosition) {
    for (std::uint64_t seed = 1; seed <= kPagesPerSeason / 5; ++seed) {
        const std::u16string page = test::RandomRatePage(seed);
        SeededRandom random(seed * 31);
        for (int i = 0; i < 10 && !page.empty(); ++i) {
            const std::u16string_view text = std::u16string_view(page).substr(
                random.Below(static_cast<std::uint32_t>(page.size())));
            CellText cell{};
            test::reference::CellText expectedCell{};
            RateKind kind = RateKind::DailyStar;
            RateKind expectedKind = RateKind::DailyStar;
            const CellReadResult actual = ReadCell(text, cell, kind);
            const test::reference::CellReadResult expected =
                test::reference::ReadCell(text, expectedCell, expectedKind);
            ASSERT_EQ(actual.found, expected.found) << "page " << seed;
            ASSERT_EQ(actual.advance, expected.advance) << "page " << seed;
            if (expected.found) {
                // Only a plain cell reads as it stands; markup inside it is skipped.
                std::size_t opening = 0;
                while (!AsciiMarkerAt(text, opening, u"<td><p>")) ++opening;
                const std::size_t textStart = opening + 7;
                if (!IsPlainCellText(text.substr(textStart, expected.advance - 9 - textStart)))
                    continue;
            }
            ASSERT_EQ(kind, expectedKind) << "page " << seed;
            if (!expected.found) continue;
            ASSERT_EQ(actual.copied, expected.copied) << "page " << seed;
            ASSERT_EQ(std::u16string_view(cell.data(), actual.copied + 1),
                      std::u16string_view(expectedCell.data(), expected.copied + 1))
                << "page " << seed;

            for (const PeriodBound bound : {PeriodBound::Start, PeriodBound::End}) {
                RatePeriod period{1, 2, RateKind::Annual, 3.0};
                RatePeriod expectedPeriod = period;
                const bool stored = ReadPeriodDate(cell.data(), period, bound);
                const bool expectedStored = test::reference::ReadPeriodDate(
                    expectedCell.data(), expectedPeriod,
                    bound == PeriodBound::Start ? test::reference::PeriodBound::Start
                                                : test::reference::PeriodBound::End);
                ASSERT_EQ(stored, expectedStored) << "page " << seed;
                ASSERT_EQ(period.start, expectedPeriod.start) << "page " << seed;
                ASSERT_EQ(period.end, expectedPeriod.end) << "page " << seed;
            }
        }
    }
}

TEST_P(RatePageEquivalenceTest, InterestMatchesTheReferenceOnArbitraryTables) {
    SeededRandom random(GetParam().month);
    for (int i = 0; i < 2000; ++i) {
        const RateTable table = test::RandomRateTable(random);
        ExpectSameInterest(table, random, now_);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "table " << i;
            return;
        }
    }
}

const Season kSeasons[] = {{"January", 1}, {"July", 7}};

INSTANTIATE_TEST_SUITE_P(BothSeasons, RatePageEquivalenceTest, ::testing::ValuesIn(kSeasons),
                         [](const auto& info) { return std::string(info.param.name); });

#ifndef _WIN32
// The zone changes while the process runs: what the parser remembers of earlier conversions
// must not outlive the zone they were made in.
class ZoneChangeTest : public ::testing::Test {
protected:
    ~ZoneChangeTest() override {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    static void UseZone(const char* zone) {
        if (zone != nullptr) {
            setenv("TZ", zone, 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> saved_ =
        std::getenv("TZ") != nullptr ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

TEST_F(ZoneChangeTest, EachZoneGivesTheReferenceInstants) {
    const char* const zones[] = {"Europe/Warsaw",
                                 "America/New_York",
                                 "Australia/Sydney",
                                 "Asia/Tokyo",
                                 nullptr,
                                 "Europe/Warsaw",
                                 "UTC"};
    const std::u16string page = test::SampleRatePage();
    std::optional<std::int32_t> previousStart;
    for (const char* zone : zones) {
        SCOPED_TRACE(zone != nullptr ? zone : "(TZ unset)");
        UseZone(zone);
        PinnedClock clock(test::LocalMoment(2025, 7, 15, 12));
        for (std::uint64_t seed = 1; seed <= 50; ++seed) {
            SeededRandom random(seed);
            ASSERT_TRUE(SameParse(test::RandomRatePage(seed), random, nullptr)) << "page " << seed;
        }
        SeededRandom random(1);
        RateTable table{};
        ASSERT_TRUE(SameParse(page, random, &table));
        // Midnight of the same date is a different instant in each of the named zones.
        if (zone != nullptr && previousStart) {
            EXPECT_NE(table[2].start, *previousStart);
        }
        previousStart =
            zone != nullptr ? std::optional<std::int32_t>(table[2].start) : std::nullopt;
    }
}
#endif

}  // namespace
}  // namespace vistrel
