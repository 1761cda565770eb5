// Signs drawn through the recording canvas: clefs on their lines, key signatures and their cancellations, every bar
// line with its strokes and dots, braces and brackets, time signatures, and the signs placed on a pitch.
#include "render/draw_signs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/draw_element.h"
#include "render/geometry.h"
#include "render/key_signature_layout.h"
#include "render/primitives.h"
#include "score/element_creation.h"
#include "support/staff_drawing.h"

namespace notavera {
namespace {

using nlohmann::json;
using test::StaffDrawing;

constexpr int X = 400;

class SignDrawing : public ::testing::Test {
protected:
    SignDrawing() : page(test::ModelOfStaves(4)) {}

    ElementRecord& sign(int x, int code, SignType type, unsigned sub = 0, int staff = 0) {
        page.onStaff(staff);
        ElementRecord* e = CreateSign(page.doc, x, 0, code, type, sub);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    ElementRecord& clef(int x, int number, int staff = 0) { return sign(x, number, SignType::Clef, 0, staff); }

    std::vector<json> glyphs() const { return page.calls("glyph"); }
    std::vector<json> vlines() const { return page.calls("vline"); }
    int line(int fromTop, int staff = 0) const { return page.line(staff, fromTop); }
    int space() const { return page.dc.metrics.staffSpace[0]; }
    int su() const { return page.dc.metrics.stepUnit; }
    // The height of a pitch on staff 0 under a clef number.
    int pitchY(int clefNumber, int step, int octave) const {
        return page.reference(0) + PitchToOffset(step, octave, ClefValueOfClef(clefNumber), 10);
    }

    // The step between neighbouring key accidentals, read from two of them: one accidental width and a gap that
    // keeps their ink apart without loosening the signature.
    int keyAdvance(const json& first, const json& second) const {
        const int advance = second["x"].get<int>() - first["x"].get<int>();
        const int width = page.dc.widths.accidentalWidth[0][0];
        EXPECT_GT(advance, width);
        EXPECT_LE(advance, width + 0.3 * space());
        return advance;
    }

    StaffDrawing page;
};

// ---- Clefs ----

struct ClefCase {
    int clef;
    int code;
    int step;    // the pitch the clef names on its line (G, F, C); 0 for the percussion clef
    int octave;
};

class ClefLines : public SignDrawing, public ::testing::WithParamInterface<ClefCase> {};

TEST_P(ClefLines, GlyphSitsOnTheLineOfItsPitchAndSetsTheClefState) {
    const ClefCase& c = GetParam();
    clef(X, c.clef);
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0]["code"], c.code);
    EXPECT_EQ(g[0]["x"], X - 2 * su());
    const int expectedY = c.step == 0 ? line(2) : pitchY(c.clef, c.step, c.octave);
    EXPECT_EQ(g[0]["y"], expectedY);
    EXPECT_EQ(ClefValueAt(page.dc.staves, 0, X), ClefValueOfClef(c.clef));
    EXPECT_EQ(ClefValueAt(page.dc.staves, 0, X - 1), 0);
}

INSTANTIATE_TEST_SUITE_P(AllTwelve, ClefLines,
                         ::testing::Values(ClefCase{1, 207, 5, 4}, ClefCase{2, 207, 5, 4}, ClefCase{3, 208, 4, 3},
                                           ClefCase{4, 208, 4, 3}, ClefCase{5, 209, 1, 4}, ClefCase{6, 209, 1, 4},
                                           ClefCase{7, 209, 1, 4}, ClefCase{8, 209, 1, 4}, ClefCase{9, 210, 5, 3},
                                           ClefCase{10, 208, 4, 3}, ClefCase{11, 209, 1, 4},
                                           ClefCase{12, 152, 0, 0}),
                         [](const auto& info) { return "Clef" + std::to_string(info.param.clef); });

TEST_F(SignDrawing, TrebleClefCurlsRoundTheSecondLine) {
    clef(X, 1);
    page.drawStaff(0);
    EXPECT_EQ(glyphs()[0]["y"], line(3));
}

TEST_F(SignDrawing, UnknownClefNumberIsAGClefOnTheTopLine) {
    clef(X, 13);
    page.drawStaff(0);
    ASSERT_EQ(glyphs().size(), 1u);
    EXPECT_EQ(glyphs()[0]["code"], 207);
    EXPECT_EQ(glyphs()[0]["y"], line(0));
}

TEST_F(SignDrawing, HiddenClefIsNotDrawnButStillSetsTheClefState) {
    clef(X, 3).w0().setHidden(true);
    page.drawStaff(0);
    EXPECT_TRUE(glyphs().empty());
    EXPECT_EQ(ClefValueAt(page.dc.staves, 0, X), 10);
    page.dc.draw.showHidden = true;
    page.drawStaff(0);
    EXPECT_EQ(glyphs().size(), 1u);
}

TEST_F(SignDrawing, WithoutACanvasOnlyTheClefStateIsBuilt) {
    clef(X, 3);
    page.dc.canvas = nullptr;
    page.drawStaff(0);
    EXPECT_TRUE(page.canvas.calls().empty());
    EXPECT_EQ(ClefValueAt(page.dc.staves, 0, X + 100), 10);
}

TEST_F(SignDrawing, AClefDrawnTwiceInAPassIsEnteredOnce) {
    clef(X, 3);
    page.drawStaff(0);
    DrawElement(page.dc, page.staff(0), 0);
    EXPECT_EQ(page.dc.staves[0].clefs.count(), 1);
}

TEST_F(SignDrawing, CueClefIsSmallerAndAStepUnitFurtherRight) {
    clef(X, 1).w0().setCueSize(true);
    page.drawStaff(0);
    EXPECT_EQ(glyphs()[0]["x"], X - su());
    EXPECT_EQ(glyphs()[0]["fontHeight"], 120);
}

TEST_F(SignDrawing, OldNotationWritesTheAlternateClefsAndFullSizeCueClefs) {
    page.staff(0).key().setOldNotation(true);
    clef(X, 3);
    clef(X + 200, 1).w0().setCueSize(true);
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0]["code"], 228);
    EXPECT_EQ(g[1]["code"], 241);
    EXPECT_EQ(g[1]["fontHeight"], 160);
}

