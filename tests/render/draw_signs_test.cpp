// Signs drawn through the recording canvas: clefs on their lines, key signatures and their cancellations, bar lines
// with their strokes, dots and reach over a system, braces and brackets, time signatures and their playback
// proportions, the signs placed on a pitch, and the state each staff and element sets.
#include "render/draw_signs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/recording_canvas.h"
#include "render/draw_element.h"
#include "render/geometry.h"
#include "render/key_signature_layout.h"
#include "render/page_staves.h"
#include "render/primitives.h"
#include "score/element_creation.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

using nlohmann::json;

constexpr int X = 400;

class Signs : public ::testing::Test {
protected:
    // A GUIDO piece on page 1, its staves placed from a left edge of 100 at definition 20 without height correction.
    void load(std::string_view gmn) {
        doc = DocumentFromGuido(gmn);
        dc.canvas = &canvas;
        dc.corrections.screen = 0;
        SetStaffDefinition(dc, 20);
        dc.staves = PlaceStaves(doc.layoutModel, dc.metrics, PageFrame{2970, 100, 100, 2000});
        BeginDrawingPass(dc);
    }
    void SetUp() override { load("[]"); }
    // A sign placed by its x on staff i.
    ElementRecord& sign(int x, int code, SignType type, unsigned sub = 0, int i = 0) {
        doc.currentStaff = i;
        doc.currentElement = -1;
        ElementRecord* e = CreateSign(doc, x, 0, code, type, sub);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    StaffRecord& staff(int i = 0) { return doc.pages[0].staves[static_cast<std::size_t>(i)]; }
    // Draws every element of staff i in order, as the page pass does, its clef state rebuilt from scratch.
    void draw(int i = 0) {
        canvas.clear();
        dc.staves[static_cast<std::size_t>(i)].clefs.clear();
        BeginStaff(dc, staff(i), i);
        for (int e = 0; e < static_cast<int>(staff(i).elements.size()); ++e) DrawElement(dc, staff(i), e);
    }
    std::vector<json> calls(const std::string& op) const {
        std::vector<json> out;
        for (const json& c : canvas.calls())
            if (c["op"] == op) out.push_back(c);
        return out;
    }
    std::vector<int> field(const std::string& op, const char* name) const {
        std::vector<int> out;
        for (const json& c : calls(op)) out.push_back(c[name].get<int>());
        return out;
    }
    int reference(int i = 0) const { return static_cast<int>(dc.staves[static_cast<std::size_t>(i)].referenceY); }
    // The lines of staff i's five-line staff, 0 the top one.
    int line(int fromTop, int i = 0) const { return reference(i) - 80 - fromTop * 20; }
    // A height in half spaces above the bottom line of staff 0.
    int at(int halves) const { return line(4) + halves * 10; }
    int su() const { return dc.metrics.stepUnit; }
    // The vertical run of the first bar line: top and bottom.
    std::pair<int, int> run() const {
        const json v = calls("vline").at(0);
        return {std::max(v["y1"].get<int>(), v["y2"].get<int>()), std::min(v["y1"].get<int>(), v["y2"].get<int>())};
    }
    // The step between neighbouring key accidentals: one accidental width and a gap that keeps their ink apart
    // without loosening the signature.
    int keyAdvance(const json& first, const json& second) const {
        const int advance = second["x"].get<int>() - first["x"].get<int>();
        EXPECT_GT(advance, dc.widths.accidentalWidth[0][0]);
        EXPECT_LE(advance, dc.widths.accidentalWidth[0][0] + 6);
        return advance;
    }

    ScoreDocument doc;
    RecordingCanvas canvas;
    DrawingContext dc;
};

// ---- Clefs ----

TEST_F(Signs, EachClefSitsOnTheLineOfItsPitchAndSetsTheClefStateFromItsX) {
    const int codes[] = {207, 207, 208, 208, 209, 209, 209, 209, 210, 208, 209, 152, 207};
    const int halves[] = {2, 0, 6, 4, 0, 2, 4, 6, 2, 8, 8, 4, 8};  // clef 13 is unknown: a G clef on the top line
    for (int clef = 1; clef <= 13; ++clef) {
        load("[]");
        sign(X, clef, SignType::Clef);
        draw();
        const auto g = calls("glyph");
        ASSERT_EQ(g.size(), 1u) << clef;
        EXPECT_EQ(std::tuple(g[0]["code"].get<int>(), g[0]["x"].get<int>(), g[0]["y"].get<int>()),
                  std::tuple(codes[clef - 1], X - 2 * su(), at(halves[clef - 1])))
            << clef;
        EXPECT_EQ(ClefValueAt(dc.staves, 0, X), ClefValueOfClef(clef));
        EXPECT_EQ(ClefValueAt(dc.staves, 0, X - 1), 0);
    }
    DrawElement(dc, staff(), 0);  // a clef drawn twice in a pass is entered once
    EXPECT_EQ(dc.staves[0].clefs.count(), 1);
}

TEST_F(Signs, HiddenClefsAndPassesWithoutCanvasOnlySetTheClefState) {
    sign(X, 3, SignType::Clef).w0().setHidden(true);
    draw();
    EXPECT_TRUE(calls("glyph").empty());
    EXPECT_EQ(ClefValueAt(dc.staves, 0, X), 10);
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(calls("glyph").size(), 1u);
    dc.canvas = nullptr;
    draw();
    EXPECT_TRUE(canvas.calls().empty());
    EXPECT_EQ(ClefValueAt(dc.staves, 0, X + 100), 10);
}

TEST_F(Signs, CueClefsAreSmallerAndAStepUnitRightExceptOnOldNotationLines) {
    sign(X, 1, SignType::Clef).w0().setCueSize(true);
    sign(X + 200, 3, SignType::Clef);
    draw();
    EXPECT_EQ(field("glyph", "x")[0], X - su());
    EXPECT_EQ(field("glyph", "fontHeight"), (std::vector{120, 160}));  // the cue size holds for the element only
    EXPECT_FALSE(dc.draw.isCueSize);
    staff().key().setOldNotation(true);
    draw();
    EXPECT_EQ(field("glyph", "code"), (std::vector{241, 228}));
    EXPECT_EQ(field("glyph", "fontHeight")[0], 160);
}

TEST_F(Signs, AClefOnASixLineStaffKeepsItsLineFromTheBottom) {
    dc.staves[0].lines = 6;
    sign(X, 3, SignType::Clef);
    draw();
    EXPECT_EQ(calls("glyph")[0]["y"], line(2));  // two spaces below the top line: the fourth from the bottom
}

// ---- Key signatures ----

TEST_F(Signs, TheLineStartKeyBeginsEightStepUnitsInAndReportsWhereNotesMayStart) {
    load("[\\clef<\"g\"> \\key<2>]");
    draw();
    canvas.clear();
    const int end = DrawStaffKeySignature(dc, staff(), 0);
    const auto g = calls("glyph");
    ASSERT_EQ(g.size(), 2u);
    const int advance = keyAdvance(g[0], g[1]);
    EXPECT_EQ(g[0]["x"], 100 + 8 * su());
    EXPECT_EQ(std::pair(g[0]["y"].get<int>(), g[1]["y"].get<int>()), std::pair(line(0), at(5)));  // F, then C
    EXPECT_EQ(end, 100 + 8 * su() + 2 * advance + 6 * su());
    load("[\\clef<\"g\"> \\key<-1>]");  // on an old-notation line a step unit further, the old flat
    staff().key().setOldNotation(true);
    draw();
    canvas.clear();
    DrawStaffKeySignature(dc, staff(), 0);
    EXPECT_EQ(field("glyph", "code"), (std::vector{233}));
    EXPECT_EQ(field("glyph", "x"), (std::vector{100 + 9 * su()}));
}

TEST_F(Signs, AKeyChangeWritesItsSevenAccidentalsAtTheirPlacesOneAdvanceApart) {
    for (auto [clef, kind] : {std::pair{1, KeyKind::Sharps}, {3, KeyKind::Flats}}) {
        load("[]");
        sign(60, clef, SignType::Clef);
        sign(X, 7, SignType::KeyChange, static_cast<unsigned>(kind));
        draw();
        auto g = calls("glyph");
        ASSERT_EQ(g.size(), 8u);
        const int advance = keyAdvance(g[1], g[2]);
        for (int i = 0; i < 7; ++i) {
            const json& a = g[static_cast<std::size_t>(i + 1)];
            const auto p = KeyAccidentalAt(kind, i, ClefValueOfClef(clef));
            EXPECT_EQ(a["code"], kind == KeyKind::Sharps ? 211 : 213);
            EXPECT_EQ(a["x"], X + i * advance);
            EXPECT_EQ(a["y"], reference() + PitchToOffset(p.step, p.octave, ClefValueOfClef(clef), 10)) << i;
        }
        EXPECT_EQ(DrawKeyChange(dc, staff(), 1), X + 7 * advance + 6 * su());
    }
}

TEST_F(Signs, KeyChangesCancelTheAccidentalsTheyDropWithNaturalsFirst) {
    load("[\\clef<\"g\"> \\key<3>]");  // three sharps to one: the C and G cancelled, then the F
    sign(X, 1, SignType::KeyChange, 1);
    draw();
    auto g = calls("glyph");
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(field("glyph", "code"), (std::vector{207, 212, 212, 211}));
    EXPECT_EQ(field("glyph", "y"), (std::vector{at(2), at(5), at(9), line(0)}));
    EXPECT_EQ(g[3]["x"], X + 2 * keyAdvance(g[1], g[2]));

    load("[\\clef<\"f\">]");  // sharps to flats after an earlier key change: every sharp cancelled
    sign(300, 2, SignType::KeyChange, 1);
    sign(X, 1, SignType::KeyChange, 2);
    draw();
    canvas.clear();
    DrawKeyChange(dc, staff(), 2);
    EXPECT_EQ(field("glyph", "code"), (std::vector{212, 212, 213}));
    EXPECT_EQ(field("glyph", "y"), (std::vector{line(1), at(3), at(2)}));  // F, C, then B

    load("[\\clef<\"g\"> \\key<-1>]");  // more of the same kind cancels nothing
    sign(X, 3, SignType::KeyChange, 2);
    draw();
    EXPECT_EQ(field("glyph", "code"), (std::vector{207, 213, 213, 213}));

    // A cancelling key change is drawn as the naturals of the key it names: nothing is left to cancel after it.
    load("[\\clef<\"g\"> \\key<2>]");
    sign(X, 2, SignType::KeyChange, 1).signWord().setFlag16(true);
    sign(X + 200, 1, SignType::KeyChange, 2);
    draw();
    EXPECT_EQ(field("glyph", "code"), (std::vector{207, 212, 212, 213}));
    EXPECT_EQ(field("glyph", "y")[1], line(0));

    load("[\\clef<\"g\"> \\clef<\"f\">]");  // key accidentals follow a clef change before them
    sign(X, 1, SignType::KeyChange, 1);
    draw();
    EXPECT_EQ(field("glyph", "y").back(), line(1));
}

// ---- Bar lines ----

struct Stroke {
    int x, width;
};

std::vector<Stroke> Strokes(const std::vector<json>& lines) {
    std::vector<Stroke> out;
    for (const json& l : lines) out.push_back({l["x"].get<int>(), l["width"].get<int>()});
    std::sort(out.begin(), out.end(), [](Stroke a, Stroke b) { return a.x < b.x; });
    return out;
}

// The gap between the edges of two strokes, left to right.
double EdgeGap(Stroke a, Stroke b) { return (b.x - b.width / 2.0) - (a.x + a.width / 2.0); }

TEST_F(Signs, EveryBarKeepsTheGapBetweenItsStrokesAndSetsItsDotsBesideTheThinOnes) {
    struct Case {
        char code;
        std::vector<int> widths;  // strokes left to right
        std::size_t atX;          // the stroke at the bar's x
        bool dotsLeft, dotsRight;
    };
    const Case cases[] = {{'|', {3}, 0, false, false},        {'D', {3, 3}, 1, false, false},
                          {'E', {3, 10}, 1, false, false},    {'F', {3, 10}, 1, true, false},
                          {'O', {10, 3}, 0, false, true},     {'I', {10, 3}, 0, false, false},
                          {'R', {3, 10, 3}, 1, true, true}};
    const int dotsWidth = GlyphWidth(dc, 90);
    const double separation = 0.16 * 20;  // the font's repeat-dot separation
    for (const Case& c : cases) {
        load("[]");
        sign(X, c.code, SignType::Bar);
        draw();
        const auto s = Strokes(calls("vline"));
        ASSERT_EQ(s.size(), c.widths.size()) << c.code;
        for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].width, c.widths[i]) << c.code << i;
        EXPECT_EQ(s[c.atX].x, X) << c.code;
        for (std::size_t i = 1; i < s.size(); ++i) EXPECT_NEAR(EdgeGap(s[i - 1], s[i]), 5.0, 0.5) << c.code << i;
        EXPECT_EQ(run(), std::pair(line(0), line(4)));
        const auto dots = calls("glyph");
        ASSERT_EQ(dots.size(), std::size_t{c.dotsLeft} + std::size_t{c.dotsRight}) << c.code;
        for (const json& d : dots) EXPECT_EQ(std::pair(d["code"].get<int>(), d["y"].get<int>()), std::pair(90, line(2)));
        if (c.dotsLeft) {
            EXPECT_NEAR(s.front().x - s.front().width / 2.0 - (dots[0]["x"].get<int>() + dotsWidth), separation, 1.0);
        }
        if (c.dotsRight) {
            EXPECT_NEAR(dots.back()["x"].get<int>() - (s.back().x + s.back().width / 2.0), separation, 1.0);
        }
    }
}

