// Measure numbers written at the start of the lines, counted over the lines and the multi-bar rests, and erased.
#include "edit/bar_numbers.h"

#include <gtest/gtest.h>

#include "edit/measure_count.h"
#include "score/text_records.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

// Four bars on each of three lines; the second line opens with a multi-bar rest of 8 when asked.
ScoreDocument Lines(bool multiBarRest) {
    const std::string bars = R"(\meter<"4/4"> c d e f g a b c c d e f g a b c |)";
    ScoreDocument doc = DocumentFromGuido("{[" + bars + "],[" + bars + "],[" + bars + "]}");
    if (multiBarRest) {
        auto& els = doc.pages[0].staves[1].elements;
        const auto first = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return e.isNote(); });
        first->noteWord().setRest(true);
        first->noteWord().setDurationCode(15);
        TextAttributes a;
        a.category = TextCategory::Marks;
        a.type = MultiBarRestMark;
        a.size = 160;
        els.insert(first + 1, MakeTextElement(first->x, 10, a, "8"));
    }
    return doc;
}

std::vector<std::string> Numbers(const PageRecord& page) {
    std::vector<std::string> out;
    for (const StaffRecord& staff : page.staves)
        for (const ElementRecord& e : staff.elements)
            if (IsMeasureNumberText(e)) out.push_back(TextCharacters(e));
    return out;
}

struct NumberingCase {
    int offset;
    bool multiBarRest;
    std::vector<std::string> numbers;
};

class MeasureNumbers : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(MeasureNumbers, AreWrittenOnceALineAndAgainTheSame) {
    const NumberingCase& c = GetParam();
    ScoreDocument doc = Lines(c.multiBarRest);
    PageRecord& page = doc.pages[0];
    const StaffMetrics metrics = DeriveStaffMetrics(20, {});
    for (int round = 0; round < 2; ++round) {
        MeasureNumbering numbering{0, c.offset};
        NumberMeasuresOfPage(page, metrics, numbering, false);
        EXPECT_EQ(Numbers(page), c.numbers) << "round " << round;
    }
    // Each number stands in front of its line's first note, half a space over the staff, in italics.
    for (const StaffRecord& staff : page.staves) {
        const auto at = std::find_if(staff.elements.begin(), staff.elements.end(), IsMeasureNumberText);
        if (at == staff.elements.end()) continue;
        const TextAttributes a = TextAttributesOf(*at);
        EXPECT_EQ(a.style, TextStyle::Italic);
        EXPECT_EQ(a.size, 50);
        EXPECT_EQ(TextLowerEdge(0, at->param, 20), 10);
        EXPECT_FALSE((at + 1)->isSign());
    }
    MeasureNumbering erasing{0, c.offset};
    EXPECT_EQ(NumberMeasuresOfPage(page, metrics, erasing, true), static_cast<int>(c.numbers.size()));
    EXPECT_TRUE(Numbers(page).empty());
}

INSTANTIATE_TEST_SUITE_P(Offsets, MeasureNumbers,
                         ::testing::Values(NumberingCase{0, false, {"5", "9"}}, NumberingCase{1, false, {"1", "5", "9"}},
                                           NumberingCase{0, true, {"5", "16"}}));

}  // namespace
}  // namespace notavera