TEST_F(SignDrawing, ClefOnASixLineStaffKeepsItsLineFromTheBottom) {
    StaffDrawing six(test::ModelOfStaves(1));
    six.dc.staves[0].lines = 6;
    six.onStaff(0);
    CreateSign(six.doc, X, 0, 3, SignType::Clef, 0);
    six.drawStaff(0);
    // Two spaces below the top line: still the fourth line from the bottom.
    EXPECT_EQ(six.calls("glyph")[0]["y"], six.line(0, 2));
}

// ---- Key signatures ----

TEST_F(SignDrawing, LineStartKeyBeginsEightStepUnitsIntoTheStaffAndReportsWhereNotesMayStart) {
    clef(60, 1);
    page.staff(0).key().setKeyKind(KeyKind::Sharps);
    page.staff(0).key().setKeyCount(2);
    page.drawStaff(0);
    page.canvas.clear();
    const int end = DrawStaffKeySignature(page.dc, page.staff(0), 0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 2u);
    const int start = StaffDrawing::LeftEdge + 8 * su();
    const int advance = keyAdvance(g[0], g[1]);
    EXPECT_EQ(g[0]["x"], start);
    EXPECT_EQ(g[0]["y"], pitchY(1, 4, 5));  // F on the top line
    EXPECT_EQ(g[1]["y"], pitchY(1, 1, 5));  // C in the third space
    EXPECT_EQ(end, start + 2 * advance + 6 * su());
}

TEST_F(SignDrawing, OldNotationLineStartKeyMovesAStepUnitAndWritesTheOldFlat) {
    clef(60, 1);
    page.staff(0).key().setOldNotation(true);
    page.staff(0).key().setKeyKind(KeyKind::Flats);
    page.staff(0).key().setKeyCount(1);
    page.drawStaff(0);
    page.canvas.clear();
    DrawStaffKeySignature(page.dc, page.staff(0), 0);
    ASSERT_EQ(glyphs().size(), 1u);
    EXPECT_EQ(glyphs()[0]["code"], 233);
    EXPECT_EQ(glyphs()[0]["x"], StaffDrawing::LeftEdge + 9 * su());
}

struct SevenCase {
    int clef;
    KeyKind kind;
};

class SevenAccidentals : public SignDrawing, public ::testing::WithParamInterface<SevenCase> {};