TEST_F(Signs, SmallStavesThinTheThickStrokeDashedBarsKeepTheirStyleAndBarTwelveIsShort) {
    dc.staves[0].small = true;
    sign(X, 'E', SignType::Bar);
    draw();
    EXPECT_EQ(Strokes(calls("vline"))[1].width, 8);
    EXPECT_EQ(Strokes(calls("vline"))[0].width, 3);
    load("[]");
    sign(X, '|', SignType::Bar).signWord().setHigh7(1);
    draw();
    ASSERT_FALSE(calls("line").empty());
    for (const json& l : calls("line")) EXPECT_EQ(l["pen"]["style"], "dash");
    EXPECT_EQ(dc.draw.lineStyle, 0);  // for its own strokes only
    load("[]");
    sign(X, 12, SignType::Bar);
    draw();
    ASSERT_EQ(calls("vline").size(), 1u);
    EXPECT_EQ(run(), std::pair(line(1), line(3)));  // from the second line to the fourth
    load("[]");
    for (int code : {int{'Z'}, 0, -100}) sign(X, code, SignType::Bar);  // unknown codes draw nothing
    draw();
    EXPECT_TRUE(canvas.calls().empty());
}

// Staves 0–2 grouped as one system.
class GroupedBars : public Signs {
protected:
    void SetUp() override {
        Signs::SetUp();
        for (int i = 0; i < 3; ++i) {
            staff(i).voice().setPositionInGroup(static_cast<unsigned>(i + 1));
            staff(i).voice().setGroupSize(3);
        }
    }
};

