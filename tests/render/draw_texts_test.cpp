// Text signs drawn by the page pass: their font, orientation, background, justification and height.
#include "render/draw_texts.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "score/text_records.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

using nlohmann::json;
using test::CallsOf;

constexpr int X = 500;
constexpr int TopOfFirstStaff = 2970 - 40 - 200;  // the default layout at a 2 mm staff space

struct TextCase {
    const char* name;
    TextAttributes attributes;
    const char* chars;
    const char* op;         // the canvas call that draws it
    const char* face;       // a text face, or "" for the music font
    std::uint32_t glyph;    // the first code point of a music-font text
    int escapement;
    bool opaque;
};

TextAttributes Attributes(TextCategory c, unsigned type, int font, TextStyle style, TextOrientation o,
                          bool opaque = false) {
    TextAttributes a;
    a.category = c;
    a.type = type;
    a.fontIndex = font;
    a.style = style;
    a.orientation = o;
    a.opaque = opaque;
    a.size = 60;
    return a;
}

using C = TextCategory;
using S = TextStyle;
using O = TextOrientation;

const TextCase Cases[] = {
    {"dynamic", Attributes(C::Dynamics, 0, MusicFontIndex, S::Upright, O::Horizontal), "f", "glyphRun", "", 0xE522, 0,
     false},
    {"multiBarCount", Attributes(C::Marks, MultiBarRestMark, MusicFontIndex, S::Upright, O::Horizontal), "8",
     "glyphRun", "", 0xE088, 0, false},
    {"lyric", Attributes(C::Lyrics, 0, TimesFontIndex, S::Upright, O::Horizontal), "Glo-", "text",
     "Times New Roman", 0, 0, false},
    {"instrument", Attributes(C::Instrument, 0, ArialFontIndex, S::Bold, O::Horizontal), "Piano", "text", "Arial", 0,
     0, false},
    {"figures", Attributes(C::Marks, FiguresMark, FiguresFontIndex, S::Upright, O::Vertical), "65", "text",
     "Chiffrage", 0, 900, false},
    {"backwards", Attributes(C::Tempo, 0, TimesFontIndex, S::Italic, O::Backwards), "Lento", "text",
     "Times New Roman", 0, 1800, false},
    {"opaqueTitle", Attributes(C::Miscellaneous, FirstTitle, TimesFontIndex, S::BoldItalic, O::Horizontal, true),
     "Messe", "text", "Times New Roman", 0, 0, true},
    {"opaqueOrnament", Attributes(C::SymbolsOrnaments, 0, MusicFontIndex, S::Upright, O::Horizontal, true), "p",
     "glyphRun", "", 0xE520, 0, true},
};

class DrawTexts : public ::testing::TestWithParam<TextCase> {
protected:
    // Draws page 1 holding only the given element on its first staff.
    json draw(const ElementRecord& e) {
        doc.pages[0].staves[0].elements = {e};
        RecordingCanvas canvas;
        DrawingContext dc;
        dc.canvas = &canvas;
        DrawPage(dc, doc);
        return canvas.calls();
    }
    ScoreDocument doc = test::NewDocument();
};