TEST_P(SevenAccidentals, KeyChangeWritesAllSevenAtTheirPlacesOneWidthApart) {
    const auto [clefNumber, kind] = GetParam();
    clef(60, clefNumber);
    sign(X, 7, SignType::KeyChange, static_cast<unsigned>(kind));
    page.drawStaff(0);
    auto g = glyphs();
    ASSERT_EQ(g.size(), 8u);
    g.erase(g.begin());
    const int advance = keyAdvance(g[0], g[1]);
    for (int i = 0; i < 7; ++i) {
        const auto p = KeyAccidentalAt(kind, i, ClefValueOfClef(clefNumber));
        EXPECT_EQ(g[i]["code"], kind == KeyKind::Sharps ? 211 : 213);
        EXPECT_EQ(g[i]["x"], X + i * advance);
        EXPECT_EQ(g[i]["y"], pitchY(clefNumber, p.step, p.octave)) << i;
    }
    EXPECT_EQ(DrawKeyChange(page.dc, page.staff(0), 1), X + 7 * advance + 6 * su());
}

INSTANTIATE_TEST_SUITE_P(TrebleBassAltoTenor, SevenAccidentals,
                         ::testing::Values(SevenCase{1, KeyKind::Sharps}, SevenCase{1, KeyKind::Flats},
                                           SevenCase{3, KeyKind::Sharps}, SevenCase{3, KeyKind::Flats},
                                           SevenCase{7, KeyKind::Sharps}, SevenCase{7, KeyKind::Flats},
                                           SevenCase{8, KeyKind::Sharps}, SevenCase{8, KeyKind::Flats}),
                         [](const auto& info) {
                             return "Clef" + std::to_string(info.param.clef) +
                                    (info.param.kind == KeyKind::Sharps ? "Sharps" : "Flats");
                         });

TEST_F(SignDrawing, FewerSharpsCancelTheDroppedOnesWithNaturalsFirst) {
    clef(60, 1);
    page.staff(0).key().setKeyKind(KeyKind::Sharps);
    page.staff(0).key().setKeyCount(3);
    sign(X, 1, SignType::KeyChange, 1);
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 4u);
    const int advance = keyAdvance(g[1], g[2]);
    EXPECT_EQ(g[1]["code"], 212);
    EXPECT_EQ(g[1]["y"], pitchY(1, 1, 5));  // C
    EXPECT_EQ(g[2]["code"], 212);
    EXPECT_EQ(g[2]["y"], pitchY(1, 5, 5));  // G
    EXPECT_EQ(g[3]["code"], 211);
    EXPECT_EQ(g[3]["y"], pitchY(1, 4, 5));  // F
    EXPECT_EQ(g[3]["x"], X + 2 * advance);
}

TEST_F(SignDrawing, ChangingSharpsToFlatsCancelsEverySharpOfTheEarlierKeyChange) {
    clef(60, 3);
    sign(300, 2, SignType::KeyChange, 1);
    sign(X, 1, SignType::KeyChange, 2);
    page.drawStaff(0);
    page.canvas.clear();
    DrawKeyChange(page.dc, page.staff(0), 2);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0]["code"], 212);
    EXPECT_EQ(g[0]["y"], pitchY(3, 4, 3));  // F
    EXPECT_EQ(g[1]["y"], pitchY(3, 1, 3));  // C
    EXPECT_EQ(g[2]["code"], 213);
    EXPECT_EQ(g[2]["y"], pitchY(3, 7, 2));  // B
}

TEST_F(SignDrawing, MoreOfTheSameKindCancelsNothing) {
    clef(60, 1);
    page.staff(0).key().setKeyKind(KeyKind::Flats);
    page.staff(0).key().setKeyCount(1);
    sign(X, 3, SignType::KeyChange, 2);
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 4u);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(g[i]["code"], 213);
}

TEST_F(SignDrawing, CancellingKeyChangeIsDrawnAsTheNaturalsOfTheKeyItNames) {
    clef(60, 1);
    page.staff(0).key().setKeyKind(KeyKind::Sharps);
    page.staff(0).key().setKeyCount(2);
    sign(X, 2, SignType::KeyChange, 1).signWord().setFlag16(true);
    sign(X + 200, 1, SignType::KeyChange, 2);
    page.drawStaff(0);
    const auto g = glyphs();
    // Clef, two naturals, then the flat after it: nothing is left to cancel.
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(g[1]["code"], 212);
    EXPECT_EQ(g[1]["y"], pitchY(1, 4, 5));
    EXPECT_EQ(g[2]["code"], 212);
    EXPECT_EQ(g[3]["code"], 213);
}

TEST_F(SignDrawing, KeyAccidentalsFollowAClefChangeBeforeThem) {
    clef(60, 1);
    clef(300, 3);
    sign(X, 1, SignType::KeyChange, 1);
    page.drawStaff(0);
    EXPECT_EQ(glyphs().back()["y"], pitchY(3, 4, 3));
}