TEST_F(GroupedBars, ABarJoinsDownToTheNextStaffOfItsGroupOrReachesAsItsCodeSays) {
    ElementRecord& own = sign(X, '|', SignType::Bar, 0, 0);
    draw(0);
    EXPECT_EQ(run(), std::pair(line(0, 0), line(0, 1)));
    const std::pair<int, int> reaches[] = {{line(0, 0), line(4, 0)}, {line(0, 0), line(4, 2)},
                                           {line(4, 0), line(0, 1)}};
    for (unsigned reach = 1; reach <= 3; ++reach) {
        own.signWord().setPairA(reach);
        draw(0);
        EXPECT_EQ(run(), reaches[reach - 1]) << reach;
    }
    own.signWord().setPairA(0);
    dc.draw.barsPerStaff = true;  // bars per staff keep to their own staff
    draw(0);
    EXPECT_EQ(run(), std::pair(line(0, 0), line(4, 0)));
    sign(X, '|', SignType::Bar, 0, 2);  // and so does the last staff of the group
    dc.draw.barsPerStaff = false;
    draw(2);
    EXPECT_EQ(run(), std::pair(line(0, 2), line(4, 2)));
}

TEST_F(GroupedBars, ARepeatOverTheWholeGroupPutsDotsOnEveryStaff) {
    sign(X, 'O', SignType::Bar, 0, 0).signWord().setPairA(2);
    draw(0);
    EXPECT_EQ(field("glyph", "y"), (std::vector{line(2, 0), line(2, 1), line(2, 2)}));
}

