#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/text_compare.h"

namespace vistrel {
namespace {

struct CompareCase {
    const char* name;
    std::u16string_view text;
    std::u16string_view wanted;
    bool matches;
};

const CompareCase kCompareCases[] = {
    {"SameText", u"maja", u"maja", true},
    {"CapitalsAgainstLower", u"MAJA", u"maja", true},
    {"RowMarkerInMixedCase", u"<tR>", u"<tr>", true},
    {"LineBreakInLowerCase", u"<br>", u"<BR>", true},
    {"SeptemberInCapitals", u"WRZEŚNIA", u"września", true},
    {"OctoberInCapitals", u"PAŹDZIERNIKA", u"października", true},
    {"EveryPolishLetterFolds", u"ĄĆĘŁŃÓŚŹŻ", u"ąćęłńóśźż", true},
    {"LowerTextAgainstCapitals", u"ąćęłńóśźż", u"ĄĆĘŁŃÓŚŹŻ", true},
    {"Latin1LettersFold", u"ÉÜÖÀ", u"éüöà", true},
    {"OnlyTheWantedLengthCounts", u"MAJA 2013 r.", u"maja", true},
    {"EmptyWanted", u"abc", u"", true},
    {"MissingDiacriticDiffers", u"wrzesnia", u"września", false},
    {"CapitalWithoutDiacriticDiffers", u"WRZESNIA", u"września", false},
    {"DotAboveIsNotAcute", u"PAŻDZIERNIKA", u"października", false},
    {"StrokedLIsNotL", u"Ł", u"l", false},
    {"OgonekIsNotPlainA", u"ą", u"a", false},
    {"DifferentLetter", u"mara", u"maja", false},
    {"DifferentMarker", u"<td>", u"<tr>", false},
};

TEST(StartsWithIgnoringCaseTest, FoldsCaseOnlyForTheSameLetter) {
    for (const CompareCase& c : kCompareCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StartsWithIgnoringCase(c.text, c.wanted), c.matches);
    }
}

}  // namespace
}  // namespace vistrel