// ---- Bar lines ----

struct Stroke {
    int x;
    int width;
};

std::vector<Stroke> Strokes(const std::vector<json>& lines) {
    std::vector<Stroke> out;
    for (const json& l : lines) out.push_back({l["x"].get<int>(), l["width"].get<int>()});
    std::sort(out.begin(), out.end(), [](Stroke a, Stroke b) { return a.x < b.x; });
    return out;
}

// The gap between the edges of two strokes, left to right.
double EdgeGap(Stroke a, Stroke b) { return (b.x - b.width / 2.0) - (a.x + a.width / 2.0); }

TEST_F(SignDrawing, SingleBarRunsFromTheTopLineToTheBottomLine) {
    sign(X, '|', SignType::Bar);
    page.drawStaff(0);
    const auto v = vlines();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0]["x"], X);
    EXPECT_EQ(v[0]["width"], 3);
    EXPECT_EQ(std::max(v[0]["y1"].get<int>(), v[0]["y2"].get<int>()), line(0));
    EXPECT_EQ(std::min(v[0]["y1"].get<int>(), v[0]["y2"].get<int>()), line(4));
}

TEST_F(SignDrawing, DoubleBarIsTwoThinStrokesAGapApart) {
    sign(X, 'D', SignType::Bar);
    page.drawStaff(0);
    const auto s = Strokes(vlines());
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].width, 3);
    EXPECT_EQ(s[1].width, 3);
    EXPECT_EQ(s[1].x, X);
    EXPECT_DOUBLE_EQ(EdgeGap(s[0], s[1]), 5.0);
}

struct BarCase {
    char code;
    std::vector<int> widths;  // strokes left to right
    int thickAt;              // index of the stroke at the bar's x
    bool dotsLeft;
    bool dotsRight;
};

class BarKinds : public SignDrawing, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarKinds, StrokesKeepTheGapBetweenTheirEdgesAndDotsSitBesideTheThinStrokes) {
    const BarCase& c = GetParam();
    sign(X, c.code, SignType::Bar);
    page.drawStaff(0);
    const auto s = Strokes(vlines());
    ASSERT_EQ(s.size(), c.widths.size());
    for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].width, c.widths[i]) << i;
    EXPECT_EQ(s[static_cast<std::size_t>(c.thickAt)].x, X);
    for (std::size_t i = 1; i < s.size(); ++i) EXPECT_NEAR(EdgeGap(s[i - 1], s[i]), 5.0, 0.5) << i;

    const auto dots = glyphs();
    ASSERT_EQ(dots.size(), static_cast<std::size_t>(c.dotsLeft) + static_cast<std::size_t>(c.dotsRight));
    const int dotsWidth = GlyphWidth(page.dc, 90);
    const double separation = 0.16 * space();  // the font's repeat-dot separation
    std::size_t k = 0;
    if (c.dotsLeft) {
        EXPECT_EQ(dots[k]["code"], 90);
        EXPECT_EQ(dots[k]["y"], line(2));
        const double dotsRightEdge = dots[k]["x"].get<int>() + dotsWidth;
        EXPECT_NEAR(s.front().x - s.front().width / 2.0 - dotsRightEdge, separation, 1.0);
        ++k;
    }
    if (c.dotsRight) {
        EXPECT_EQ(dots[k]["code"], 90);
        EXPECT_EQ(dots[k]["y"], line(2));
        EXPECT_NEAR(dots[k]["x"].get<int>() - (s.back().x + s.back().width / 2.0), separation, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(SpecialBars, BarKinds,
                         ::testing::Values(BarCase{'E', {3, 10}, 1, false, false},
                                           BarCase{'F', {3, 10}, 1, true, false},
                                           BarCase{'O', {10, 3}, 0, false, true},
                                           BarCase{'I', {10, 3}, 0, false, false},
                                           BarCase{'R', {3, 10, 3}, 1, true, true}),
                         [](const auto& info) { return std::string(1, info.param.code); });

TEST_F(SignDrawing, SmallStaffThickStrokeAndGapShrinkWithTheStaff) {
    page.dc.staves[0].small = true;
    sign(X, 'E', SignType::Bar);
    page.drawStaff(0);
    const auto s = Strokes(vlines());
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].width, 8);
    EXPECT_EQ(s[0].width, 3);
}