// ---- Braces and brackets ----

TEST_F(Signs, ABraceJoinsItsStaffToTheOneThatManyBelowScaledToTheirHeight) {
    sign(50, 1, SignType::Bar);
    draw();
    const auto braces = calls("brace");
    ASSERT_EQ(braces.size(), 1u);
    EXPECT_EQ(std::tuple(braces[0]["x1"].get<int>(), braces[0]["y1"].get<int>(), braces[0]["y2"].get<int>()),
              std::tuple(50, line(0, 0), line(4, 1)));
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 1u);
    const auto cp = runs[0]["codePoints"][0].get<std::uint32_t>();
    const MusicGlyph* g = nullptr;  // Bravura's brace glyphs live at U+E000 and in its optional range
    for (auto which : {StructuralGlyph::Brace, StructuralGlyph::BraceLarge, StructuralGlyph::BraceLarger})
        if (dc.musicFont->structural(which) && dc.musicFont->structural(which)->codePoint == cp)
            g = dc.musicFont->structural(which);
    ASSERT_NE(g, nullptr) << cp;
    // Its ink spans the two staves, an em being four staff spaces; about a staff space wide, as a piano brace is.
    const double em = runs[0]["em"].get<double>();
    EXPECT_NEAR(em / 4 * g->box.height(), line(0, 0) - line(4, 1), 1.0);
    EXPECT_GT(em / 4 * g->box.width(), 16);
    EXPECT_LT(em / 4 * g->box.width(), 28);
    load("[]");  // beyond the last staff: none
    sign(50, 10, SignType::Bar, 0, 0);
    sign(50, 1, SignType::Bar, 0, 9);
    draw(0);
    EXPECT_TRUE(canvas.calls().empty());
    draw(9);
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(Signs, ANegativeCodeIsASquareBracketWithItsEnds) {
    sign(50, -2, SignType::Bar);
    draw();
    const auto brackets = calls("bracket");
    ASSERT_EQ(brackets.size(), 1u);
    EXPECT_EQ(std::pair(brackets[0]["y1"].get<int>(), brackets[0]["y2"].get<int>()), std::pair(line(0, 0), line(4, 2)));
    const int thickness = brackets[0]["width"];
    EXPECT_EQ(thickness, 10);  // the font's bracket thickness, half a space
    const auto v = calls("vline");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0]["width"], thickness);
    EXPECT_NEAR(v[0]["x"].get<int>() + thickness / 2.0, 50, 1.0);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(std::pair(runs[0]["codePoints"][0], runs[0]["y"]), std::pair(json(0xE003), json(line(0, 0))));
    EXPECT_EQ(std::pair(runs[1]["codePoints"][0], runs[1]["y"]), std::pair(json(0xE004), json(line(4, 2))));
}

