// Ties and slurs through the recording canvas: end points of short and long ties, the arc's height classes, the
// side rules, the peak of a slur over a high note, chord ties member by member, curves cut by the line's ends, and
// the two arcs of the screen against the filled crescent of the printer.
#include <gtest/gtest.h>

#include "render/arc_curve.h"
#include "render/ties.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using nlohmann::json;
using test::AutoStem;
using test::ChordBit;

ArcCurve Curve(int x1, int y1, int x2, int y2, bool above = true) {
    ArcCurve c;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.above = above;
    return c;
}

class Ties : public test::NoteDrawingTest {
protected:
    // A note at x on staff 0, opening or closing a curve; returns its index.
    int Note(int x, unsigned name, unsigned octave, unsigned duration = 4, std::uint32_t flags = AutoStem) {
        ElementRecord& e = AddNote(0, x, name, octave, duration, flags);
        return IndexOf(0, e);
    }
    ElementRecord& At(int index) { return Staff(0).elements[static_cast<std::size_t>(index)]; }
    void Opens(int index) {
        At(index).w0().setTiedToNext(true);
        At(index).w0().setTieStarts(true);
    }
    void Closes(int index) {
        At(index).w0().setTiedToNext(true);
        At(index).w0().setTieEnds(true);
    }
    void Draw() {
        dc.pendingCurve.reset();
        DrawStaff(0);
    }
    int Y(int index) {
        // Heights of the notes used here, from the staff's bottom line (E4) one half space a step.
        const auto n = At(index).noteWord();
        const int steps = static_cast<int>(n.step()) - 3 + 7 * (static_cast<int>(At(index).w0().octave()) - 4);
        return Bottom(0) + steps * Half();
    }
    int Clearance() const { return Space() + dc.metrics.eighthSpace[0]; }
};

TEST_F(Ties, AShortTieReachesOverBothHeads) {
    // Two G4 quarters five steps apart: stems up, so the tie goes below them.
    const int a = Note(500, 5, 4), b = Note(550, 5, 4);
    Opens(a);
    Closes(b);
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);  // outer and inner arc on a device that does not fill
    const int y = Y(a) - Clearance();
    EXPECT_EQ(arcs[0]["start"], json::array({500 - HeadHalf(), y}));
    EXPECT_EQ(arcs[0]["end"], json::array({550 + HeadHalf(), y}));
    EXPECT_EQ(arcs[0]["pen"]["width"], dc.curves.tiePenWidth);
}

struct LevelTieCase {
    int width;
    int spacesBeyond;  // how far the arc's extreme point lies beyond its ends
};

class LevelTies : public Ties, public ::testing::WithParamInterface<LevelTieCase> {};