TEST_F(SignDrawing, DashedBarUsesItsPenStyleForItsOwnStrokesOnly) {
    sign(X, '|', SignType::Bar).signWord().setHigh7(1);
    page.drawStaff(0);
    const auto lines = page.calls("line");
    ASSERT_FALSE(lines.empty());
    for (const json& l : lines) EXPECT_EQ(l["pen"]["style"], "dash");
    EXPECT_EQ(page.dc.draw.lineStyle, 0);
}

TEST_F(SignDrawing, SpecialBarTwelveRunsFromTheSecondLineToTheFourth) {
    sign(X, 12, SignType::Bar);
    page.drawStaff(0);
    const auto v = vlines();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(std::max(v[0]["y1"].get<int>(), v[0]["y2"].get<int>()), line(1));
    EXPECT_EQ(std::min(v[0]["y1"].get<int>(), v[0]["y2"].get<int>()), line(3));
}

TEST_F(SignDrawing, UnknownBarCodesDrawNothing) {
    sign(X, 'Z', SignType::Bar);
    sign(X + 100, 0, SignType::Bar);
    sign(X + 200, -100, SignType::Bar);
    page.drawStaff(0);
    EXPECT_TRUE(page.canvas.calls().empty());
}

// Staves 0–2 grouped as one system.
class GroupedBars : public SignDrawing {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            page.staff(i).voice().setPositionInGroup(static_cast<unsigned>(i + 1));
            page.staff(i).voice().setGroupSize(3);
        }
    }
    std::pair<int, int> run() const {
        const json v = vlines().at(0);
        return {std::max(v["y1"].get<int>(), v["y2"].get<int>()), std::min(v["y1"].get<int>(), v["y2"].get<int>())};
    }
};

TEST_F(GroupedBars, BarJoinsDownToTheNextStaffOfItsGroup) {
    sign(X, '|', SignType::Bar, 0, 0);
    page.drawStaff(0);
    EXPECT_EQ(run(), std::make_pair(line(0, 0), line(0, 1)));
}

TEST_F(GroupedBars, LastStaffOfTheGroupAndBarsPerStaffKeepToTheirOwnStaff) {
    sign(X, '|', SignType::Bar, 0, 2);
    page.drawStaff(2);
    EXPECT_EQ(run(), std::make_pair(line(0, 2), line(4, 2)));
    page.dc.draw.barsPerStaff = true;
    sign(X, '|', SignType::Bar, 0, 0);
    page.drawStaff(0);
    EXPECT_EQ(run(), std::make_pair(line(0, 0), line(4, 0)));
}

TEST_F(GroupedBars, TheThreeReachesOfABar) {
    auto& own = sign(X, '|', SignType::Bar, 0, 0);
    own.signWord().setPairA(1);
    page.drawStaff(0);
    EXPECT_EQ(run(), std::make_pair(line(0, 0), line(4, 0)));
    own.signWord().setPairA(2);
    page.drawStaff(0);
    EXPECT_EQ(run(), std::make_pair(line(0, 0), line(4, 2)));
    own.signWord().setPairA(3);
    page.drawStaff(0);
    EXPECT_EQ(run(), std::make_pair(line(4, 0), line(0, 1)));
}

TEST_F(GroupedBars, RepeatOverTheWholeGroupPutsDotsOnEveryStaff) {
    sign(X, 'O', SignType::Bar, 0, 0).signWord().setPairA(2);
    page.drawStaff(0);
    const auto dots = glyphs();
    ASSERT_EQ(dots.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dots[static_cast<std::size_t>(i)]["y"], line(2, i));
}

// ---- Braces and brackets ----

TEST_F(SignDrawing, BraceCodeJoinsThisStaffToTheOneThatManyBelow) {
    sign(50, 1, SignType::Bar);
    page.drawStaff(0);
    const auto braces = page.calls("brace");
    ASSERT_EQ(braces.size(), 1u);
    EXPECT_EQ(braces[0]["x1"], 50);
    EXPECT_EQ(braces[0]["y1"], line(0, 0));
    EXPECT_EQ(braces[0]["y2"], line(4, 1));
    const auto runs = page.calls("glyphRun");
    ASSERT_EQ(runs.size(), 1u);
    // Bravura's brace glyphs live at U+E000 and in its optional range.
    const auto cp = runs[0]["codePoints"][0].get<std::uint32_t>();
    EXPECT_TRUE(cp == 0xE000 || cp == 0xF401 || cp == 0xF402) << cp;
    // Scaled so that its ink spans the two staves: an em is four staff spaces of the glyph.
    const double em = runs[0]["em"].get<double>();
    const auto& font = *page.dc.musicFont;
    const MusicGlyph* g = nullptr;
    for (auto which : {StructuralGlyph::Brace, StructuralGlyph::BraceLarge, StructuralGlyph::BraceLarger}) {
        if (font.structural(which) && font.structural(which)->codePoint == cp) g = font.structural(which);
    }
    ASSERT_NE(g, nullptr);
    EXPECT_NEAR(em / 4 * g->box.height(), line(0, 0) - line(4, 1), 1.0);
    // About a staff space wide, as a piano brace is.
    const double width = em / 4 * g->box.width();
    EXPECT_GT(width, 0.8 * space());
    EXPECT_LT(width, 1.4 * space());
}