// ---- Time signatures ----

class TimeSignatures : public Signs {
protected:
    ElementRecord& meter(unsigned num, unsigned den, unsigned flags, unsigned sub = 0) {
        load("[]");
        doc.insertion.timeSigNum = num;
        doc.insertion.timeSigDen = den;
        return sign(X, static_cast<int>(flags), SignType::TimeSignature, sub);
    }
    std::vector<json> texts() const { return calls("glyphText"); }
};

TEST_F(TimeSignatures, NumbersStandCentredOnTheMiddleAndBottomLinesOrAloneOnTheSecond) {
    meter(3, 4, 1);
    const int width = std::max(GlyphWidth(dc, '3'), GlyphWidth(dc, '4'));
    EXPECT_EQ(DrawTimeSignature(dc, staff(), 0), X + width / 2 + 6 * su());  // where the next element may start
    draw();
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0]["codes"], json::array({'3'}));
    EXPECT_EQ(t[1]["codes"], json::array({'4'}));
    EXPECT_EQ(std::pair(t[0]["y"].get<int>(), t[1]["y"].get<int>()), std::pair(line(2), line(4)));
    for (const json& c : t) EXPECT_EQ(std::pair(c["x"].get<int>(), c["centred"].get<bool>()), std::pair(X, true));
    meter(12, 8, 1);  // two digits move both numbers two step units right
    draw();
    EXPECT_EQ(texts()[0]["codes"], json::array({'1', '2'}));
    EXPECT_EQ(std::pair(texts()[0]["x"].get<int>(), texts()[1]["x"].get<int>()), std::pair(X + 2 * su(), X + 2 * su()));
    meter(3, 0, 1);
    draw();
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0]["y"], line(3));
    for (auto [sub, code] : {std::pair{0u, 140}, {1u, 129}}) {  // common and cut time: one character
        meter(1, 1, 64, sub);
        draw();
        ASSERT_EQ(texts().size(), 1u);
        EXPECT_EQ(texts()[0]["codes"], json::array({code}));
        EXPECT_EQ(texts()[0]["y"], line(3));
    }
}