TEST_P(LevelTies, RiseByTheirHeightClass) {
    // D5 quarters: stems down, so the tie goes above; long enough to be drawn level.
    const int a = Note(500, 2, 5), b = Note(500 + GetParam().width, 2, 5);
    Opens(a);
    Closes(b);
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    const int ends = Y(a) + Clearance() - static_cast<int>(dc.metrics.quarterSpace[0]);
    EXPECT_EQ(arcs[0]["start"][1], ends);
    EXPECT_EQ(arcs[0]["end"][1], ends);
    // Running counter-clockwise over the top: from the right end to the left one.
    EXPECT_EQ(arcs[0]["start"][0], 500 + GetParam().width);
    const int centre = (arcs[0]["top"].get<int>() + arcs[0]["bottom"].get<int>()) / 2;
    EXPECT_EQ(centre, ends - Space());
    EXPECT_EQ(arcs[0]["top"].get<int>(), ends + GetParam().spacesBeyond * Space());
    EXPECT_EQ(arcs[0]["left"], 500);
    EXPECT_EQ(arcs[0]["right"], 500 + GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(Widths, LevelTies, ::testing::Values(LevelTieCase{250, 1}, LevelTieCase{400, 2}));

TEST_F(Ties, ACurveNoWiderThanAStepUnitIsNotDrawn) {
    const int y = Middle(0);
    DrawArcCurve(dc, Curve(500, y, 500 + dc.metrics.stepUnit, y), 0);
    EXPECT_TRUE(Calls("arc").empty());
    DrawArcCurve(dc, Curve(500, y, 501 + dc.metrics.stepUnit, y), 0);
    EXPECT_EQ(Calls("arc").size(), 2u);
}

TEST_F(Ties, TheScreenDrawsTwoArcsAndThePrinterFillsTheCrescent) {
    const int y = Middle(0);
    const ArcCurve curve = Curve(500, y, 800, y + 30);
    RecordingCanvas screen(CanvasKind::Screen);
    dc.canvas = &screen;
    DrawArcCurve(dc, curve, 0);
    ASSERT_EQ(screen.calls().size(), 2u);

    RecordingCanvas printer(CanvasKind::Printer);
    dc.canvas = &printer;
    DrawArcCurve(dc, curve, 0);
    const json& calls = printer.calls();
    EXPECT_EQ(calls[0], screen.calls()[0]);
    EXPECT_EQ(calls[1], screen.calls()[1]);
    // The fill steps from the outer arc's box to the inner one's, a unit at a time where the top moves most.
    const int outerTop = calls[0]["top"], innerTop = calls[1]["top"];
    ASSERT_GT(outerTop, innerTop);
    EXPECT_GE(calls.size(), static_cast<std::size_t>(outerTop - innerTop + 1));
    for (std::size_t k = 2; k < calls.size(); ++k) {
        EXPECT_EQ(calls[k]["op"], "arc");
        EXPECT_LE(calls[k]["top"].get<int>(), outerTop);
        EXPECT_GE(calls[k]["top"].get<int>(), innerTop);
    }
}

TEST_F(Ties, TheThicknessSettingSetsTheCrescentsDepth) {
    const int y = Middle(0);
    const ArcCurve level = Curve(500, y, 800, y);
    for (int k : {-4, 0, 3}) {
        const auto shape = ShapeArcCurve(dc, level, k);
        ASSERT_TRUE(shape && shape->inner);
        EXPECT_DOUBLE_EQ(shape->outer.top - shape->inner->top, std::max(Space() / (k + 5), 2)) << k;
        // A level curve's inner arc is wider, so that both meet at the ends.
        EXPECT_LT(shape->inner->left, shape->outer.left);
        EXPECT_GT(shape->inner->right, shape->outer.right);
    }
}

TEST_F(Ties, DashedCurvesAreOneStyledArcWithoutThickness) {
    const int a = Note(500, 2, 5), b = Note(800, 2, 5);
    Opens(a);
    Closes(b);
    At(b).w0().setCurveStyle(1);
    dc.outputMode = OutputMode::Metafile;
    dc.exportRegion = dc.visibleRegion = {0, 0, 2100, 2970};
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0]["pen"]["style"], "dash");
}

TEST_F(Ties, InvertedArcsRunTheOtherWayInTheMetafileOnly) {
    const ArcCurve curve = Curve(500, 1000, 800, 1000);
    dc.curves.invertArcs = true;
    DrawArcCurve(dc, curve, 0);
    const json screen = Calls("arc")[0];
    canvas.clear();
    dc.outputMode = OutputMode::Metafile;
    DrawArcCurve(dc, curve, 0);
    const json metafile = Calls("arc")[0];
    EXPECT_EQ(metafile["start"], screen["end"]);
    EXPECT_EQ(metafile["end"], screen["start"]);
}

struct SideCase {
    unsigned nameA, octaveA, durationA, nameB, octaveB, durationB;
    bool preferAbove;
    bool above;
};

class CurveSides : public Ties, public ::testing::WithParamInterface<SideCase> {};