TEST_F(SignDrawing, BraceBeyondTheLastStaffIsNotDrawn) {
    sign(50, 4, SignType::Bar, 0, 0);
    sign(50, 1, SignType::Bar, 0, 3);
    page.drawStaff(0);
    EXPECT_TRUE(page.canvas.calls().empty());
    page.drawStaff(3);
    EXPECT_TRUE(page.canvas.calls().empty());
}

TEST_F(SignDrawing, NegativeCodeIsASquareBracketWithItsEnds) {
    sign(50, -2, SignType::Bar);
    page.drawStaff(0);
    const auto brackets = page.calls("bracket");
    ASSERT_EQ(brackets.size(), 1u);
    EXPECT_EQ(brackets[0]["y1"], line(0, 0));
    EXPECT_EQ(brackets[0]["y2"], line(4, 2));
    const int thickness = brackets[0]["width"];
    EXPECT_EQ(thickness, space() / 2);  // the font's bracket thickness
    const auto v = vlines();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0]["width"], thickness);
    EXPECT_NEAR(v[0]["x"].get<int>() + thickness / 2.0, 50, 1.0);
    const auto runs = page.calls("glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0]["codePoints"][0], 0xE003);
    EXPECT_EQ(runs[0]["y"], line(0, 0));
    EXPECT_EQ(runs[1]["codePoints"][0], 0xE004);
    EXPECT_EQ(runs[1]["y"], line(4, 2));
}

// ---- Time signatures ----

class TimeSignatures : public SignDrawing {
protected:
    ElementRecord& meter(unsigned num, unsigned den, unsigned flags, unsigned sub = 0) {
        page.doc.insertion.timeSigNum = num;
        page.doc.insertion.timeSigDen = den;
        page.onStaff(0);
        return *CreateSign(page.doc, X, 0, static_cast<int>(flags), SignType::TimeSignature, sub);
    }
    std::vector<json> texts() const { return page.calls("glyphText"); }
    static std::vector<int> Codes(const json& call) { return call["codes"].get<std::vector<int>>(); }
};

TEST_F(TimeSignatures, ThreeFourStandsOnTheMiddleAndBottomLines) {
    meter(3, 4, 1);
    page.drawStaff(0);
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(Codes(t[0]), std::vector<int>{'3'});
    EXPECT_EQ(t[0]["y"], line(2));
    EXPECT_EQ(Codes(t[1]), std::vector<int>{'4'});
    EXPECT_EQ(t[1]["y"], line(4));
    for (const json& c : t) {
        EXPECT_EQ(c["x"], X);
        EXPECT_TRUE(c["centred"].get<bool>());
    }
    EXPECT_EQ(page.dc.playbackProportion, (PlaybackProportion{3, 4}));
}

TEST_F(TimeSignatures, TwelveEightMovesBothNumbersTwoStepUnitsRight) {
    meter(12, 8, 1);
    page.drawStaff(0);
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(Codes(t[0]), (std::vector<int>{'1', '2'}));
    EXPECT_EQ(t[0]["x"], X + 2 * su());
    EXPECT_EQ(t[1]["x"], X + 2 * su());
}

TEST_F(TimeSignatures, NumeratorAloneStandsOnTheSecondLine) {
    meter(3, 0, 1);
    page.drawStaff(0);
    const auto t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0]["y"], line(3));
    EXPECT_EQ(page.dc.playbackProportion, (PlaybackProportion{3, 1}));
}