TEST_F(TimeSignatures, MensuralCircleStrokeDotAndArcs) {
    meter(1, 1, (1u << 5) | (1u << 2) | (1u << 1));
    draw();
    std::vector<json> circles;  // the dot is a filled ellipse too: the circle is the one only outlined
    for (const json& e : calls("ellipse"))
        if (e["fill"].is_null()) circles.push_back(e);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ((std::vector{circles[0]["left"], circles[0]["right"], circles[0]["bottom"], circles[0]["top"]}),
              (std::vector<json>{X - 20, X + 20, line(2) - 20, line(2) + 20}));
    EXPECT_EQ(circles[0]["outline"]["width"], 5);
    EXPECT_EQ(field("vline", "width"), (std::vector{4}));
    EXPECT_EQ(field("vline", "x"), (std::vector{X}));
    EXPECT_EQ(field("disc", "y"), (std::vector{line(2)}));
    meter(1, 1, (1u << 4) | (1u << 3));
    draw();
    const auto arcs = calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    // The first starts and ends on the right (open right), the second on the left.
    EXPECT_TRUE(arcs[0]["start"][0].get<int>() > X && arcs[0]["end"][0].get<int>() > X);
    EXPECT_TRUE(arcs[1]["start"][0].get<int>() < X && arcs[1]["end"][0].get<int>() < X);
}

TEST_F(TimeSignatures, EachFormSetsItsPlaybackProportionHiddenOrNot) {
    struct Case {
        unsigned flags, sub, num, den;
        PlaybackProportion expected;
    };
    const Case cases[] = {{64, 0, 1, 1, {4, 4}},     {64, 1, 1, 1, {2, 2}},     {64, 2, 1, 1, {2, 2}},
                          {64, 3, 1, 1, {3, 2}},     {64, 4, 1, 1, {4, 2}},     {64, 5, 1, 1, {6, 2}},
                          {64, 6, 1, 1, {1, 1}},     {32, 0, 1, 1, {2, 2}},     {16, 0, 1, 1, {2, 2}},
                          {8, 0, 1, 1, {4, 2}},      {16 | 4, 0, 1, 1, {2, 1}}, {32 | 2, 0, 1, 1, {9, 4}},
                          {1, 0, 6, 8, {6, 8}},      {1, 0, 0, 0, {1, 1}},      {0, 0, 5, 4, {1, 1}},
                          {32 | 4 | 2, 0, 1, 1, {9, 1}}, {1, 0, 3, 0, {3, 1}}};
    for (const Case& c : cases) {
        ElementRecord e;
        e.w0().setKind(ElementKind::Sign);
        e.signWord().setSignType(SignType::TimeSignature);
        e.signWord().setCode(c.flags);
        e.signWord().setSubValue(c.sub);
        e.w1().setNumerator(c.num);
        e.w1().setDenominator(c.den);
        EXPECT_EQ(TimeSignatureProportion(e), c.expected) << c.flags << "/" << c.sub << " " << c.num << "/" << c.den;
    }
    meter(6, 8, 1).w0().setHidden(true);  // a hidden time signature still sets the proportion drawing reads
    draw();
    EXPECT_TRUE(canvas.calls().empty());
    EXPECT_EQ(dc.playbackProportion, (PlaybackProportion{6, 8}));
}

// ---- Signs on a pitch ----