TEST_P(CurveSides, FollowTheStems) {
    const SideCase& c = GetParam();
    const int a = Note(500, c.nameA, c.octaveA, c.durationA), b = Note(800, c.nameB, c.octaveB, c.durationB);
    Opens(a);
    Closes(b);
    At(b).w0().setCurveAbove(c.preferAbove);
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    // A curve above runs from its right end; one below from its left end.
    EXPECT_EQ(arcs[0]["start"][0].get<int>() > arcs[0]["end"][0].get<int>(), c.above);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CurveSides,
    ::testing::Values(SideCase{5, 4, 4, 4, 4, 4, true, false},   // both stems up: below, whatever is preferred
                      SideCase{2, 5, 4, 4, 5, 4, false, true},   // both stems down: above
                      SideCase{5, 4, 4, 4, 5, 4, false, false},  // stems disagree: the preferred side
                      SideCase{5, 4, 4, 4, 5, 4, true, true},
                      SideCase{2, 5, 4, 5, 4, 2, false, true},   // a whole note at the end: away from the first stem
                      SideCase{2, 5, 2, 5, 4, 4, true, false})); // a whole note first: away from the second stem

TEST_F(Ties, ASlurOverAHighNoteClearsIt) {
    // G4 – G5 – A4 eighths... as quarters with stems forced down so the slur goes above the heads.
    const std::uint32_t down = 0;
    const int a = Note(500, 5, 4, 4, down), mid = Note(650, 5, 5, 4, down), b = Note(800, 6, 4, 4, down);
    Opens(a);
    Closes(b);
    At(b).w0().setCurveAbove(true);
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_GE(arcs[0]["top"].get<int>(), Y(mid) + Clearance());
}

TEST_F(Ties, ChordsAreTiedMemberByMember) {
    // C–E–G quarters, stems up: the lowest and middle ties go below, the highest above. The members are made at one
    // x, each next to the one before, so indices are read back once all are made.
    for (int x : {500, 800}) {
        for (unsigned name : {1u, 3u, 5u}) AddNote(0, x, name, 4, 4, AutoStem | ChordBit);
    }
    Opens(0);
    Closes(static_cast<int>(Staff(0).elements.size()) - 1);
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 6u);
    // Each tie keeps to its own pair of heads, half a space out and drawn level a quarter space nearer.
    const int quarter = static_cast<int>(dc.metrics.quarterSpace[0]);
    const int c = Half() - quarter;
    const std::array<int, 3> heads{Bottom(0) - 2 * Half(), Bottom(0), Bottom(0) + 2 * Half()};
    const std::array<bool, 3> above{false, false, true};
    for (std::size_t k = 0; k < 3; ++k) {
        const json& arc = arcs[2 * k];
        EXPECT_EQ(arc["start"][1], heads[k] + (above[k] ? c : -c)) << k;
        EXPECT_EQ(arc["start"][0].get<int>() > arc["end"][0].get<int>(), above[k]) << k;
    }
}

TEST_F(Ties, ACurveLeftOpenRunsToTheLineEnd) {
    const int a = Note(500, 2, 5);
    Opens(a);
    Draw();
    EXPECT_TRUE(Calls("arc").empty());
    FinishStaffCurves(dc, Staff(0), 1900);
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_EQ(arcs[0]["start"][0], 1900);
    EXPECT_EQ(arcs[0]["end"][0], 500);
    EXPECT_FALSE(dc.pendingCurve.has_value());
}

TEST_F(Ties, ACurveContinuedFromTheLineBeforeComesInFromSixStepsAway) {
    const int b = Note(500, 2, 5);
    Closes(b);
    Draw();
    const auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_EQ(arcs[0]["end"][0], 500 - dc.metrics.stepUnit6 - HeadHalf());
}

TEST_F(Ties, ANoteThatEndsOneCurveAndStartsTheNextChainsThem) {
    const int a = Note(500, 2, 5), b = Note(800, 2, 5), c = Note(1100, 2, 5);
    Opens(a);
    Closes(b);
    Opens(b);
    Closes(c);
    Draw();
    EXPECT_EQ(Calls("arc").size(), 4u);
}

}  // namespace
}  // namespace notavera