TEST_F(TimeSignatures, CommonAndCutTimeAreOneCentredCharacterOnTheSecondLine) {
    meter(1, 1, 64, 0);
    page.drawStaff(0);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(Codes(texts()[0]), std::vector<int>{140});
    EXPECT_EQ(texts()[0]["y"], line(3));
    EXPECT_EQ(page.dc.playbackProportion, (PlaybackProportion{4, 4}));

    page.staff(0).elements.clear();
    meter(1, 1, 64, 1);
    page.drawStaff(0);
    EXPECT_EQ(Codes(texts()[0]), std::vector<int>{129});
    EXPECT_EQ(page.dc.playbackProportion, (PlaybackProportion{2, 2}));
}

TEST_F(TimeSignatures, MensuralCircleStrokeAndDot) {
    meter(1, 1, (1u << 5) | (1u << 2) | (1u << 1));
    page.drawStaff(0);
    // The dot is a filled ellipse too: the circle is the one only outlined.
    std::vector<json> circles;
    for (const json& e : page.calls("ellipse")) {
        if (e["fill"].is_null()) circles.push_back(e);
    }
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0]["left"], X - space());
    EXPECT_EQ(circles[0]["right"], X + space());
    EXPECT_EQ(circles[0]["bottom"], line(2) - space());
    EXPECT_EQ(circles[0]["top"], line(2) + space());
    EXPECT_EQ(circles[0]["outline"]["width"], 5);
    const auto v = vlines();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0]["width"], 4);
    EXPECT_EQ(v[0]["x"], X);
    const auto discs = page.calls("disc");
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_EQ(discs[0]["y"], line(2));
    EXPECT_EQ(page.dc.playbackProportion, (PlaybackProportion{9, 1}));
}

TEST_F(TimeSignatures, TheTwoArcsOpenOppositeWays) {
    meter(1, 1, (1u << 4) | (1u << 3));
    page.drawStaff(0);
    const auto arcs = page.calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    // The first starts and ends on the right (open right), the second on the left.
    EXPECT_GT(arcs[0]["start"][0].get<int>(), X);
    EXPECT_GT(arcs[0]["end"][0].get<int>(), X);
    EXPECT_LT(arcs[1]["start"][0].get<int>(), X);
    EXPECT_LT(arcs[1]["end"][0].get<int>(), X);
}

TEST_F(TimeSignatures, HiddenTimeSignatureStillSetsThePlaybackProportion) {
    meter(6, 8, 1).w0().setHidden(true);
    page.drawStaff(0);
    EXPECT_TRUE(page.canvas.calls().empty());
    EXPECT_EQ(page.dc.playbackProportion, (PlaybackProportion{6, 8}));
}

TEST_F(TimeSignatures, ReportsWhereTheFollowingElementMayStart) {
    meter(3, 4, 1);
    const int width = std::max(GlyphWidth(page.dc, '3'), GlyphWidth(page.dc, '4'));
    EXPECT_EQ(DrawTimeSignature(page.dc, page.staff(0), 0), X + width / 2 + 6 * su());
}

struct ProportionCase {
    std::string name;
    unsigned flags;
    unsigned sub;
    unsigned num, den;
    PlaybackProportion expected;
};

class Proportions : public ::testing::TestWithParam<ProportionCase> {};

TEST_P(Proportions, EachFormSetsItsPlaybackProportion) {
    const ProportionCase& c = GetParam();
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(SignType::TimeSignature);
    e.signWord().setCode(c.flags);
    e.signWord().setSubValue(c.sub);
    e.w1().setNumerator(c.num);
    e.w1().setDenominator(c.den);
    EXPECT_EQ(TimeSignatureProportion(e), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, Proportions,
    ::testing::Values(ProportionCase{"Common", 64, 0, 1, 1, {4, 4}}, ProportionCase{"Cut", 64, 1, 1, 1, {2, 2}},
                      ProportionCase{"Two", 64, 2, 1, 1, {2, 2}}, ProportionCase{"Three", 64, 3, 1, 1, {3, 2}},
                      ProportionCase{"CutTwo", 64, 4, 1, 1, {4, 2}}, ProportionCase{"CutThree", 64, 5, 1, 1, {6, 2}},
                      ProportionCase{"UnknownForm", 64, 6, 1, 1, {1, 1}},
                      ProportionCase{"Circle", 32, 0, 1, 1, {2, 2}}, ProportionCase{"FirstArc", 16, 0, 1, 1, {2, 2}},
                      ProportionCase{"SecondArc", 8, 0, 1, 1, {4, 2}},
                      ProportionCase{"ArcWithStroke", 16 | 4, 0, 1, 1, {2, 1}},
                      ProportionCase{"CircleWithDot", 32 | 2, 0, 1, 1, {9, 4}},
                      ProportionCase{"Numerals", 1, 0, 6, 8, {6, 8}},
                      ProportionCase{"ZeroNumeralsCountAsOne", 1, 0, 0, 0, {1, 1}},
                      ProportionCase{"Nothing", 0, 0, 5, 4, {1, 1}}),
    [](const auto& info) { return info.param.name; });

// ---- Signs on a pitch ----

TEST_F(SignDrawing, FreeAccidentalSitsOnItsPitchUnderTheClef) {
    clef(60, 1);
    page.doc.insertion.octave = 5;
    sign(X, 4, SignType::FreeAccidental, 1);  // F sharp
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[1]["code"], 211);
    EXPECT_EQ(g[1]["x"], X);
    EXPECT_EQ(g[1]["y"], line(0));
}

