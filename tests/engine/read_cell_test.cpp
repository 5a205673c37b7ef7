#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "engine/rate_page_cells.h"
#include "tests/support/rate_kind_printer.h"

namespace vistrel {
namespace {

struct ReadCellCase {
    const char* name;
    std::u16string_view text;
    bool found;
    std::size_t advance;
    std::size_t copied;
    std::u16string_view cellText;  // up to the first terminator
    RateKind kind;                 // the kind starts as None
};

const ReadCellCase kReadCellCases[] = {
    {"AnnualRate", u"<td><p>13,00%</p></td>", true, 22, 6, u"13,00", RateKind::Annual},
    {"OneStarIsDaily", u"<td><p>0,05%*</p></td>", true, 22, 6, u"0,05", RateKind::DailyStar},
    {"TwoStarsAreDaily", u"<td><p>0,05%**</p></td>", true, 23, 7, u"0,05", RateKind::DailyTwoStars},
    {"StarSecondAfterPercent", u"<td><p>1%x*</p></td>", true, 20, 4, u"1", RateKind::DailyTwoStars},
    {"StarThenOther", u"<td><p>1%*x</p></td>", true, 20, 4, u"1", RateKind::DailyStar},
    {"LastPercentDecides", u"<td><p>5%* albo 7%</p></td>", true, 27, 11, u"5", RateKind::Annual},
    {"LastPercentDecidesDaily", u"<td><p>5% albo 7%**</p></td>", true, 28, 12, u"5",
     RateKind::DailyTwoStars},
    {"NoPercentLeavesKind", u"<td><p>13,00</p></td>", true, 21, 5, u"13,00", RateKind::None},
    {"TextBeforeOpeningSkipped", u"ab<tr><td><p>x</p></td>tail", true, 23, 1, u"x", RateKind::None},
    {"UpperCaseMarkers", u"<TD><P>2%</P></TD>", true, 18, 2, u"2", RateKind::Annual},
    {"MixedCaseMarkers", u"<tD><P>2%</p></Td>", true, 18, 2, u"2", RateKind::Annual},
    {"EmptyCell", u"<td><p></p></td>", true, 16, 0, u"", RateKind::None},
    // Markup inside a cell is read as its text.
    {"TagsInsideSkipped", u"<td><p><b>13,00</b>%</p></td>", true, 29, 6, u"13,00",
     RateKind::Annual},
    {"StarAfterATag", u"<td><p>0,05%<sup>*</sup></p></td>", true, 33, 6, u"0,05",
     RateKind::DailyStar},
    {"NoBreakSpacesAreBlanks", u"<td><p>od&nbsp;9&#160;maja&#xA0;2013\u00A0r.</p></td>", true, 48,
     17, u"od 9 maja 2013 r.", RateKind::None},
    {"LineBreakTagsReadAsOne", u"<td><p>a<br/>b<BR class=\"x\">c<br>d</p></td>", true, 43, 16,
     u"a<BR>b<BR>c<br>d", RateKind::None},
    {"LessThanBeforeABlankIsText", u"<td><p>a < b</p></td>", true, 21, 5, u"a < b", RateKind::None},
    {"TagWithoutItsEndIsText", u"<td><p><b 13%</p></td>", true, 22, 6, u"<b 13", RateKind::Annual},
    {"FirstClosingEndsCell", u"<td><p>a</p></td>b%</p></td>", true, 17, 1, u"a", RateKind::None},
    {"UnclosedCellSetsKindOnly", u"<td><p>13%*", false, 0, 0, u"", RateKind::DailyStar},
    {"LaterOpeningDoesNotHelp", u"<td><p>1% <td><p>2%**", false, 0, 0, u"",
     RateKind::DailyTwoStars},
    {"ClosingCutByEndOfText", u"<td><p>1%</p></td", false, 0, 0, u"", RateKind::Annual},
    {"ClosingBeyondTheView", std::u16string_view(u"<td><p>1%</p></td>", 17), false, 0, 0, u"",
     RateKind::Annual},
    {"StarsBeyondTheViewUnread", std::u16string_view(u"<td><p>1%**</p></td>", 9), false, 0, 0, u"",
     RateKind::Annual},
    {"OpeningWithAttributes", u"<td class=\"r\"><p>1%</p></td>", false, 0, 0, u"", RateKind::None},
    {"OpeningAtEndOfText", u"x<td><p>", false, 0, 0, u"", RateKind::None},
    {"Empty", u"", false, 0, 0, u"", RateKind::None},
};

TEST(ReadCellTest, FindsTheFirstCompleteCellAndItsKind) {
    for (const ReadCellCase& c : kReadCellCases) {
        SCOPED_TRACE(c.name);
        CellText cell;
        cell.fill(u'#');
        RateKind kind = RateKind::None;
        const CellReadResult result = ReadCell(c.text, cell, kind);
        EXPECT_EQ(result.found, c.found);
        EXPECT_EQ(result.advance, c.advance);
        EXPECT_EQ(kind, c.kind);
        if (c.found) {
            EXPECT_EQ(result.copied, c.copied);
            EXPECT_EQ(std::u16string_view(cell.data()), c.cellText);
            EXPECT_EQ(cell[c.copied], u'\0');
        }
    }
}

TEST(ReadCellTest, WithoutAnOpeningTouchesNeitherBufferNorKind) {
    CellText cell;
    cell.fill(u'#');
    RateKind kind = RateKind::DailyStar;
    const CellReadResult result = ReadCell(u"13,00%**</p></td>", cell, kind);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.advance, 0u);
    EXPECT_EQ(kind, RateKind::DailyStar);
    for (char16_t c : cell) ASSERT_EQ(c, u'#');
}

struct GuardedCell {
    CellText cell;
    std::array<char16_t, 64> guard;
};

// The buffer keeps 255 characters; a longer cell is cut there, yet the scan runs on to the cell's
// own closing and its later percent signs still count.
TEST(ReadCellTest, LongCellIsCutAtTheBufferButScannedToItsClosing) {
    for (std::size_t length : {254u, 255u, 256u, 1000u}) {
        SCOPED_TRACE(length);
        const std::u16string body = u"7" + std::u16string(length - 1, u'x');
        const std::u16string text = u"<td><p>" + body + u"%*</p></td><td><p>dalej</p></td>";
        GuardedCell guarded;
        guarded.cell.fill(u'#');
        guarded.guard.fill(u'G');
        RateKind kind = RateKind::None;
        const CellReadResult result = ReadCell(text, guarded.cell, kind);
        const std::size_t kept = std::min<std::size_t>(length, CellTextCapacity - 1);
        EXPECT_TRUE(result.found);
        EXPECT_EQ(result.advance, 7 + length + 2 + 9);
        EXPECT_EQ(result.copied, std::min<std::size_t>(length + 2, CellTextCapacity - 1));
        EXPECT_EQ(std::u16string_view(guarded.cell.data()),
                  std::u16string_view(body).substr(0, kept));
        EXPECT_EQ(guarded.cell[CellTextCapacity - 1], u'\0');
        EXPECT_EQ(kind, RateKind::DailyStar);
        for (char16_t c : guarded.guard) ASSERT_EQ(c, u'G');
    }
}

}  // namespace
}  // namespace vistrel
