// Tuplet marks through the recording canvas: the number alone by its beam or in a bracket, above or below, centred
// with PutGlyphText, the group's bounds, and groups with no start on the staff.
#include <gtest/gtest.h>

#include "render/beams.h"
#include "render/music_font_table.h"
#include "render/tuplet_marks.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using nlohmann::json;

class TupletMarks : public test::NoteDrawingTest {
protected:
    // Three notes of a 3:2 group on staff 0 at 400, 460, 520 (name, octave each), beamed when `beamed`.
    void AddTriplet(std::initializer_list<std::pair<unsigned, unsigned>> notes, unsigned duration, bool beamed,
                    unsigned side = 0) {
        int k = 0;
        const int n = static_cast<int>(notes.size());
        for (auto [name, octave] : notes) {
            ElementRecord& e = AddNote(0, 400 + 60 * k, name, octave, duration);
            e.w1().setNumerator(3);
            e.w1().setDenominator(2);
            e.w0().setGroupMark((k == 0 ? 1u : 0u) | (k == n - 1 ? 2u : 0u));
            if (k == 0) e.w0().setGroupMarkSide(side);
            if (beamed) {
                e.w0().setInBeam(true);
                e.w0().setOpensBeam(k == 0);
                e.w0().setClosesBeam(k == n - 1);
            }
            ++k;
        }
    }

    std::vector<json> Numbers() const { return Calls("glyphText"); }
    static constexpr int Three = TupletDigitCode + 3;
};

TEST_F(TupletMarks, ABeamedTripletShowsItsNumberAloneOverTheBeamsMiddle) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 5, true);  // G4 A4 B4: stems and beam up
    DrawStaff(0);
    const auto numbers = Numbers();
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(numbers[0]["codes"], json::array({Three}));
    EXPECT_TRUE(numbers[0]["centred"].get<bool>());
    EXPECT_TRUE(Calls("hline").empty());  // no bracket
    const auto range = FindBeamGroup(Staff(0), 0);
    const auto beam = LayOutBeamGroup(dc, Staff(0), *range);
    ASSERT_TRUE(beam.has_value());
    const int x = numbers[0]["x"];
    EXPECT_GT(x, beam->stems.front().x);
    EXPECT_LT(x, beam->stems.back().x);
    EXPECT_NEAR(numbers[0]["y"].get<double>(), beam->outerEdgeAt(x) + Half(), 1.0);
}

TEST_F(TupletMarks, QuarterTripletsGetABracketAboveTheStaffBrokenAroundTheNumber) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 4, false);  // stems up, below the middle line
    DrawStaff(0);
    const auto numbers = Numbers();
    ASSERT_EQ(numbers.size(), 1u);
    const auto lines = Calls("hline");
    ASSERT_EQ(lines.size(), 2u);
    const int y = lines[0]["y1"];
    EXPECT_EQ(lines[1]["y1"], y);
    // From the first head's left edge to the last head's right edge, open around the centred number.
    EXPECT_EQ(lines[0]["x1"], 400 - HeadHalf());
    EXPECT_NEAR(lines[1]["x2"].get<int>(), 520 + HeadHalf(), 2);
    const int centre = numbers[0]["x"];
    EXPECT_LT(lines[0]["x2"].get<int>(), centre);
    EXPECT_GT(lines[1]["x1"].get<int>(), centre);
    EXPECT_NEAR(centre, (lines[0]["x1"].get<int>() + lines[1]["x2"].get<int>()) / 2, 1);
    // Clear of the stems and of the staff, with its hooks pointing down to the notes.
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 5u);  // three stems and two hooks
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(numbers[0]["y"].get<int>(), stems[static_cast<std::size_t>(k)]["y2"].get<int>());
    EXPECT_GT(numbers[0]["y"].get<int>(), Top(0));
    EXPECT_LT(stems[3]["y1"].get<int>(), y);
}

TEST_F(TupletMarks, TheSideBitPutsTheMarkBelowTheNotes) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 4, false, 1);
    DrawStaff(0);
    const auto numbers = Numbers();
    ASSERT_EQ(numbers.size(), 1u);
    const auto lines = Calls("hline");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_LT(lines[0]["y1"].get<int>(), Bottom(0));
    EXPECT_LT(numbers[0]["y"].get<int>(), Bottom(0) - Half());
    const auto hooks = Calls("vline");
    ASSERT_EQ(hooks.size(), 5u);
    EXPECT_GT(hooks[3]["y1"].get<int>(), lines[0]["y1"].get<int>());  // pointing up, to the notes
}

TEST_F(TupletMarks, ABeamedGroupMarkedOnItsHeadsSideKeepsItsBracket) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 5, true, 1);  // beam above, mark below
    DrawStaff(0);
    EXPECT_EQ(Calls("hline").size(), 2u);
    ASSERT_EQ(Numbers().size(), 1u);
    EXPECT_LT(Numbers()[0]["y"].get<int>(), Bottom(0));
}

TEST_F(TupletMarks, AGroupWithoutAStartOnTheStaffBeginsAtItsFirstNote) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 4, false);
    Staff(0).elements[0].w0().setGroupMark(0);
    const auto range = FindTupletEndingAt(Staff(0), 2);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->first, 0);
    EXPECT_EQ(range->last, 2);
    EXPECT_FALSE(FindTupletEndingAt(Staff(0), 1).has_value());
}

TEST_F(TupletMarks, TwoGroupsInARowAreMarkedEachOnItsOwn) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 4, false);
    for (int k = 0; k < 3; ++k) {
        ElementRecord& e = AddNote(0, 600 + 60 * k, 5, 4, 4);
        e.w1().setNumerator(3);
        e.w0().setGroupMark(k == 0 ? 1u : (k == 2 ? 2u : 0u));
    }
    const auto second = FindTupletEndingAt(Staff(0), 5);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->first, 3);
    DrawStaff(0);
    EXPECT_EQ(Numbers().size(), 2u);
}

TEST_F(TupletMarks, ANumeratorOfZeroDrawsNothing) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 4, false);
    Staff(0).elements[0].w1().setNumerator(0);
    DrawStaff(0);
    EXPECT_TRUE(Numbers().empty());
    EXPECT_TRUE(Calls("hline").empty());
}

TEST_F(TupletMarks, TheMetafilePassReplaysTheNumbersMeasuredWidth) {
    AddTriplet({{5, 4}, {6, 4}, {7, 4}}, 4, false);
    dc.exportRegion = dc.visibleRegion = {0, 0, 3000, 3000};
    // The tuplet digit is the one glyph the passes write centred; its run lands where the screen puts it.
    const auto numberRun = [this] {
        for (const json& c : Calls("glyphRun")) {
            if (c["codePoints"] == json::array({0xE883})) return c;
        }
        return json{};
    };
    DrawStaff(0);
    const json onScreen = numberRun();
    ASSERT_FALSE(onScreen.is_null());
    dc.outputMode = OutputMode::Measuring;
    DrawStaff(0);
    EXPECT_EQ(dc.centredWidths.size(), 1u);
    dc.outputMode = OutputMode::Metafile;
    DrawStaff(0);
    EXPECT_EQ(dc.centredWidths.size(), 0u);
    EXPECT_EQ(numberRun()["x"], onScreen["x"]);
}

}  // namespace
}  // namespace notavera
