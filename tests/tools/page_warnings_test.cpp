#include "tools/page_warnings.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/quoting.h"

namespace vistrel::tools {
namespace {

TEST(RowText, DropsTheMarkupAndRunsBlanksTogether) {
    const std::u16string page =
        u"<table>\n<tr>\n  <td><p>13,00%</p></td>\n  <td><p>od 9 maja 2013<BR>do  "
        u"ża</p></td>\n</tr>";
    RowReading reading;
    reading.begin = page.find(u"<tr>");
    reading.end = page.rfind(u"</td>") + 5;
    EXPECT_EQ(RowText(page, reading), "13,00% od 9 maja 2013 do ża");
}

// A row whose cells never close stands for the page from its marker on, so much of it.
TEST(RowText, TakesTheRestOfThePageForARowThatNeverCloses) {
    const std::u16string page = u"<tr><td><p>13,00%" + std::u16string(300, u'x');
    RowReading reading;
    reading.begin = 0;
    reading.end = 0;
    EXPECT_EQ(RowText(page, reading), "13,00%" + std::string(200 - 11 - 6, 'x'));
}

struct QuotedCase {
    std::string text;
    std::string quoted;
};

TEST(Quoted, ShowsAtMostSixtyCharacters) {
    const QuotedCase cases[] = {
        {"", "„”"},
        {"abc", "„abc”"},
        {std::string(60, 'a'), "„" + std::string(60, 'a') + "”"},
        {std::string(61, 'a'), "„" + std::string(59, 'a') + "…”"},
        // Characters, not bytes: Polish letters take two bytes each.
        {std::string(30, 'a') + "ąęółśżźćńĄĘÓŁŚŻŹĆŃąęółśżźćńĄĘ",
         "„" + std::string(30, 'a') + "ąęółśżźćńĄĘÓŁŚŻŹĆŃąęółśżźćńĄĘ”"},
        {std::string(58, 'a') + "ąęó", "„" + std::string(58, 'a') + "ą…”"},
    };
    for (const QuotedCase& c : cases) {
        EXPECT_EQ(Quoted(c.text), c.quoted) << c.text;
    }
}

TEST(PageWarnings, SayNothingOfAHeaderRowOrOfRowsReadInFull) {
    const std::u16string page = u"<tr>header</tr><tr>row</tr>";
    RateTable table{};
    table[1] = {0, 86400, RateKind::Annual, 1000.0};  // the highest rate still plausible
    std::vector<RowReading> readings(2);
    readings[1] = {15, 27, true, true, true, true, false};
    EXPECT_EQ(PageWarnings(page, readings, table), "");
}

}  // namespace
}  // namespace vistrel::tools
