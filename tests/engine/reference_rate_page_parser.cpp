// The rate-page parser as it stood before its speed-up, kept unchanged to compare against. Its
// markers are found with the library's own case-insensitive comparison (base/text_compare.h, whose
// tests check it against a table of its own): what is compared is the parsing, not the comparison.
#include "tests/engine/reference_rate_page_parser.h"

#include <optional>
#include <string>

#include "base/text_compare.h"
#include "engine/clock.h"
#include "tests/engine/reference_local_time.h"
#include "engine/number_text.h"

namespace vistrel::test::reference {

const std::array<std::u16string_view, 12> MonthNamesGenitive = {
    u"stycznia", u"lutego",   u"marca",    u"kwietnia",     u"maja",      u"czerwca",
    u"lipca",    u"sierpnia", u"września", u"października", u"listopada", u"grudnia",
};

namespace {

constexpr std::u16string_view RowMarker = u"<tr>";
constexpr std::u16string_view CellOpening = u"<td><p>";
constexpr std::u16string_view CellClosing = u"</p></td>";
constexpr std::u16string_view LineBreak = u"<BR>";

bool MarkerAt(std::u16string_view text, std::size_t position, std::u16string_view marker) {
    return position <= text.size() &&
           vistrel::StartsWithIgnoringCase(text.substr(position), marker);
}

// Where the cell text starts: just after the first opening that has text after it.
std::optional<std::size_t> FindCellText(std::u16string_view text) {
    for (std::size_t i = 0; i + CellOpening.size() < text.size(); ++i) {
        if (MarkerAt(text, i, CellOpening)) return i + CellOpening.size();
    }
    return std::nullopt;
}

// The end of the period comes from the moment of reading until a later date sets it; one day
// is added to an end date so that the date itself lies inside the period.
std::int32_t DayAfter(std::int32_t midnight) {
    const long long next = static_cast<long long>(midnight) + SecondsPerDay;
    return next > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(next);
}

}  // namespace

CellReadResult ReadCell(std::u16string_view text, CellText& cell, RateKind& kind) {
    const auto textStart = FindCellText(text);
    if (!textStart) return {};

    std::size_t copied = 0;
    // Text past the buffer's room is not stored, but percent signs there still set the kind.
    const auto store = [&](char16_t c) {
        if (copied < CellTextCapacity - 1) cell[copied++] = c;
    };
    for (std::size_t i = *textStart; i < text.size(); ++i) {
        if (text[i] == u'%') {
            kind = RateKind::Annual;
            store(u'\0');
            if (i + 1 < text.size() && text[i + 1] == u'*') kind = RateKind::DailyStar;
            if (i + 2 < text.size() && text[i + 2] == u'*') kind = RateKind::DailyTwoStars;
        } else if (MarkerAt(text, i, CellClosing)) {
            cell[copied] = u'\0';
            return {true, i + CellClosing.size(), copied};
        } else {
            store(text[i]);
        }
    }
    cell[copied] = u'\0';
    return {};
}

void CommaToPoint(char16_t* text) {
    for (; *text != u'\0'; ++text) {
        if (*text == u',') *text = u'.';
    }
}

bool ReadPeriodDate(const char16_t* text, RatePeriod& period, PeriodBound bound) {
    const std::int32_t now = CurrentTime();
    const std::u16string_view date(text);

    // "od 9 maja 2013": three characters, the day, a separator, the month, a separator, the year.
    // The day takes one character below 10 and two from 10 on, or two when written "09".
    constexpr std::size_t dayPosition = 3;
    const std::int32_t day = date.size() > dayPosition ? ReadLeadingInteger(text + dayPosition) : 0;
    const bool leadingZero = day >= 1 && day <= 9 && date.size() > dayPosition + 1 &&
                             date[dayPosition] == u'0' && date[dayPosition + 1] == u'0' + day;
    const std::size_t monthPosition = day <= 9 && !leadingZero ? 5 : 6;
    if (monthPosition > date.size()) return false;

    std::size_t month = 0;
    while (month < MonthNamesGenitive.size() &&
           !MarkerAt(date, monthPosition, MonthNamesGenitive[month])) {
        ++month;
    }
    if (month == MonthNamesGenitive.size()) return false;

    const std::size_t yearPosition = monthPosition + MonthNamesGenitive[month].size() + 1;
    const std::int32_t year =
        yearPosition < date.size() ? ReadLeadingInteger(text + yearPosition) : 0;
    const std::int32_t midnight = LocalMidnight(year, static_cast<int>(month) + 1, day, now);

    if (bound == PeriodBound::Start) {
        period.start = midnight;
        period.end = now;
    } else {
        period.end = DayAfter(midnight);
    }
    // A date mktime can't convert leaves its failure value -1, which is no day of the page.
    return midnight != -1;
}

std::vector<RowReading> ParseRatePage(std::u16string_view page, RateTable& table) {
    std::vector<RowReading> readings;
    CellText cell{};
    std::size_t record = 0;
    for (std::size_t position = 0; position < page.size(); ++position) {
        if (!MarkerAt(page, position, RowMarker)) continue;
        if (record == table.size()) break;  // the table is full: later rows are not read

        RatePeriod& period = table[record++];
        RowReading& reading = readings.emplace_back();
        reading.begin = position;
        period.kind = RateKind::None;

        const CellReadResult rateCell = ReadCell(page.substr(position), cell, period.kind);
        if (rateCell.found) {
            CommaToPoint(cell.data());
            period.rate = ReadLeadingDecimal(cell.data());
            reading.rateRead = BeginsWithNumber(cell.data());
        }
        reading.rateMarked = period.kind != RateKind::None;
        position += rateCell.advance;

        RateKind periodCellKind = RateKind::None;  // percent signs in the period cell don't count
        const CellReadResult periodCell = ReadCell(page.substr(position), cell, periodCellKind);
        if (periodCell.found) {
            reading.startRead = ReadPeriodDate(cell.data(), period, PeriodBound::Start);
            // Every line break counts, also past a terminator that a percent sign left.
            const std::u16string_view copied(cell.data(), periodCell.copied);
            bool lineBroken = false;
            for (std::size_t i = 0; i < copied.size(); ++i) {
                if (MarkerAt(copied, i, LineBreak)) {
                    lineBroken = true;
                    if (ReadPeriodDate(cell.data() + i + LineBreak.size(), period,
                                       PeriodBound::End)) {
                        reading.endRead = true;
                    }
                }
            }
            reading.endUnread = lineBroken && !reading.endRead;
        }
        // Without its first day a record is no period, whatever else was read: were it kept, the
        // walk would take it as a period from 1970 to its end.
        if (!reading.startRead) period.kind = RateKind::None;
        // The loop's own step then moves one past the last closing read.
        position += periodCell.advance;
        reading.end = position;
    }
    return readings;
}

}  // namespace vistrel::test::reference
