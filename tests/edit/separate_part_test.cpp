// Condensing the runs of whole-bar rests of a part's staff: which bars count as empty and where a run ends.
#include <gtest/gtest.h>

#include "edit/measure_count.h"
#include "edit/separate_part.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

// The staff as letters: c clef, m meter, n note, r rest, R multi-bar rest, | plain bar, b other bar, 3 a text
// holding that number, ? another sign.
std::string Shape(const StaffRecord& staff) {
    std::string s;
    for (const ElementRecord& e : staff.elements) {
        if (e.isNote()) s += 'n';
        else if (e.isRest()) s += e.noteWord().durationCode() == 15 ? 'R' : 'r';
        else if (e.isSignOfType(SignType::Clef)) s += 'c';
        else if (e.isSignOfType(SignType::TimeSignature)) s += 'm';
        else if (e.isSignOfType(SignType::Bar)) s += e.signWord().code() == '|' ? '|' : 'b';
        else if (auto n = TextNumber(e)) s += std::to_string(*n);
        else s += '?';
    }
    return s;
}

struct CondenseCase {
    const char* name;
    const char* music;  // one GUIDO sequence
    const char* shape;  // the staff afterwards
};

class Condense : public ::testing::TestWithParam<CondenseCase> {};

TEST_P(Condense, KeepsTheFirstRestOfEachRunWithItsCount) {
    ScoreDocument doc = DocumentFromGuido(std::string("[ \\clef<\"treble\"> ") + GetParam().music + " ]");
    StaffRecord staff = doc.pages[0].staves[0];
    CondenseWholeBarRests(staff, StaffMetrics{}, 0);
    EXPECT_EQ(Shape(staff), GetParam().shape);
    // The count says how many bars the rest stands for, as the measure counting reads it.
    for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
        if (staff.elements[static_cast<std::size_t>(i)].noteWord().durationCode() != 15 || !staff.elements[static_cast<std::size_t>(i)].isRest()) continue;
        EXPECT_EQ(MultiBarRestCount(staff, i), TextNumber(staff.elements[static_cast<std::size_t>(i - 1)]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Condense,
    ::testing::Values(
        CondenseCase{"RunOfThree", "c1/1 | _/1 | _/1 | _/1 | d/1", "cn|3R|n"},
        CondenseCase{"OneEmptyBarStays", "c1/1 | _/1 | d/1 | _/1 | _/1 | e/1", "cn|r|n|2R|n"},
        CondenseCase{"OpeningRestsAfterTheClefAndMeter", "\\meter<\"4/4\"> _/1 | _/1 | c1/1", "cm2R|n"},
        CondenseCase{"TwoRestsInABarAreMusic", "c1/1 | _/2 _/2 | _/1 | d/1", "cn|rr|r|n"},
        CondenseCase{"AMeterEndsTheRun", "c1/1 | _/1 | _/1 \\meter<\"3/4\"> _*3/4 | _*3/4 | d/2.",
                     "cn|2Rm2R|n"},
        CondenseCase{"ADoubleBarEndsTheRun", "c1/1 | _/1 | _/1 \\doubleBar _/1 | _/1 | d/1", "cn|r|rb2R|n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
