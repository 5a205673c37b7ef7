#include "engine/rate_page_parser.h"

#include "engine/rate_page_cells.h"

#include <climits>
#include <string>

#include "engine/clock.h"
#include "engine/local_time.h"
#include "engine/number_text.h"
#include "base/text_compare.h"

namespace vistrel {

const std::array<std::u16string_view, 12> MonthNamesGenitive = {
    u"stycznia", u"lutego",   u"marca",    u"kwietnia",     u"maja",      u"czerwca",
    u"lipca",    u"sierpnia", u"września", u"października", u"listopada", u"grudnia",
};

namespace {

constexpr std::u16string_view RowMarker = u"<tr>";
constexpr std::u16string_view CellOpening = u"<td><p>";
constexpr std::u16string_view CellClosing = u"</p></td>";
constexpr std::u16string_view LineBreak = u"<BR>";
// The four markers begin with '<', and no other character equals it, whatever the letter case:
// markers are compared only where one stands.
constexpr char16_t MarkupStart = u'<';
constexpr std::size_t NotFound = std::u16string_view::npos;

// A rate is written with a decimal comma: every comma of the terminated cell text becomes a point.
void CommaToPoint(char16_t* text) {
    for (; *text != u'\0'; ++text) {
        if (*text == u',') *text = u'.';
    }
}

bool MarkerAt(std::u16string_view text, std::size_t position, std::u16string_view marker) {
    return position <= text.size() && StartsWithIgnoringCase(text.substr(position), marker);
}

// The first place at or after a position where a marker stands with at least `room` characters
// after it. The last answer is kept: a later search that starts no further than that answer
// finds it again without reading the text, so each stretch of the page is searched once while
// the positions asked for only grow.
class MarkerSearch {
public:
    MarkerSearch(std::u16string_view text, std::u16string_view marker, std::size_t room)
        : text_(text), marker_(marker), room_(room) {}

    std::size_t From(std::size_t from) {
        if (searched_ && from >= searchedFrom_ && from <= found_) return found_;
        searched_ = true;
        searchedFrom_ = from;
        found_ = NotFound;
        for (std::size_t i = text_.find(MarkupStart, from); i != NotFound && Fits(i);
             i = text_.find(MarkupStart, i + 1)) {
            if (MarkerAt(text_, i, marker_)) {
                found_ = i;
                break;
            }
        }
        return found_;
    }

private:
    bool Fits(std::size_t position) const {
        return position + marker_.size() + room_ <= text_.size();
    }