TEST_F(Signs, FreeAccidentalsDotsAndParenthesesSitOnTheirPitchUnderTheClef) {
    load("[\\clef<\"g\">]");
    doc.insertion.octave = 5;
    sign(X, 4, SignType::FreeAccidental, 1);  // F5 sharp, on the top line
    doc.insertion.octave = 4;
    sign(X + 100, 7, SignType::FreeAccidental, 5);  // a double flat is two flats, the second a flat's width left
    sign(X + 200, 5, SignType::FreeDot, 0);         // G4, on a line: raised
    sign(X + 300, 6, SignType::FreeDot, 0).signWord().setFlag16(true);  // A4, in a space: two dots
    doc.currentElement = -1;
    CreateParenthesis(doc, X + 400, 5, true);
    CreateParenthesis(doc, X + 460, 5, false);
    draw();
    EXPECT_EQ(field("glyph", "code"), (std::vector{207, 211, 213, 213, 40, 41}));
    EXPECT_EQ(field("glyph", "x")[1], X);
    EXPECT_EQ(field("glyph", "y")[1], line(0));
    EXPECT_EQ(field("glyph", "x")[3], X + 100 - GlyphWidth(dc, 213));
    EXPECT_EQ(field("glyph", "y")[4], line(3));
    EXPECT_EQ(field("disc", "y"), (std::vector{line(3) + 10, line(3) + 10, line(3) + 10}));
    EXPECT_EQ(field("disc", "r")[0], 4);
    EXPECT_EQ(field("disc", "x")[2] - field("disc", "x")[1], su());
}

TEST_F(Signs, ASignPlacedOnTheStaffBelowIsReadThere) {
    load("{[\\clef<\"g\">], [\\clef<\"f\">]}");
    sign(X, 4, SignType::FreeAccidental, 1).w0().setCrossStaff(2);  // an F4 sharp, on the bass staff's place
    draw(1);
    draw(0);
    EXPECT_EQ(calls("glyph").back()["y"], reference(1) + PitchToOffset(4, 4, 10, 10));
}

// ---- What staves and elements set: hidden, grey, cue, layers ----

TEST_F(Signs, HiddenSignsAppearOnlyWhileHiddenElementsAreShownAndLayersDrawTheirOwn) {
    sign(X, '|', SignType::Bar).w0().setHidden(true);
    sign(X + 100, 2, SignType::KeyChange, 1).w0().setHidden(true);
    doc.currentElement = 1;
    for (SignType t : {SignType::Text, SignType::Drawing, SignType::Picture})
        ASSERT_NE(CreateSign(doc, X + 200, 0, 0, t, 0, std::vector<std::uint8_t>{'a', 'b'}), nullptr);
    draw();
    EXPECT_TRUE(canvas.calls().empty());
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(calls("vline").size(), 1u);
    EXPECT_EQ(calls("glyph").size(), 2u);
}

TEST_F(Signs, EachStaffSetsItsSizeGlyphSetAndColourButErasingKeepsItsColour) {
    dc.staves[1].small = true;
    staff(1).key().setOldNotation(true);
    staff(1).key().setGrey(true);
    BeginStaff(dc, staff(1), 1);
    EXPECT_TRUE(dc.draw.isSmallStaff && dc.draw.alternateGlyphs);
    EXPECT_EQ(std::pair(dc.draw.staffColour, dc.draw.drawColour), std::pair(GreyStaffColour, GreyStaffColour));
    dc.draw.isCueSize = true;
    dc.draw.lineStyle = 2;
    BeginStaff(dc, staff(0), 0);
    EXPECT_FALSE(dc.draw.isCueSize || dc.draw.isSmallStaff || dc.draw.alternateGlyphs);
    EXPECT_EQ(dc.draw.lineStyle, 0);
    EXPECT_EQ(dc.draw.drawColour, 0u);
    dc.erasing = true;
    dc.draw.drawColour = RgbColour(255, 255, 255);
    BeginStaff(dc, staff(1), 1);
    EXPECT_EQ(dc.draw.drawColour, RgbColour(255, 255, 255));
    staff(0).key().setGrey(true);  // a grey staff draws its signs grey
    dc.erasing = false;
    sign(X, 1, SignType::Clef);
    sign(X + 100, '|', SignType::Bar);
    draw();
    EXPECT_EQ(calls("glyph")[0]["colour"], GreyStaffColour);
    EXPECT_EQ(calls("vline")[0]["colour"], GreyStaffColour);
}

TEST_F(Signs, IndicesOutsideTheStaffAndStavesThePassHasNotPlacedDrawNothing) {
    sign(X, '|', SignType::Bar);
    for (int i : {-1, 1}) DrawElement(dc, staff(), i);
    dc.staves.clear();
    DrawElement(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace notavera