TEST_P(DrawTexts, TakesItsFaceOrientationAndBackground) {
    const TextCase& c = GetParam();
    const json calls = draw(MakeTextElement(X, 20, c.attributes, c.chars));
    const auto drawn = CallsOf(calls, c.op);
    ASSERT_EQ(drawn.size(), 1u) << c.name;
    const json& d = drawn[0];
    if (std::string(c.op) == "text") {
        EXPECT_EQ(d["font"]["face"], c.face);
        EXPECT_EQ(d["font"]["escapement"], c.escapement);
        EXPECT_EQ(d["font"]["italic"], (static_cast<int>(c.attributes.style) & 1) != 0);
        EXPECT_EQ(d["font"]["weight"], (static_cast<int>(c.attributes.style) & 2) != 0 ? 700 : 400);
        EXPECT_EQ(d["background"].is_null(), !c.opaque);
    } else {
        EXPECT_EQ(d["codePoints"][0], c.glyph);
        EXPECT_EQ(d["escapement"], c.escapement);
        EXPECT_EQ(CallsOf(calls, "rect").size(), c.opaque ? 1u : 0u);
    }
    // The parameter counts tenths of a staff space from the top line to the lower edge; a text face's cell hangs
    // from the lower edge plus the size, the music font stands on the lower edge.
    const json note = CallsOf(calls, "textBox").front();
    const int lower = TopOfFirstStaff + 20 * 20 / 10;
    if (c.escapement == 0 && *c.face != '\0') {
        EXPECT_EQ(note["y2"], lower + c.attributes.size) << c.name;
        // The baseline runs under the cell's top by the face's ascent, just over the lower edge.
        const int baseline = CallsOf(calls, "text").front()["y"];
        EXPECT_GT(baseline, lower);
        EXPECT_LT(baseline, lower + c.attributes.size / 2);
    }
    if (*c.face == '\0') {
        EXPECT_LE(note["y1"].get<int>(), lower);
        EXPECT_GT(note["x2"].get<int>() - note["x1"].get<int>(), c.attributes.size / 16);
    }
    // Only lyrics move against their x.
    if (c.attributes.category != TextCategory::Lyrics && c.escapement == 0) {
        EXPECT_EQ(d["x"], X) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Categories, DrawTexts, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawTexts, LyricsStandAgainstTheirXByTheirJustification) {
    for (auto [justification, left, right] : {std::tuple{LyricJustification::Centred, X - 1, X + 1},
                                             {LyricJustification::Starting, X, X + 1000},
                                             {LyricJustification::Ending, X - 1000, X}}) {
        TextAttributes a = Attributes(C::Lyrics, 0, TimesFontIndex, S::Upright, O::Horizontal);
        a.justification = justification;
        const json note = CallsOf(draw(MakeTextElement(X, -40, a, "Domine")), "textBox").front();
        const int x1 = note["x1"], x2 = note["x2"];
        const int anchor = justification == LyricJustification::Centred ? (x1 + x2) / 2
                           : justification == LyricJustification::Starting ? x1
                                                                           : x2;
        EXPECT_GE(anchor, left);
        EXPECT_LE(anchor, right);
        EXPECT_GT(x2 - x1, 60);
    }
    // Under a note near the line's start, a long syllable starts with the line.
    TextAttributes a = Attributes(C::Lyrics, 0, TimesFontIndex, S::Upright, O::Horizontal);
    a.justification = LyricJustification::Centred;
    const json box = CallsOf(draw(MakeTextElement(10, -40, a, "Generated by hand")), "textBox").front();
    EXPECT_EQ(box["x1"], 0);
}

// An italic dynamic letter reaches out of its advance: the box that keeps other texts off holds all its ink.
TEST_F(DrawTexts, ADynamicsBoxHoldsTheInkOfItsLetters) {
    doc.pages[0].staves[0].elements = {
        MakeTextElement(X, -40, Attributes(C::Dynamics, 0, MusicFontIndex, S::Upright, O::Horizontal), "fm")};
    RecordingCanvas canvas;
    DrawingContext dc;
    dc.canvas = &canvas;
    DrawPage(dc, doc);
    const auto p = PlaceTextSign(dc, doc.pages[0].staves[0], 0);
    ASSERT_TRUE(p);
    const MusicGlyph* f = dc.musicFont->glyph('f');
    const MusicGlyph* m = dc.musicFont->glyph('m');
    const double space = 60.0 / MusicFont::StaffSpacesPerHeight;
    ASSERT_LT(f->box.sw.x, 0);
    EXPECT_LE(p->box.left, p->baseline.x + f->box.sw.x * space + 1);
    EXPECT_GE(p->box.right, p->baseline.x + (f->advance + m->box.ne.x) * space - 1);
}

TEST_F(DrawTexts, OctaveLabelsAreLeftToTheirLine) {
    ElementRecord label = MakeTextElement(X, 80, Attributes(C::Dynamics, 3, MusicFontIndex, S::Upright, O::Horizontal),
                                          "Bva ");
    label.w1().setOctaveShift(1);
    EXPECT_TRUE(CallsOf(draw(label), "textBox").empty());
}

}  // namespace
}  // namespace notavera