    std::u16string_view text_;
    std::u16string_view marker_;
    std::size_t room_;
    bool searched_ = false;
    std::size_t searchedFrom_ = 0;
    std::size_t found_ = NotFound;
};

// A percent sign makes the rate annual, an asterisk right after it daily, and an asterisk as
// the second character after it too. After a cell's text stands its closing: no asterisk.
void SetKindAt(std::u16string_view text, std::size_t percent, RateKind& kind) {
    kind = RateKind::Annual;
    if (percent + 1 < text.size() && text[percent + 1] == u'*') kind = RateKind::DailyStar;
    if (percent + 2 < text.size() && text[percent + 2] == u'*') kind = RateKind::DailyTwoStars;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// A tag within a cell: '<', an optional '/' or '!', then a letter ("<b>", "</font>", "<!--");
// a '<' followed by anything else is text. The tag's name is "br" when it breaks the line.
bool StartsTag(std::u16string_view text, std::size_t at, std::size_t end) {
    std::size_t name = at + 1;
    if (name < end && (text[name] == u'/' || text[name] == u'!')) ++name;
    return name < end && (IsAsciiLetter(text[name]) || text[at + 1] == u'!');
}

bool IsLineBreakTag(std::u16string_view tag) {
    // "<br>", "<br/>", "<br />", "<br class=...>", in any letter case
    if (tag.size() < 4 || (tag[1] != u'b' && tag[1] != u'B') ||
        (tag[2] != u'r' && tag[2] != u'R')) {
        return false;
    }
    const char16_t after = tag[3];
    return after == u'>' || after == u'/' || after == u' ' || after == u'\t' || after == u'\n' ||
           after == u'\r';
}

// The character references a server writes for a blank between words: "&nbsp;", "&#160;",
// "&#xA0;" (the letters in any case). Answers their length, 0 elsewhere.
std::size_t BlankReferenceAt(std::u16string_view text, std::size_t at, std::size_t end) {
    static constexpr std::u16string_view kBlankReferences[] = {u"&nbsp;", u"&#160;", u"&#xa0;"};
    for (const std::u16string_view reference : kBlankReferences) {
        if (at + reference.size() > end) continue;
        bool same = true;
        for (std::size_t i = 0; i < reference.size() && same; ++i) {
            char16_t c = text[at + i];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
            same = c == reference[i];
        }
        if (same) return reference.size();
    }
    return 0;
}

// The text of a cell as a reader sees it: tags inside it skipped, a line break kept as the line
// break marker, a no-break space (written as a character or a reference) read as a blank. A
// cell without any of them reads as it stands, character for character. Each character of the
// cell is looked at a bounded number of times: the next '>' is searched once for all tags.
void CellTextOf(std::u16string_view text, std::size_t begin, std::size_t end, std::u16string& out) {
    out.clear();
    std::size_t tagEnd = begin;  // the first '>' at or after the last search, or `end`
    bool tagEndKnown = false;
    for (std::size_t i = begin; i < end;) {
        const char16_t c = text[i];
        if (c == MarkupStart && MarkerAt(text.substr(0, end), i, LineBreak)) {
            out.append(text.substr(i, LineBreak.size()));
            i += LineBreak.size();
            continue;
        }
        if (c == MarkupStart && StartsTag(text, i, end)) {
            if (!tagEndKnown || tagEnd < i) {
                tagEnd = text.substr(0, end).find(u'>', i);
                if (tagEnd == NotFound) tagEnd = end;
                tagEndKnown = true;
            }
            if (tagEnd < end) {
                if (IsLineBreakTag(text.substr(i, tagEnd + 1 - i))) out.append(LineBreak);
                i = tagEnd + 1;
                continue;
            }
        }
        if (c == u'&') {
            if (const std::size_t length = BlankReferenceAt(text, i, end); length != 0) {
                out.push_back(u' ');
                i += length;
                continue;
            }
        }
        out.push_back(c == u'\u00A0' ? u' ' : c);
        ++i;
    }
}

// Reads the cells of one text, from positions that only grow, in time linear in the text's
// length: the searches for openings and closings keep their answers, a cell's text is read
// once, and a cell that never closes is answered from the text's last percent sign.
class CellReader {
public:
    explicit CellReader(std::u16string_view text) : text_(text) {}

    // ReadCell on the text from `from` on; the advance counts from `from`.
    CellReadResult ReadFrom(std::size_t from, CellText& cell, RateKind& kind) {
        // The opening counts only with at least one character after it.
        const std::size_t opening = openings_.From(from);
        if (opening == NotFound) return {};
        const std::size_t textStart = opening + CellOpening.size();
        const std::size_t closing = closings_.From(textStart);
        if (closing == NotFound) {
            // No cell; the percent signs up to the end of the text have set the kind all the same.
            const std::size_t percent = LastPercent();
            if (percent != NotFound && percent >= textStart) SetKindAt(text_, percent, kind);
            return {};
        }

        // Text past the buffer's room is not stored, but percent signs there still set the kind.
        CellTextOf(text_, textStart, closing, cellText_);
        std::size_t copied = 0;
        for (std::size_t i = 0; i < cellText_.size(); ++i) {
            const char16_t c = cellText_[i];
            if (c == u'%') SetKindAt(cellText_, i, kind);
            if (copied < CellTextCapacity - 1) cell[copied++] = c == u'%' ? u'\0' : c;
        }
        cell[copied] = u'\0';
        return {true, closing + CellClosing.size() - from, copied};
    }

private:
    std::size_t LastPercent() {
        if (!lastPercentKnown_) {
            lastPercent_ = text_.rfind(u'%');
            lastPercentKnown_ = true;
        }
        return lastPercent_;
    }

    std::u16string_view text_;
    MarkerSearch openings_{text_, CellOpening, 1};
    MarkerSearch closings_{text_, CellClosing, 0};
    std::u16string cellText_;
    bool lastPercentKnown_ = false;
    std::size_t lastPercent_ = NotFound;
};

// The end of the period comes from the moment of reading until a later date sets it; one day
// is added to an end date so that the date itself lies inside the period.
std::int32_t DayAfter(std::int32_t midnight) {
    const long long next = static_cast<long long>(midnight) + SecondsPerDay;
    return next > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(next);
}

template <typename MidnightFunction>
bool ReadPeriodDateWith(const char16_t* text, RatePeriod& period, PeriodBound bound,
                        MidnightFunction&& midnightOf) {
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
    const std::int32_t midnight = midnightOf(year, static_cast<int>(month) + 1, day, now);

    if (bound == PeriodBound::Start) {
        period.start = midnight;
        period.end = now;
    } else {
        period.end = DayAfter(midnight);
    }
    // A date mktime can't convert leaves its failure value -1, which is no day of the page.
    return midnight != -1;
}

}  // namespace

CellReadResult ReadCell(std::u16string_view text, CellText& cell, RateKind& kind) {
    return CellReader(text).ReadFrom(0, cell, kind);
}

bool ReadPeriodDate(const char16_t* text, RatePeriod& period, PeriodBound bound) {
    return ReadPeriodDateWith(text, period, bound, &LocalMidnight);
}

std::vector<RowReading> ParseRatePage(std::u16string_view page, RateTable& table) {
    std::vector<RowReading> readings;
    CellText cell{};
    CellReader cells(page);
    LocalMidnightCache midnights;
    const auto midnightOf = [&midnights](int year, int month, int day, std::int32_t now) {
        return midnights.Midnight(year, month, day, now);
    };
    // Whether a period stands above the row being read, and the nearest row above that marks
    // itself as a period (with its first day, when that was read): a period below the newest
    // whose last day can't be read ends where that row begins.
    bool newerPeriodSeen = false;
    bool newerStartRead = false;
    std::int32_t newerStart = 0;
    std::size_t record = 0;
    for (std::size_t position = page.find(MarkupStart); position != NotFound;
         position = page.find(MarkupStart, position + 1)) {
        if (!MarkerAt(page, position, RowMarker)) continue;
        if (record == table.size()) break;  // the table is full: later rows are not read

        RatePeriod& period = table[record++];
        RowReading& reading = readings.emplace_back();
        reading.begin = position;
        period.kind = RateKind::None;

        const CellReadResult rateCell = cells.ReadFrom(position, cell, period.kind);
        if (rateCell.found) {
            CommaToPoint(cell.data());
            period.rate = ReadLeadingDecimal(cell.data());
            reading.rateRead = BeginsWithNumber(cell.data());
        }
        reading.rateMarked = period.kind != RateKind::None;
        position += rateCell.advance;

        RateKind periodCellKind = RateKind::None;  // percent signs in the period cell don't count
        const CellReadResult periodCell = cells.ReadFrom(position, cell, periodCellKind);
        if (periodCell.found) {
            reading.startRead =
                ReadPeriodDateWith(cell.data(), period, PeriodBound::Start, midnightOf);
            // Every line break counts, also past a terminator that a percent sign left.
            const std::u16string_view copied(cell.data(), periodCell.copied);
            bool lineBroken = false;
            for (std::size_t i = copied.find(MarkupStart); i != NotFound;
                 i = copied.find(MarkupStart, i + 1)) {
                if (MarkerAt(copied, i, LineBreak)) {
                    lineBroken = true;
                    if (ReadPeriodDateWith(cell.data() + i + LineBreak.size(), period,
                                           PeriodBound::End, midnightOf)) {
                        reading.endRead = true;
                    }
                }
            }
            reading.endUnread = lineBroken && !reading.endRead;
        }
        // Without its first day or its rate a record is no period, whatever else was read: were
        // it kept, the walk would take it as a period from 1970 to its end, or at a rate of 0.
        if (!reading.startRead || !reading.rateRead) period.kind = RateKind::None;
        // Below the newest period, or below a row whose first day was read but not its rate,
        // one without a readable last day ends the day before the row above it begins; it is not
        // open until now, which would count its days twice or lend its rate to the newer row's
        // days. When that row has no first day either, nothing tells where this one ends.
        if (period.kind != RateKind::None && !reading.endRead &&
            (newerPeriodSeen || newerStartRead)) {
            if (newerStartRead) {
                period.end = newerStart;
                reading.endFromNewerRow = true;
            } else {
                period.kind = RateKind::None;
            }
        }
        if (reading.rateMarked || reading.startRead) {
            newerStartRead = reading.startRead;
            newerStart = period.start;
        }
        if (period.kind != RateKind::None) newerPeriodSeen = true;
        // The loop's own step then moves one past the last closing read.
        position += periodCell.advance;
        reading.end = position;
    }
    return readings;
}

}  // namespace vistrel