TEST_F(SignDrawing, FreeDoubleFlatIsTwoFlatsTheSecondAFlatWidthLeft) {
    clef(60, 1);
    sign(X, 7, SignType::FreeAccidental, 5);
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[1]["code"], 213);
    EXPECT_EQ(g[2]["code"], 213);
    EXPECT_EQ(g[2]["x"].get<int>(), X - GlyphWidth(page.dc, 213));
}

TEST_F(SignDrawing, FreeDotsOnALineAreRaisedAndInASpaceStayLevel) {
    clef(60, 1);
    sign(X, 5, SignType::FreeDot, 0);                      // G, on the second line
    sign(X + 100, 6, SignType::FreeDot, 0).signWord().setFlag16(true);  // A, in a space: two dots
    page.drawStaff(0);
    const auto discs = page.calls("disc");
    ASSERT_EQ(discs.size(), 3u);
    EXPECT_EQ(discs[0]["y"], line(3) + space() / 2);
    EXPECT_EQ(discs[0]["r"], 4);
    EXPECT_EQ(discs[1]["y"], line(3) + space() / 2);
    EXPECT_EQ(discs[2]["x"].get<int>() - discs[1]["x"].get<int>(), su());
}

TEST_F(SignDrawing, ParenthesesOpenAndCloseAtTheirPitch) {
    clef(60, 1);
    page.onStaff(0);
    CreateParenthesis(page.doc, X, 5, true);
    CreateParenthesis(page.doc, X + 60, 5, false);
    page.drawStaff(0);
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[1]["code"], 40);
    EXPECT_EQ(g[2]["code"], 41);
    EXPECT_EQ(g[1]["y"], line(3));
}

TEST_F(SignDrawing, SignPlacedOnTheStaffBelowIsReadThere) {
    clef(60, 1, 0);
    clef(60, 3, 1);
    sign(X, 4, SignType::FreeAccidental, 1).w0().setCrossStaff(2);  // an F4 sharp, on the bass staff's place
    page.drawStaff(1);
    page.drawStaff(0);
    const auto g = glyphs();
    EXPECT_EQ(g.back()["y"], page.reference(1) + PitchToOffset(4, 4, 10, 10));
}

// ---- Hidden, grey, layers ----

TEST_F(SignDrawing, HiddenSignsAppearOnlyWhileHiddenElementsAreShown) {
    sign(X, '|', SignType::Bar).w0().setHidden(true);
    sign(X + 100, 2, SignType::KeyChange, 1).w0().setHidden(true);
    page.drawStaff(0);
    EXPECT_TRUE(page.canvas.calls().empty());
    page.dc.draw.showHidden = true;
    page.drawStaff(0);
    EXPECT_EQ(vlines().size(), 1u);
    EXPECT_EQ(glyphs().size(), 2u);
}

TEST_F(SignDrawing, GreyStaffDrawsItsSignsGrey) {
    page.staff(0).key().setGrey(true);
    clef(X, 1);
    sign(X + 100, '|', SignType::Bar);
    page.drawStaff(0);
    EXPECT_EQ(glyphs()[0]["colour"], RgbColour(128, 128, 128));
    EXPECT_EQ(vlines()[0]["colour"], RgbColour(128, 128, 128));
}

TEST_F(SignDrawing, TextsDrawingsAndPicturesAreLeftToTheirLayers) {
    const std::vector<std::uint8_t> payload{'a', 'b'};
    page.onStaff(0);
    for (SignType t : {SignType::Text, SignType::Drawing, SignType::Picture})
        ASSERT_NE(CreateSign(page.doc, X, 0, 0, t, 0, payload), nullptr);
    page.drawStaff(0);
    EXPECT_TRUE(page.canvas.calls().empty());
}

}  // namespace
}  // namespace notavera
