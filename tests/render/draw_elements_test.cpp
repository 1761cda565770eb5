// The elements of a staff, notes and signs, drawn through the recording canvas.
#include "render/draw_element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/headless/recording_canvas.h"
#include "render/draw_notes.h"
#include "render/accidentals_and_dots.h"
#include "render/arc_curve.h"
#include "render/arrange_notes.h"
#include "render/beams.h"
#include "render/chords.h"
#include "render/curve_signs.h"
#include "render/document_drawing_settings.h"
#include "render/draw_signs.h"
#include "render/geometry.h"
#include "render/key_signature_layout.h"
#include "render/music_font_table.h"
#include "render/note_geometry.h"
#include "render/octave_lines.h"
#include "render/page_staves.h"
#include "render/primitives.h"
#include "render/ties.h"
#include "render/tuplet_marks.h"
#include "score/element_creation.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

using nlohmann::json;
using Rows = std::vector<std::vector<int>>;
using Counts = std::pair<std::size_t, std::size_t>;

constexpr std::uint32_t AutoStem = 1u << 13, StemUp = 1u << 14, Chord = 1u << 18;
constexpr int BassClef = 10;

class Notes : public ::testing::Test {
protected:
    // A GUIDO piece on page 1, its staves placed at definition 20 and zoom 1/1 under treble clefs.
    void load(std::string_view gmn) {
        doc = DocumentFromGuido(gmn);
        dc.canvas = &canvas;
        SetStaffDefinition(dc, 20);
        dc.staves = PlaceStaves(doc.layoutModel, dc.metrics, PageFrame{2970, 100, 100, 2000});
        for (StaffDrawState& s : dc.staves) s.clefs.add(0, -2);
        BeginDrawingPass(dc);
    }
    void SetUp() override { load("[]"); }
    // A note made as the editor makes it, at x on staff 0 after the last element (a chord's members at one x).
    ElementRecord& note(int x, unsigned name, unsigned octave, unsigned duration, std::uint32_t flags = AutoStem,
                        Accidental accidental = Accidental::None) {
        doc.currentStaff = 0;
        doc.currentElement = static_cast<int>(staff().elements.size()) - 1;
        doc.insertion.octave = octave;
        doc.insertion.durationCode = duration;
        doc.insertion.noteWordFlags = flags;
        doc.insertion.accidental = accidental;
        doc.insertion.accidentalForced = true;
        ElementRecord* e = CreateNoteOrRest(doc, x, false, name);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    // A chord of (name, octave) members at x on staff 0; returns the run it forms.
    ChordRun chord(int x, const std::vector<std::pair<unsigned, unsigned>>& members, unsigned duration = 4,
                   Accidental accidental = Accidental::None, std::uint32_t flags = AutoStem) {
        for (auto [name, octave] : members) note(x, name, octave, duration, flags | Chord, accidental);
        return FindChordRun(staff(), static_cast<int>(staff().elements.size()) - 1);
    }
    void setClef(int i, int value) {
        dc.staves[static_cast<std::size_t>(i)].clefs.clear();
        dc.staves[static_cast<std::size_t>(i)].clefs.add(0, value);
    }
    StaffRecord& staff(int i = 0) { return doc.pages[0].staves[static_cast<std::size_t>(i)]; }
    ElementRecord& at(std::size_t k) { return staff().elements[k]; }
    int x(std::size_t k) { return at(k).x; }
    // Draws every element of staff 0 in order, as the pass does, after clearing the canvas.
    void draw() {
        canvas.clear();
        dc.pendingCurve.reset();
        for (int k = 0; k < static_cast<int>(staff().elements.size()); ++k) {
            if (at(static_cast<std::size_t>(k)).isSign())
                DrawSign(dc, staff(), k);
            else
                DrawNoteOrRest(dc, staff(), k);
        }
    }
    // The recorded calls of one op (glyphs of one code), whole or as rows of the given fields.
    std::vector<json> calls(const std::string& op, int code = -1) const {
        std::vector<json> out;
        for (const json& c : canvas.calls())
            if (c["op"] == op && (code < 0 || c["code"] == code)) out.push_back(c);
        return out;
    }
    Rows rows(const std::string& op, std::initializer_list<const char*> fields, int code = -1) const {
        Rows out;
        for (const json& c : calls(op, code)) {
            out.emplace_back();
            for (const char* f : fields) out.back().push_back(c[f].get<int>());
        }
        return out;
    }
    std::size_t count(const std::string& op, int code = -1) const { return calls(op, code).size(); }
    int top(int i = 0) const { return dc.staves[static_cast<std::size_t>(i)].topLine; }
    int bottom() const { return top() - 80; }
    int middle() const { return top() - 40; }
    int space() const { return dc.metrics.staffSpace[0]; }
    int half() const { return dc.metrics.halfSpace[0]; }
    int headHalf() const { return dc.widths.noteheadHalfWidth[0][0]; }
    int su() const { return dc.metrics.stepUnit; }
    int anchor(int code, const char* name, bool y) {
        const auto p = GlyphAnchorPoint(dc, code, name);
        return static_cast<int>(std::lround((y ? p->y : p->x) * space()));
    }

    ScoreDocument doc;
    RecordingCanvas canvas;
    DrawingContext dc;
};

TEST_F(Notes, HeadsSitOnTheirLinesWithTheFontsLedgerLinesUnderTrebleAndBassClefs) {
    load("[c1 g1]");
    draw();
    EXPECT_EQ(rows("glyph", {"y"}, 204), (Rows{{bottom() - space()}, {bottom() + space()}}));
    EXPECT_EQ(rows("hline", {"y1", "width"}), (Rows{{bottom() - space(), dc.thickness.staffLine + 1}}));
    const int extension = static_cast<int>(0.4 * space());  // the font's, beyond the head
    EXPECT_NEAR(rows("hline", {"x1"})[0][0], x(0) - headHalf() - extension, 1);
    EXPECT_NEAR(rows("hline", {"x2"})[0][0], x(0) + headHalf() + extension, 1);
    // At the default corrections the glyph is written exactly on its line.
    EXPECT_EQ(rows("glyphRun", {"x", "y"})[1], (std::vector{x(1) - headHalf(), bottom() + space()}));
    setClef(0, BassClef);
    draw();
    EXPECT_EQ(rows("glyph", {"y"}, 204)[0][0], top() + space());  // on the first ledger line above
    EXPECT_EQ(rows("hline", {"y1"})[0][0], top() + space());
    load("[b2 c3 g2 e3]");  // one ledger line, two, none, three: from the head's line towards the staff
    draw();
    std::vector<int> perNote(4, 0);
    for (const auto& l : rows("hline", {"x1", "x2", "y1"})) {
        for (std::size_t k = 0; k < 4; ++k) perNote[k] += (l[0] + l[1]) / 2 == x(k);
        EXPECT_TRUE(l[2] > top() && (l[2] - top()) % space() == 0);
    }
    EXPECT_EQ(perNote, (std::vector{1, 2, 0, 3}));
    EXPECT_EQ(rows("hline", {"y1"})[3][0], top() + 3 * space());
    EXPECT_EQ(rows("hline", {"y1"})[5][0], top() + space());
}

TEST_F(Notes, StemsAndFlagsMeetTheHeadsAtTheFontsAnchorsUpOnTheRightAndDownOnTheLeft) {
    load("[g1/16 e2/8]");
    draw();
    const int y = bottom() + space(), t = dc.thickness.stem;
    const Rows stems = rows("vline", {"x", "y1", "y2", "width"});
    ASSERT_EQ(stems.size(), 2u);
    // A sixteenth's up stem is seven half spaces and a space long; its right edge is where the font joins it.
    EXPECT_EQ(stems[0], (std::vector{x(0) - headHalf() + anchor(204, "stemUpSE", false) - t / 2,
                                     y + anchor(204, "stemUpSE", true), y + 7 * half() + space(), t}));
    // Above the middle line an eighth hangs its flag from a down stem on the left.
    EXPECT_EQ(stems[1][0] - (t + 1) / 2, x(1) - headHalf());
    EXPECT_EQ(stems[1][2], top() - half() - 7 * half());
}

TEST_F(Notes, EachValueHangsOneFlagGlyphOfItsOwnByItsCornerAtTheStemsEndButOldNotationStacksStraightFlags) {
    const char* names[] = {"8th", "16th", "32nd", "64th", "128th", "256th"};
    for (int value = 5; value <= 10; ++value) {
        for (bool up : {true, false}) {
            load("[]");
            note(500, up ? 5 : 3, up ? 4 : 5, static_cast<unsigned>(value));  // G4 up, E5 down
            draw();
            const auto stem = calls("vline").at(0);
            const auto flags = calls("glyph");
            ASSERT_EQ(flags.size(), 2u) << value;  // the head and one flag
            const int code = flags[1]["code"].get<int>();
            const std::string name = std::string("flag") + names[value - 5] + (up ? "Up" : "Down");
            EXPECT_EQ(dc.musicFont->glyph(code)->name, name);
            EXPECT_EQ(flags[1]["x"], stem["x"].get<int>() - dc.thickness.stem / 2);
            EXPECT_EQ(flags[1]["y"], stem["y2"].get<int>() - anchor(code, up ? "stemUpNW" : "stemDownSW", true));
        }
    }
    load("[g1/16]");
    dc.draw.alternateGlyphs = true;  // an old-notation line: the straight eighth flag once per flag, a space apart
    draw();
    dc.draw.alternateGlyphs = false;
    const Rows flags = rows("glyph", {"code", "y"}, 225);
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(flags[0][1] - flags[1][1], space());
}

TEST_F(Notes, StemsFollowTheMiddleLineOrTheNotesOwnFlagAndReachTheMiddleLineFromAfar) {
    load("[a1 b1 a1 b1 c3]");
    at(2).noteWord().setStemAutomatic(false);  // fixed, stem-up flag clear: down
    at(3).noteWord().setStemAutomatic(false);
    at(3).noteWord().setStemFlag(true);
    draw();
    std::vector<bool> up;
    for (const auto& s : rows("vline", {"y1", "y2"})) up.push_back(s[1] > s[0]);
    EXPECT_EQ(up, (std::vector{true, false, false, true, false}));
    EXPECT_EQ(rows("vline", {"y2"})[4][0], middle());  // C6, two ledger lines above: an automatic stem reaches it
    at(4).noteWord().setStemAutomatic(false);
    draw();
    EXPECT_EQ(rows("vline", {"y2"})[4][0], top() + 2 * space() - 7 * half());
}

TEST_F(Notes, StemCorrectionsAndAHeadOnTheOtherSideOfItsStem) {
    load("[g1 g1 g1]");
    const std::uint8_t payload[] = {15, 0};
    at(1).attachBlob(payload);          // a manual correction lengthens the stem
    at(2).noteWord().setBit(20, true);  // the head on the other side of its up stem: to the right
    draw();
    const Rows stems = rows("vline", {"x", "y2"}), heads = rows("glyph", {"x"}, 204);
    EXPECT_EQ(stems[1][1], bottom() + space() + 7 * half() + 15);
    EXPECT_EQ(heads[2][0], x(2) + headHalf());
    EXPECT_LT(stems[2][0], x(2) + headHalf());  // the stem stays where the head was
    dc.corrections.stemPosition = 6;            // moves the stem into the head
    draw();
    const int d = headHalf() * 4 / 20;
    EXPECT_EQ(rows("glyph", {"x"}, 204)[0][0], heads[0][0] + d);
    EXPECT_EQ(rows("vline", {"x"})[0][0], stems[0][0] - d);
}

TEST_F(Notes, HeadsOfEveryValueAndShapeAndBrevesAndLongasDrawnAsBands) {
    load("[g1/1 g/2 g/4 g g/1 g/4 g g/4]");
    at(2).noteWord().setBit(16, true);    // an open-headed quarter: 203
    at(3).noteWord().setHeadShape(3);     // a cross: 252
    at(4).noteWord().setBit(5, true);     // a whole note with the value shift: 202
    at(5).noteWord().setBit(5, true);     // a quarter drawn as an eighth
    at(6).noteWord().setHeadShape(7);     // "Sans Queue": a normal head, no stem
    at(7).noteWord().setDurationCode(1);  // a breve, and a longa
    note(x(7) + 300, 5, 4, 0);
    draw();
    EXPECT_EQ((std::vector{count("glyph", 201), count("glyph", 203), count("glyph", 252), count("glyph", 202),
                           count("glyph", 205), count("glyph", 204)}),
              (std::vector<std::size_t>{1, 2, 1, 1, 1, 2}));
    EXPECT_EQ(calls("glyph", 201)[0]["x"], x(0) - GlyphAdvance(dc, 201) / 2);  // the whole note's head is centred
    const int y = bottom() + space(), w = dc.widths.breveHalfWidth[0], t = dc.thickness.beam / 2;
    const Rows bands = rows("band", {"x1", "x2", "y1", "t"});
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ((Rows{bands[0], bands[1]}),
              (Rows{{x(7) - w, x(7) + w, y + half() - t, t}, {x(7) - w, x(7) + w, y - half(), t}}));
    const Rows strokes = rows("vline", {"x", "y1", "y2"});
    ASSERT_EQ(strokes.size(), 4u + 4u);  // four stems, the breve's and the longa's side strokes
    const int reach = half() + static_cast<int>(dc.metrics.quarterSpace[0]);
    EXPECT_EQ(strokes[5], (std::vector{x(7) + w, y - reach, y + reach}));
    // The longa's right stroke goes on, up like a stem from below the middle line.
    EXPECT_EQ(strokes[7], (std::vector{x(8) + w, y - reach, y + 7 * half()}));
    at(7).noteWord().setBit(5, true);  // the breve with the value shift: one solid block
    draw();
    EXPECT_EQ(rows("band", {"x1", "x2", "y1", "t"})[0], (std::vector{x(7) - w, x(7) + w, y - half(), 2 * half()}));
}

TEST_F(Notes, EachAccidentalWritesItsGlyphsLeftOfTheHeadUnlessTheContextSuppliesIt) {
    const std::pair<Accidental, std::vector<int>> kinds[] = {
        {Accidental::Sharp, {211}},          {Accidental::Flat, {213}},         {Accidental::Natural, {212}},
        {Accidental::DoubleSharp, {214}},    {Accidental::QuarterSharp, {244}}, {Accidental::QuarterFlat, {246}},
        {Accidental::DoubleFlat, {213, 213}}};
    for (const auto& [accidental, codes] : kinds) {
        load("[]");
        note(500, 7, 4, 4, AutoStem, accidental);
        draw();
        std::vector<int> written;
        for (const auto& g : rows("glyph", {"code"})) written.push_back(g[0]);
        EXPECT_EQ(written.front(), 204);  // the head, then its accidental
        EXPECT_EQ(std::vector(written.begin() + 1, written.end()), codes);
    }
    // The double flat's second flat stands a flat's width further left; the first keeps the clearance.
    const int first = 500 - headHalf() - dc.widths.accidentalWidth[0][0] - AccidentalClearance(dc, 0, false);
    EXPECT_EQ(rows("glyph", {"x", "y"}, 213), (Rows{{first, middle()}, {first - GlyphWidth(dc, 213), middle()}}));
    at(0).noteWord().setHiddenAccidental(true);
    draw();
    EXPECT_EQ(count("glyph", 213), 0u);
    canvas.clear();
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, 0);  // kinds out of range draw nothing
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, 8);
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Dots, 2);
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(Notes, DotsOnALineOrALedgerLineGoIntoTheSpaceAboveAndClearWholeNotesAndUpFlags) {
    load("[g1/4. a1/4.. c1/4. c3/4. g1/1. g1/16. g1/8.]");
    draw();
    const int g = bottom() + space() + half(), s = su();
    EXPECT_EQ(rows("disc", {"x", "y", "r"}), (Rows{{x(0) + 5 * s / 2, g, 4},
                                                   {x(1) + 5 * s / 2, g, 4},
                                                   {x(1) + 5 * s / 2 + std::max(s, 6), g, 4},
                                                   {x(2) + 5 * s / 2, bottom() - space() + half(), 4},
                                                   {x(3) + 5 * s / 2, top() + 2 * space() + half(), 4},
                                                   {x(4) + 7 * s / 2, g, 4},
                                                   {x(5) + 7 * s / 2, g, 4},
                                                   {x(6) + 5 * s / 2, g, 4}}));
    at(0).w0().setHiddenDots(true);
    draw();
    EXPECT_EQ(count("disc"), 7u);
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(count("disc"), 8u);
    SetStaffDefinition(dc, 6);
    EXPECT_EQ(DotRadius(dc), 2);  // never under two
}

TEST_F(Notes, ArticulationsSitOppositeTheStemOrAtItsEndAndTheirInkStandsClearOfStemHeadAndStaffLines) {
    struct Case {
        const char* gmn;
        unsigned kind;
        bool otherSide;
        int markCode;
    };
    const Case cases[] = {
        {"[g1]", 1, false, 107}, {"[c0]", 1, false, 107}, {"[f1]", 6, false, 62}, {"[b1]", 3, false, 60},
        {"[a1]", 5, true, 58},   {"[b1]", 2, false, 62},  {"[d2]", 5, false, 58}, {"[f1]", 7, false, 60},
        {"[a1]", 5, false, 59},  {"[d2]", 4, false, 107}, {"[e2]", 3, false, 60}, {"[a1/8]", 7, false, 60},
    };
    const int quarter = space() / 4;
    for (const Case& c : cases) {
        load(c.gmn);
        at(0).noteWord().setStaccato(true);
        at(0).noteWord().setAccentType(c.kind);
        at(0).noteWord().setStaccatoOtherSide(c.otherSide);
        draw();
        const auto marks = calls("glyph", c.markCode);
        ASSERT_EQ(marks.size(), 1u) << c.gmn << c.kind;
        const MusicGlyph* g = dc.musicFont->glyph(c.markCode);
        const int y = marks[0]["y"].get<int>();
        const int low = y + static_cast<int>(std::lround((g->offset.y + g->box.sw.y) * space()));
        const int high = y + static_cast<int>(std::lround((g->offset.y + g->box.ne.y) * space()));
        const auto clearOf = [&](int at) { return at <= low ? low - at : at >= high ? at - high : -1; };
        const json stem = calls("vline").at(0);
        const int head = calls("glyph", 204).at(0)["y"].get<int>();
        EXPECT_GE(clearOf(stem["y2"].get<int>()), quarter - 1) << c.gmn << c.kind;
        EXPECT_GE(clearOf(head), half() + quarter - 1) << c.gmn << c.kind;
        for (int line = 0; line < 5; ++line) EXPECT_GE(clearOf(top() - line * space()), quarter - 1) << c.gmn << c.kind;
    }
    // Where nothing is in the way the marks keep their places: a staccato under G4 in the space under the staff, one
    // a space and an eighth from C3; a marcato above D5 just clear of the top line.
    const std::pair<const char*, int> places[] = {{"[g1]", bottom() - half()},
                                                  {"[c0]", bottom() - 9 * half() - space() - dc.metrics.eighthSpace[0]}};
    for (auto [gmn, y] : places) {
        load(gmn);
        at(0).noteWord().setStaccato(true);
        at(0).noteWord().setAccentType(1);
        draw();
        EXPECT_EQ(rows("glyph", {"y"}, 107), (Rows{{y}})) << gmn;
    }
    load("[d2 c0]");
    for (std::size_t k : {0u, 1u}) {
        at(k).noteWord().setStaccato(true);
        at(k).noteWord().setAccentType(5);
    }
    at(1).noteWord().setDurationCode(1);  // a breve carries none
    draw();
    const MusicGlyph* marcato = dc.musicFont->glyph(58);
    EXPECT_NEAR(rows("glyph", {"y"}, 58).at(0)[0] + (marcato->offset.y + marcato->box.sw.y) * space(), top() + quarter,
                1);
    EXPECT_EQ(count("glyph", 58) + count("glyph", 59), 1u);
}

TEST_F(Notes, HiddenNotesAreSkippedUnlessShownAndCueNotesUseTheCueFontForThemselvesOnly) {
    load("[c#1 g1/8]");
    at(0).w0().setHidden(true);
    at(1).w0().setCueSize(true);
    draw();
    EXPECT_EQ(count("glyph", 211), 0u);
    EXPECT_EQ(rows("glyph", {"x", "fontHeight"}, 204), (Rows{{x(1) - GlyphAdvance(dc, 204) * 3 / 4 / 2, 120}}));
    EXPECT_EQ(rows("glyph", {"fontHeight"}, 205), (Rows{{120}}));
    EXPECT_EQ(rows("vline", {"y2"}), (Rows{{bottom() + space() + 5 * half()}}));  // a shorter stem
    EXPECT_FALSE(dc.draw.isCueSize);
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ((std::vector{count("glyph", 204), count("glyph", 211), count("vline"), count("hline")}),
              (std::vector<std::size_t>{2, 1, 2, 1}));
}

TEST_F(Notes, ACrossStaffNoteIsDrawnOnTheNeighbourStaffWithItsClefAndIndicesOutsideTheStaffDrawNothing) {
    load("[c1 |]");
    setClef(1, BassClef);
    at(0).w0().setCrossStaff(2);  // middle C placed on the bass staff below
    draw();
    EXPECT_EQ(rows("glyph", {"y"}, 204), (Rows{{top(1) + space()}}));
    at(0).w0().setCrossStaff(1);  // towards a staff the page does not have: stays on its own staff
    draw();
    EXPECT_EQ(rows("glyph", {"y"}, 204), (Rows{{bottom() - space()}}));
    canvas.clear();
    for (int i : {1, 2, -1}) DrawNoteOrRest(dc, staff(), i);  // a sign, and no element at all
    dc.staves.clear();
    DrawNoteOrRest(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
}

class Rests : public Notes {
protected:
    // Rests of the given values 300 apart at E of `octave`; octave 0: where the editor puts them.
    void rests(std::vector<unsigned> values, unsigned octave) {
        for (unsigned value : values) {
            doc.currentStaff = 0;
            doc.currentElement = static_cast<int>(staff().elements.size()) - 1;
            doc.insertion.durationCode = value;
            doc.insertion.octave = 1;  // the octave of the notes around has no say
            ElementRecord* e = CreateNoteOrRest(doc, 300 * static_cast<int>(staff().elements.size() + 1), true, 0);
            ASSERT_NE(e, nullptr);
            if (octave == 0) continue;
            e->noteWord().setStep(3);
            e->w0().setOctave(octave);
        }
    }
};

TEST_F(Rests, GlyphRestsAreCentredASpaceAboveTheirHeightWholeRestsHangAndHalfRestsStand) {
    rests({4, 7, 2, 3}, 4);  // E4: the bottom line
    draw();
    EXPECT_EQ(rows("glyph", {"x", "y"}, 215), (Rows{{x(0) - headHalf(), bottom() + space()}}));
    EXPECT_EQ(count("glyph", 218), 1u);
    // The whole rest hangs half a space from the line two spaces above its height, the half rest stands on the
    // line one space above it.
    const Rows bands = rows("band", {"x1", "x2", "y1", "t"});
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0][0] + bands[0][1], 2 * x(2));
    EXPECT_EQ((std::vector{bands[0][2], bands[0][3], bands[1][2]}),
              (std::vector{bottom() + 2 * space() - half(), half(), bottom() + space()}));
    EXPECT_EQ(count("hline"), 0u);
    load("[]");
    rests({2}, 5);  // E5, a space: the whole rest goes down to the line under it, D5
    rests({3}, 3);  // E3: far below; a half rest on its line gets a ledger stroke, as does the whole rest above
    draw();
    EXPECT_EQ(rows("band", {"y1"})[0][0], top() - space() + 2 * space() - half());
    const Rows ledgers = rows("hline", {"y1", "width"});
    ASSERT_EQ(ledgers.size(), 2u);
    EXPECT_EQ(ledgers[1], (std::vector{bottom() - 3 * space() - half() + space() - half(), dc.thickness.staffLine}));
    const Rows strokes = rows("hline", {"x1", "x2"}), blocks = rows("band", {"x1", "x2"});
    for (std::size_t k = 0; k < 2; ++k) {  // half as wide again as the block, on its centre
        const int b = (blocks[k][1] - blocks[k][0]) / 2;
        EXPECT_EQ(strokes[k], (std::vector{blocks[k][0] + b - 3 * b / 2, blocks[k][0] + b + 3 * b / 2}));
    }
}

TEST_F(Rests, LongaBreveMultiBarRestsValueShiftDotsAndTheOneLineStaff) {
    rests({0, 1, 2, 4}, 4);
    at(2).noteWord().setDurationCode(15);
    at(3).noteWord().setBit(5, true);  // drawn as an eighth rest
    at(3).noteWord().setDots(1);
    draw();
    const Rows bands = rows("band", {"x1", "x2", "y1", "t"});
    ASSERT_EQ(bands.size(), 3u);
    const int w = su();
    EXPECT_EQ(bands[0][1] - bands[0][0], 2 * (w / 4));
    EXPECT_EQ((std::vector{bands[0][2], bands[0][3], bands[1][2], bands[1][3], bands[2][2], bands[2][0]}),
              (std::vector{bottom(), 2 * space(), bottom() + space(), space(), bottom() + space(), x(2) - 2 * w / 3}));
    EXPECT_EQ(count("hline"), 2u);  // the breve rest's thin strokes
    EXPECT_EQ(count("glyph", 216), 1u);
    EXPECT_EQ(rows("disc", {"x", "y"}), (Rows{{x(3) - headHalf() + 3 * su(), bottom() + space() + half()}}));
    load("[]");
    rests({2}, 4);  // a whole rest on a one-line staff, E4 under clef value 0: one space below the line
    dc.staves[0].lines = 1;
    dc.staves[0].clefs.clear();
    draw();
    EXPECT_EQ(rows("band", {"y1"}), (Rows{{middle() - half()}}));
}

// The member of a chord's walk whose head lies at height y.
const ChordMember& At(const ChordLayout& chord, int y) {
    for (const ChordMember& m : chord.walk)
        if (m.layout.y == y) return m;
    ADD_FAILURE() << "no member at " << y;
    return chord.walk.front();
}

class Chords : public Notes {
protected:
    ChordLayout layOut(ChordRun run) {
        auto layout = LayOutChord(dc, staff(), run);
        EXPECT_TRUE(layout.has_value());
        return layout.value_or(ChordLayout{});
    }
    int c4() const { return bottom() - space(); }
};

TEST_F(Chords, SecondsGoToTheOtherSideOfTheStemAndThirdsNeverAndTheStemFollowsTheAverage) {
    const ChordLayout up = layOut(chord(500, {{1, 4}, {2, 4}, {3, 4}}));  // C D E, stem up: D on the right
    EXPECT_TRUE(up.stemUp);
    ASSERT_EQ(up.walk.size(), 3u);
    EXPECT_EQ(std::pair(up.root().layout.y, up.stemMember().layout.y), std::pair(c4(), c4() + space()));
    EXPECT_EQ((std::vector{At(up, c4()).moved, At(up, c4() + half()).moved, At(up, c4() + space()).moved}),
              (std::vector{false, true, false}));
    draw();
    EXPECT_EQ(rows("glyph", {"x"}, 204), (Rows{{500 - headHalf()}, {500 + headHalf()}, {500 - headHalf()}}));
    const ChordLayout down = layOut(chord(900, {{1, 5}, {2, 5}, {3, 5}}));  // stem down: the walk starts high
    EXPECT_FALSE(down.stemUp);
    EXPECT_EQ(down.root().layout.y, top() - half());
    EXPECT_TRUE(At(down, top() - space()).moved);
    EXPECT_EQ(At(down, top() - space()).layout.headShift, -2 * headHalf());
    for (const ChordMember& m : layOut(chord(1300, {{1, 4}, {3, 4}, {5, 4}, {7, 4}})).walk) EXPECT_FALSE(m.moved);
    EXPECT_FALSE(layOut(chord(1700, {{6, 4}, {1, 5}})).stemUp);  // A4 and C5 around the middle line
    EXPECT_TRUE(layOut(chord(2100, {{5, 4}, {1, 5}})).stemUp);   // G4 and C5: just below it
    EXPECT_TRUE(layOut(chord(2500, {{6, 5}, {1, 6}}, 4, Accidental::None, StemUp)).stemUp);
}

TEST_F(Chords, TheTwoHeadsOfASecondSitSideBySideWhateverTheirWidth) {
    const int t = dc.thickness.stem;
    for (const unsigned value : {1u, 2u, 3u}) {  // breve (strokes), whole and half (glyphs of different widths)
        load("[]");
        chord(500, {{1, 4}, {2, 4}}, value);
        draw();
        std::pair<int, int> left, right;  // the two heads' extents
        if (value == 1) {
            Rows strokes = rows("vline", {"x"});
            std::sort(strokes.begin(), strokes.end());
            ASSERT_EQ(strokes.size(), 4u);
            left = {strokes[0][0] - t / 2, strokes[1][0] + t / 2};
            right = {strokes[2][0] - t / 2, strokes[3][0] + t / 2};
        } else {
            Rows heads = rows("glyph", {"x", "code"});
            std::sort(heads.begin(), heads.end());
            ASSERT_EQ(heads.size(), 2u);
            const int w = GlyphAdvance(dc, heads[0][1]);
            left = {heads[0][0], heads[0][0] + w};
            right = {heads[1][0], heads[1][0] + w};
        }
        EXPECT_GE(right.first, left.second) << value;  // no overlap
        EXPECT_LE(right.first, left.second + 1) << value;  // and no gap
    }
}

TEST_F(Chords, TheLastMemberDrawsOneStemAndTheStemMembersFlagsAndHiddenMembersAreLeftOut) {
    chord(500, {{1, 4}, {5, 4}, {3, 4}}, 6);  // C4, G4, E4 sixteenths
    canvas.clear();
    DrawNoteOrRest(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
    draw();
    const Rows stems = rows("vline", {"y1", "y2"});
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_LT(stems[0][0], c4() + half());  // from the root beyond the stem member
    EXPECT_EQ(stems[0][1], c4() + 2 * space() + 7 * half() + space());
    EXPECT_EQ((std::vector{count("glyph", MultiFlagUpCode), count("glyph", 204), count("hline")}),
              (std::vector<std::size_t>{1, 3, 1}));
    at(2).w0().setHidden(true);  // the last drawn member draws the chord
    canvas.clear();
    DrawNoteOrRest(dc, staff(), 1);
    EXPECT_EQ(count("glyph", 204), 2u);
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(count("glyph", 204), 3u);
}

// Columns counted from the heads: the highest accidental nearest, then the lowest, alternating inwards, each in the
// nearest column where it meets nothing.
TEST_F(Chords, AccidentalsTakeColumnsHighestFirstThenLowestAndShareThemWhenFarEnoughApart) {
    const struct {
        std::vector<std::pair<unsigned, unsigned>> members;  // lowest first
        Accidental accidental;
        std::vector<int> columns;  // of the members, lowest first
    } cases[] = {
        {{{1, 4}, {3, 4}}, Accidental::Sharp, {1, 0}},
        {{{1, 4}, {4, 4}, {6, 4}}, Accidental::Sharp, {1, 2, 0}},
        {{{1, 4}, {3, 4}, {5, 4}, {7, 4}}, Accidental::Sharp, {0, 2, 1, 0}},  // a seventh apart: one column
        {{{1, 4}, {1, 5}}, Accidental::Sharp, {0, 0}},
        {{{2, 4}, {4, 4}, {6, 4}, {1, 5}}, Accidental::Flat, {0, 2, 1, 0}},
    };
    const int clearance = AccidentalClearance(dc, 0, false);
    for (const auto& c : cases) {
        load("[]");
        const ChordLayout layout = layOut(chord(900, c.members, 4, c.accidental));
        std::vector<std::pair<int, int>> byHeight;
        for (const ChordMember& m : layout.walk) byHeight.emplace_back(m.layout.y, *m.layout.accidentalX);
        std::sort(byHeight.begin(), byHeight.end());
        std::vector<int> distinct;
        for (auto [y, x] : byHeight) distinct.push_back(x);
        std::sort(distinct.begin(), distinct.end(), std::greater<>());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        std::vector<int> columns;
        for (auto [y, x] : byHeight)
            columns.push_back(static_cast<int>(std::find(distinct.begin(), distinct.end(), x) - distinct.begin()));
        EXPECT_EQ(columns, c.columns) << c.members.size();
        // The nearest column keeps a quarter space from the heads, the next ones half of it from each other.
        const InkBox ink = AccidentalInk(dc, static_cast<int>(c.accidental), 0, false);
        EXPECT_EQ(distinct[0] + ink.right, 900 - headHalf() - clearance);
        if (distinct.size() > 1) {
            EXPECT_EQ(distinct[0] - distinct[1], ink.right - ink.left + clearance / 2);
        }
    }
    const ChordLayout down = layOut(chord(1300, {{2, 5}, {3, 5}}, 4, Accidental::Sharp));  // D5 E5, stem down
    ASSERT_FALSE(down.stemUp);
    const ChordMember& moved = At(down, top() - space());  // D5 on the left
    ASSERT_TRUE(moved.moved);
    // E5's accidental reaches down beside the moved head: it clears that head too.
    const InkBox sharp = AccidentalInk(dc, 1, 0, false);
    EXPECT_EQ(*down.root().layout.accidentalX + sharp.right, 1300 - 3 * headHalf() - clearance);
    EXPECT_LT(*moved.layout.accidentalX, *down.root().layout.accidentalX);
    draw();
    EXPECT_EQ(rows("glyph", {"x"}, 211).at(0)[0], *down.root().layout.accidentalX);  // drawn where laid out
}

TEST_F(Chords, DotsStandInOneColumnASecondSplittingThemAndTheRootCarriesTheArticulation) {
    chord(500, {{5, 4}, {6, 4}, {1, 4}});  // G4 (a line), A4 (a space), C4
    for (ElementRecord& m : staff().elements) {
        m.noteWord().setDots(1);
        m.noteWord().setStaccato(true);
        m.noteWord().setAccentType(1);
    }
    draw();
    Rows dots = rows("disc", {"x", "y"});
    std::sort(dots.begin(), dots.end());
    const int dx = dots.at(0)[0];
    EXPECT_EQ(dots, (Rows{{dx, c4() + half()}, {dx, bottom() + space() - half()}, {dx, bottom() + space() + half()}}));
    ASSERT_EQ(count("glyph", 107), 1u);  // one staccato, below C4, the root of an up stem
    EXPECT_LT(calls("glyph", 107)[0]["y"].get<int>(), c4());
}

TEST_F(Chords, AChordAloneInABeamGroupDrawsItsStemAndInALongerGroupLeavesItToTheBeam) {
    const ChordRun run = chord(500, {{1, 4}, {5, 4}}, 5);
    for (ElementRecord& m : staff().elements) {
        m.w0().setInBeam(true);
        m.w0().setOpensBeam(m.noteWord().step() == 1);  // the lowest opens, the highest closes
        m.w0().setClosesBeam(m.noteWord().step() != 1);
    }
    EXPECT_FALSE(layOut(run).inBeam);
    draw();
    EXPECT_EQ(count("vline"), 1u);
    for (ElementRecord& m : staff().elements) m.w0().setClosesBeam(false);
    ElementRecord& next = note(560, 5, 4, 5);
    next.w0().setInBeam(true);
    next.w0().setClosesBeam(true);
    draw();
    EXPECT_EQ((std::vector{count("vline"), count("band"), count("glyph", 205)}), (std::vector<std::size_t>{2, 1, 0}));
}

TEST_F(Chords, RunsEndAtAStemMemberOrAnotherXAndMembersOnTheStaffBelowComeFirst) {
    chord(500, {{1, 4}, {3, 4}});
    chord(500, {{5, 4}, {7, 4}});
    at(1).noteWord().setBit(19, true);
    EXPECT_EQ(std::pair(FindChordRun(staff(), 0).first, FindChordRun(staff(), 0).last), std::pair(0, 1));
    EXPECT_EQ(std::pair(FindChordRun(staff(), 3).first, FindChordRun(staff(), 3).last), std::pair(2, 3));
    note(700, 1, 4, 4, AutoStem | Chord);
    EXPECT_EQ(FindChordRun(staff(), 4).first, 4);
    const ChordRun run = chord(900, {{1, 5}, {5, 4}});
    at(static_cast<std::size_t>(run.last - 1)).w0().setCrossStaff(2);  // C5 placed on the staff below
    const ChordLayout below = layOut(run);
    // Members on the staff below count as the lowest whatever their height on their own staff.
    EXPECT_EQ((below.stemUp ? below.walk.front() : below.walk.back()).layout.place.index, 1);
}

// Writing the chord layout back into the staff: member order, the stem-member, other-side and stem-up bits, ties
// and beam ends gathered on the root and the stem member, no element lost, and single notes' stem directions.
TEST_F(Notes, StaffLinesStopAtTheFinalBarOfALineThatEndsShortOnlyWhenEveryStaffClosesThere) {
    struct Case {
        unsigned lastBar;   // the code given to the last bar of staff 0
        bool secondCloses;  // staff 1 ends on a final bar too
        bool stops;
    };
    for (const Case c : {Case{'E', true, true}, Case{'F', true, true}, Case{'|', true, false},
                         Case{'E', false, false}}) {
        load("{[c d e f \\bar], [c d \\bar]}");
        staff(0).elements.back().signWord().setCode(c.lastBar);
        staff(1).elements.back().signWord().setCode(c.secondCloses ? 'E' : '|');
        for (int i : {0, 1}) {  // one system of two staves
            staff(i).voice().setGroupSize(2);
            staff(i).voice().setPositionInGroup(static_cast<unsigned>(i + 1));
        }
        const int lineEnd = dc.staves[0].right;
        EndLinesAtClosingBars(dc, doc.pages[0]);
        const int thick = dc.thickness.beam;  // a final bar's heavy stroke, centred on its x
        const int end = std::max(staff(0).elements.back().x, staff(1).elements.back().x) + (thick + 1) / 2;
        for (int i : {0, 1})
            EXPECT_EQ(dc.staves[static_cast<std::size_t>(i)].right, c.stops ? end : lineEnd) << c.lastBar << i;
    }
}

TEST_F(Notes, ArrangingWritesTheChordLayoutAndTheStemsIntoTheStaff) {
    chord(500, {{3, 4}, {1, 4}, {2, 4}});  // E, C, D, the E tied on
    at(0).w0().setTieStarts(true);
    at(0).w0().setTiedToNext(true);
    EXPECT_EQ(ArrangeNotes(dc, staff()), 1);
    for (std::size_t i = 0; i < 3; ++i) {  // up stem: C, D, E from the lowest, D on the other side
        EXPECT_EQ((std::vector<unsigned>{at(i).noteWord().step(), at(i).noteWord().bit(19), at(i).noteWord().bit(20),
                                         at(i).noteWord().bit(21), at(i).w0().tieStarts()}),
                  (std::vector<unsigned>{static_cast<unsigned>(i + 1), i == 2, i == 1, 1, i == 0}))
            << i;
    }
    const std::vector<ElementRecord> before = staff().elements;
    ArrangeNotes(dc, staff());
    EXPECT_EQ(staff().elements, before);  // arranging again changes nothing
    load("[]");
    chord(300, {{3, 4}, {1, 4}}, 5);
    chord(600, {{1, 4}, {3, 4}}, 5);
    for (ElementRecord& m : staff().elements) m.w0().setInBeam(true);
    at(0).w0().setOpensBeam(true);   // the first chord's E
    at(2).w0().setClosesBeam(true);  // the second chord's C
    ArrangeNotes(dc, staff());
    EXPECT_EQ(
        (std::vector{at(0).w0().opensBeam(), at(1).w0().opensBeam(), at(2).w0().closesBeam(), at(3).w0().closesBeam()}),
        (std::vector{true, false, false, true}));
    load("[]");
    for (unsigned k = 0; k < 25; ++k) note(500, 1 + k % 7, 2 + k / 7, 4, AutoStem | Chord);
    at(7).w0().setHidden(true);
    const unsigned hiddenStep = at(7).noteWord().step();
    ArrangeNotes(dc, staff());
    ASSERT_EQ(staff().elements.size(), 25u);  // none lost, the hidden member first
    EXPECT_EQ(std::tuple(at(0).w0().hidden(), at(0).noteWord().step(), at(24).noteWord().bit(19)),
              std::tuple(true, hiddenStep, true));
    load("[c1 c3]");
    note(900, 1, 6, 4, StemUp);  // a fixed up stem stays up, even high
    at(1).noteWord().setStemFlag(true);
    ArrangeNotes(dc, staff());
    EXPECT_EQ((std::vector{at(0).noteWord().stemFlag(), at(1).noteWord().stemFlag(), at(2).noteWord().stemFlag()}),
              (std::vector{true, false, true}));
}

class Beams : public Notes {
protected:
    BeamLayout layOut() {
        const auto range = FindBeamGroup(staff(), 0);
        EXPECT_TRUE(range.has_value());
        const auto layout = range ? LayOutBeamGroup(dc, staff(), *range) : std::nullopt;
        EXPECT_TRUE(layout.has_value());
        return layout.value_or(BeamLayout{});
    }
    // The height of the first recorded band's edge above x.
    double edgeAt(int at) const {
        const json band = calls("band").at(0);
        const double x1 = band["x1"], x2 = band["x2"], y1 = band["y1"], y2 = band["y2"];
        return x2 == x1 ? y1 : y1 + (y2 - y1) * (at - x1) / (x2 - x1);
    }
    // Stems as x of their left and right edges and their two ends.
    Rows stems() const {
        Rows out = rows("vline", {"x", "y1", "y2"});
        for (auto& s : out)
            s = {s[0] - dc.thickness.stem / 2, s[0] - dc.thickness.stem / 2 + dc.thickness.stem, s[1], s[2]};
        return out;
    }
};

TEST_F(Beams, StemsMeetOneBeamThatSpansThemExactlyOnTheSideOfTheirDirection) {
    load("[\\beam(g1/8 a b c2)]");  // G4 is the farthest from the middle line: stems up
    draw();
    Rows s = stems(), bands = rows("band", {"x1", "x2", "y1", "y2", "t"});
    ASSERT_EQ(s.size(), 4u);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(count("glyph", 205), 0u);  // no flags under a beam
    EXPECT_LT(bands[0][4], 0);           // up stems: the beam hangs from its outer edge towards the heads
    EXPECT_EQ(std::pair(bands[0][0], bands[0][1]), std::pair(s[0][0], s[3][1]));
    EXPECT_GT(bands[0][3], bands[0][2]);  // rising notes, a rising beam
    for (const auto& stem : s) {
        EXPECT_GT(stem[3], stem[2]);
        EXPECT_NEAR(stem[3], edgeAt((stem[0] + stem[1]) / 2), 1.0);
    }
    load("[\\beam(d2/8 f a)]");  // high notes: stems down, the beam below leaving two spaces of clear stem
    draw();
    const auto first = stems()[0];
    EXPECT_GT(rows("band", {"t"}).at(0)[0], 0);
    EXPECT_LE(edgeAt((first[0] + first[1]) / 2) + rows("band", {"t"})[0][0], top() - half() - 2 * space() + 1);
}

TEST_F(Beams, TheFarthestNoteFromTheMiddleLineOrAFixedStemDecidesTheDirection) {
    for (auto [gmn, fixedUp, up] : {std::tuple{"[\\beam(e1/8 c3)]", false, false},  // C6 is farther than E4
                                    std::tuple{"[\\beam(g1/8 d2)]", false, false},  // balanced: down
                                    std::tuple{"[\\beam(d2/8 f)]", true, true}}) {
        load(gmn);
        at(0).noteWord().setStemAutomatic(!fixedUp);
        at(0).noteWord().setStemFlag(fixedUp);
        EXPECT_EQ(layOut().up, up) << gmn;
    }
    load("[\\beam(c0/8 d0)]");  // notes below the staff stretch their stems to the middle line
    const BeamLayout low = layOut();
    ASSERT_TRUE(low.up);
    for (const BeamedStem& stem : low.stems) EXPECT_GE(stem.to, middle());
}

TEST_F(Beams, SlopesUnderTheMinimumAreLevelAndSteepOnesClampedToThePageFormatsMaximumAndCorrection) {
    load("[\\beam(g1/8 a)]");
    at(1).x = x(0) + 200;  // 10 / 200 = 0.05
    EXPECT_EQ(layOut().slope, 0.0);
    draw();
    EXPECT_EQ(rows("band", {"y1"}), rows("band", {"y2"}));
    for (auto [gmn, sign] : {std::pair{"[\\beam(c1/8 c3)]", 1}, {"[\\beam(c3/8 c1)]", -1}}) {
        load(gmn);  // two octaves in 80 units
        EXPECT_DOUBLE_EQ(layOut().slope, sign * 0.15);
        draw();
        const auto b = rows("band", {"x1", "x2", "y1", "y2"}).at(0);
        EXPECT_NEAR(double(b[3] - b[2]) / (b[1] - b[0]), sign * 0.15, 0.03);
    }
    dc.beams.maxSlope = 0.5;
    EXPECT_DOUBLE_EQ(layOut().slope, -0.5);
    const std::int16_t words[2] = {0, 20};  // a correction of 0.20 in the opening note's blob, in hundredths
    at(0).attachBlob(std::span(reinterpret_cast<const std::uint8_t*>(words), sizeof words));
    EXPECT_NEAR(layOut().slope, -0.30, 1e-9);
}

// Four sixteenths a step apart as an imported line spaces them: a new document's bounds let them rise about a staff
// space, as engravers draw them; a stored document keeps the maximum it was written with.
TEST_F(Beams, ANewDocumentsGroupRisesAboutAStaffSpaceAndAStoredDocumentKeepsItsMaximum) {
    for (auto [storedMax, lowest, highest] : {std::tuple{-1, 0.5, 1.15}, {30, 2.0, 2.5}}) {
        load("[\\beam(c1/16 e g c2)]");
        if (storedMax >= 0) doc.header.pageFormat().bytes()[6] = static_cast<std::uint8_t>(storedMax);
        UseDocumentSettings(dc, doc);
        for (std::size_t k = 1; k < 4; ++k) at(k).x = x(0) + 49 * static_cast<int>(k);
        const BeamLayout layout = layOut();
        const double rise = layout.slope * (layout.stems.back().x - layout.stems.front().x) / space();
        EXPECT_TRUE(rise >= lowest && rise <= highest) << storedMax << ": " << rise;
    }
}

TEST_F(Beams, EachShorterValueTakesOneMoreBeamAndHooksPointToTheNoteTheyCompleteTheBeatWith) {
    load("[\\beam(a1/32 a a a)]");
    draw();
    const Rows bands = rows("band", {"x1", "x2", "y1"});
    const BeamLayout layout = layOut();
    ASSERT_EQ(bands.size(), 3u);
    for (const int level : {1, 2}) {
        const int y = bands[0][2] - level * (layout.thickness + layout.gap);
        EXPECT_EQ(bands[static_cast<std::size_t>(level)], (std::vector{bands[0][0], bands[0][1], y}));
    }
    // Each beam more lengthens the stems by one beam pitch, keeping the clear stem under the innermost beam.
    const auto stemLength = [this] { return stems().at(0)[3] - stems().at(0)[2]; };
    const int length32 = stemLength();
    load("[\\beam(a1/16 a a a)]");
    draw();
    EXPECT_EQ(length32, stemLength() + layout.thickness + layout.gap);
    load("[\\beam(g1/32 g c2 g1)]");  // C5 comes closest to the beam
    draw();
    const auto b = rows("band", {"x1", "x2", "y1", "y2"}).at(2);
    const double stemX = (stems()[2][0] + stems()[2][1]) / 2.0;
    const double innermost = b[2] + (b[3] - b[2]) * (stemX - b[0]) / (b[1] - b[0]) - layOut().thickness;
    EXPECT_NEAR(innermost - layOut().stems[2].tipY, 2 * space(), 1.0);
    const auto hook = [this](const char* gmn, int width) {
        load(gmn);
        at(1).x = x(0) + width;
        draw();
        return rows("band", {"x1", "x2"});
    };
    const int h = 2 * headHalf();
    const std::vector<int> back = hook("[\\beam(g1/8. g/16)]", 120).at(1);  // to the dotted note
    EXPECT_EQ(back, (std::vector{stems()[1][1] - h, stems()[1][1]}));
    const std::vector<int> forward = hook("[\\beam(g1/16 g/8.)]", 100).at(1);
    EXPECT_EQ(forward, (std::vector{stems()[0][0], stems()[0][0] + h}));
    load("[\\beam(g1/8. g/16 g/8. g/16)]");  // inside a group the sixteenth after a dotted eighth hooks back
    draw();
    EXPECT_EQ(rows("band", {"x2"}), (Rows{{stems()[3][1]}, {stems()[1][1]}, {stems()[3][1]}}));
}

TEST_F(Beams, ABeamedChordsStemRunsFromItsFarthestHeadToTheBeamInTheGroupsDirection) {
    chord(400, {{1, 4}, {3, 4}, {5, 4}}, 5);
    for (ElementRecord& m : staff().elements) m.w0().setInBeam(true);
    at(0).w0().setOpensBeam(true);
    ElementRecord& last = note(470, 7, 4, 5);
    last.w0().setInBeam(true);
    last.w0().setClosesBeam(true);
    draw();
    const Rows s = stems();
    ASSERT_EQ(s.size(), 2u);  // one stem for the chord, drawn with the beam
    EXPECT_EQ(std::pair(count("band"), count("glyph", 204)), Counts(1, 4));
    const int c4 = bottom() - space();
    EXPECT_LT(s[0][2], c4 + half());       // from the lowest head
    EXPECT_GE(s[0][3], c4 + 4 * space());  // clear of the highest head (G4) by stem and beam
    EXPECT_NEAR(s[0][3], edgeAt((s[0][0] + s[0][1]) / 2), 1.0);
    // Alone the chord would point up (it lies below the middle line); the high note turns the group down.
    at(3).noteWord().setStep(3);
    at(3).w0().setOctave(6);
    EXPECT_FALSE(LayOutChord(dc, staff(), FindChordRun(staff(), 0))->stemUp);
    EXPECT_FALSE(layOut().up);
    load("[\\beam(g1/8 f2)]");  // so a staccato on G4 goes above it, the stem's head side
    at(0).noteWord().setStaccato(true);
    at(0).noteWord().setAccentType(1);
    ASSERT_FALSE(layOut().up);
    draw();
    ASSERT_EQ(count("glyph", 107), 1u);
    EXPECT_GT(calls("glyph", 107)[0]["y"].get<int>(), bottom() + space());
}

TEST_F(Beams, ThicknessFollowsTheFormatAndCueNotesAndTheAverageHeightSetsTheClearStem) {
    load("[\\beam(g1/8 g)]");
    EXPECT_EQ(layOut().thickness, space() / 2);  // the font's half space at the default "Barres valeur"
    const int g4 = bottom() + space();
    EXPECT_EQ(layOut().stems[0].to - layOut().thickness - g4, 3 * space());
    dc.beams.averageHeight = 4.0;
    EXPECT_EQ(layOut().stems[0].to - layOut().thickness - g4, 4 * space());
    for (ElementRecord& e : staff().elements) e.w0().setCueSize(true);
    EXPECT_EQ(layOut().thickness, static_cast<int>(std::lround(space() / 2.0 * 3 / 4)));
    dc.thickness.beam = 20;
    dc.thickness.beamGap = 10;
    for (ElementRecord& e : staff().elements) e.w0().setCueSize(false);
    EXPECT_EQ(std::pair(layOut().thickness, layOut().gap), std::pair(space(), space() / 2));
}

TEST_F(Beams, GroupsAreFoundFromAnyMemberAndDrawnOnlyForTheNotesThatTakeABeam) {
    load("[\\beam(g1/8 a) \\beam(g a)]");
    EXPECT_EQ(std::pair(FindBeamGroup(staff(), 3)->first, FindBeamGroup(staff(), 3)->last), std::pair(2, 3));
    EXPECT_EQ(FindBeamGroup(staff(), 1)->first, 0);
    EXPECT_FALSE(FindBeamGroup(staff(), 7).has_value());
    draw();
    EXPECT_EQ(count("band"), 2u);
    load("[g1 \\beam(g/8 a)]");  // a group without its opening starts after the note before it
    at(1).w0().setOpensBeam(false);
    EXPECT_EQ(FindBeamGroup(staff(), 2)->first, 1);
    load("[\\beam(g1/8 a b)]");
    at(2).w0().setHidden(true);  // a hidden last note leaves the group to the notes shown
    draw();
    EXPECT_EQ(std::pair(count("band"), count("vline")), Counts(1, 2));
    at(2).w0().setHidden(false);
    at(2).w0().setInBeam(false);  // a group never closed still gets its beam
    at(2).w0().setClosesBeam(false);
    at(2).noteWord().setDurationCode(4);
    draw();
    EXPECT_EQ(std::pair(count("band"), count("vline")), Counts(1, 3));
    at(1).noteWord().setDurationCode(4);  // a quarter closes: a lone eighth keeps its stem and flag
    at(1).w0().setClosesBeam(true);
    draw();
    EXPECT_EQ(std::pair(count("band"), count("glyph", 205)), Counts(0, 1));
}

TEST(DocumentSettings, TheFormatsSlopesAverageHeightAndUsableRatiosReachTheDrawing) {
    ScoreDocument doc;
    DrawingContext dc;
    doc.header.smallStaffNum() = 0;  // a damaged ratio is not used
    UseDocumentSettings(dc, doc);
    EXPECT_EQ(dc.ratios.smallNum, 16);
    doc.header.smallStaffNum() = 12;
    UseDocumentSettings(dc, doc);
    EXPECT_EQ(dc.ratios.smallNum, 12);
    EXPECT_EQ(std::tuple(dc.beams.minSlope, dc.beams.maxSlope, dc.beams.averageHeight), std::tuple(0.10, 0.15, 3.0));
    doc.header.pageFormat().bytes()[6] = 0;  // a maximum of 0, as older documents hold it
    doc.settings.averageBeamHeight = 9.0;
    UseDocumentSettings(dc, doc);
    EXPECT_EQ(std::pair(dc.beams.maxSlope, dc.beams.averageHeight), std::pair(0.10, 4.0));
}

TEST_F(Notes, ABeamedTripletShowsItsNumberAloneOverTheBeamsMiddleOrBracketedOnItsHeadsSide) {
    load("[\\beam(g1/12 a b)]");
    draw();
    const auto numbers = calls("glyphText");
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(numbers[0]["codes"], json::array({TupletDigitCode + 3}));
    EXPECT_TRUE(numbers[0]["centred"].get<bool>());
    EXPECT_EQ(count("hline"), 0u);  // no bracket
    const auto beam = LayOutBeamGroup(dc, staff(), *FindBeamGroup(staff(), 0));
    ASSERT_TRUE(beam.has_value());
    const int nx = numbers[0]["x"];
    EXPECT_TRUE(nx > beam->stems.front().x && nx < beam->stems.back().x);
    EXPECT_NEAR(numbers[0]["y"].get<double>(), beam->outerEdgeAt(nx) + half(), 1.0);
    at(0).w0().setGroupMarkSide(1);  // marked on its heads' side: with a bracket, below
    draw();
    EXPECT_EQ(count("hline"), 2u);
    EXPECT_LT(rows("glyphText", {"y"}).at(0)[0], bottom());
}

TEST_F(Notes, QuarterTripletsGetABracketBrokenAroundTheNumberClearOfStemsAndStaffAndAreFoundEachOnItsOwn) {
    load("[g1/6 a b]");
    draw();
    const std::vector<int> number = rows("glyphText", {"x", "y"}).at(0);
    Rows lines = rows("hline", {"x1", "x2", "y1"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1][2], lines[0][2]);
    // From the first head's left edge to the last head's right edge, open around the centred number.
    EXPECT_EQ(lines[0][0], x(0) - headHalf());
    EXPECT_NEAR(lines[1][1], x(2) + headHalf(), 2);
    EXPECT_TRUE(lines[0][1] < number[0] && lines[1][0] > number[0]);
    EXPECT_NEAR(number[0], (lines[0][0] + lines[1][1]) / 2, 1);
    Rows s = rows("vline", {"y1", "y2"});
    ASSERT_EQ(s.size(), 5u);  // three stems and two hooks pointing down to the notes
    for (std::size_t k = 0; k < 3; ++k) EXPECT_GT(number[1], s[k][1]);
    EXPECT_GT(number[1], top());
    EXPECT_LT(s[3][0], lines[0][2]);
    load("[g1/6 a b g g g]");  // groups are found each on its own, and from their first note without a start
    ASSERT_TRUE(FindTupletEndingAt(staff(), 5).has_value());
    EXPECT_EQ(FindTupletEndingAt(staff(), 5)->first, 3);
    draw();
    EXPECT_EQ(count("glyphText"), 2u);
    at(0).w0().setGroupMark(0);
    ASSERT_TRUE(FindTupletEndingAt(staff(), 2).has_value());
    EXPECT_EQ(std::pair(FindTupletEndingAt(staff(), 2)->first, FindTupletEndingAt(staff(), 2)->last), std::pair(0, 2));
    EXPECT_FALSE(FindTupletEndingAt(staff(), 1).has_value());
    at(3).w1().setNumerator(0);  // a numerator of zero draws nothing
    draw();
    EXPECT_EQ(count("glyphText"), 1u);
}

// A curve above runs from its right end, one below from its left end.
bool Above(const json& arc) { return arc["start"][0].get<int>() > arc["end"][0].get<int>(); }

ArcCurve Curve(int x1, int y1, int x2, int y2) { return {.x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .peak = {}}; }

class Ties : public Notes {
protected:
    // The two notes of `gmn` tied or slurred, the second `width` after the first.
    void pair(std::string_view gmn, int width) {
        load(gmn);
        at(1).x = x(0) + width;
        draw();
    }
    int clearance() const { return space() + dc.metrics.eighthSpace[0]; }
};

TEST_F(Ties, LevelTiesRiseByTheirHeightClass) {
    for (auto [width, spaces] : {std::pair{250, 1}, {400, 2}}) {
        pair("[\\tie(d2 d)]", width);  // stems down: above, counter-clockwise over the top
        const json arc = calls("arc").at(0);
        ASSERT_EQ(arc["start"][1], arc["end"][1]);
        EXPECT_EQ(arc["pen"]["width"], dc.curves.tiePenWidth);
        const int ends = arc["start"][1];
        const std::vector<int> box = rows("arc", {"top", "bottom"})[0];
        EXPECT_EQ(std::pair(box[0], (box[0] + box[1]) / 2), std::pair(ends + spaces * space(), ends - space()));
    }
}
TEST_F(Ties, CurvesFollowTheStemsAndTheWholeNotesAndOtherwiseThePreferredSide) {
    for (auto [gmn, prefer, expected] : {std::tuple{"[\\slur(g1/4 f1)]", true, false},  // both stems up: below
                                         {"[\\slur(d2/4 f2)]", false, true},            // both down: above
                                         {"[\\slur(g1/4 f2)]", false, false},           // they disagree
                                         {"[\\slur(g1/4 f2)]", true, true},
                                         {"[\\slur(d2/4 a1/1)]", false, true},     // away from the first stem
                                         {"[\\slur(d2/1 g1/4)]", true, false}}) {  // away from the second
        load(gmn);
        at(1).x = x(0) + 300;
        at(1).w0().setCurveAbove(prefer);
        draw();
        ASSERT_EQ(count("arc"), 2u) << gmn;
        EXPECT_EQ(Above(calls("arc")[0]), expected) << gmn << prefer;
        // Both ends clear their notes by a space, and a stem on the slur's side (the G's, up) by its length too.
        const json arc = calls("arc")[0];
        for (std::size_t k : {0u, 1u}) {
            const int note = PitchHeight(dc, *PlaceOfElement(dc, staff(), at(k)), at(k));
            const bool stemSide = k == 0 && expected && at(0).noteWord().step() == 5;
            const int end = arc[(k == 0) == expected ? "end" : "start"][1];
            EXPECT_GE((expected ? end - note : note - end), space() + (stemSide ? 2 * space() + half() : 0)) << gmn;
        }
    }
}

TEST_F(Ties, ASlurOverAHighNoteClearsItLiftingTheEndNearItsPeak) {
    load("[\\slur(g1 g2 a1)]");
    for (ElementRecord& e : staff().elements) e.noteWord().setStemAutomatic(false);  // stems down: above
    at(2).w0().setCurveAbove(true);
    draw();
    ASSERT_EQ(count("arc"), 2u);
    EXPECT_GE(rows("arc", {"top"})[0][0], top() + 2 * space() - half() + clearance());
    canvas.clear();  // level ends: the first is lifted towards a peak near it, a step in
    DrawArcCurve(dc, ArcCurve{.x1 = 500, .y1 = 1000, .x2 = 800, .y2 = 1000, .peak = 1100, .peakX = 510}, 0);
    const json arc = calls("arc").at(0);
    EXPECT_EQ(arc["start"], json::array({800, 1000}));
    EXPECT_TRUE(arc["end"][1].get<int>() > 1000 && arc["end"][0].get<int>() > 500);
}

// Ties between notes or chords, with the tie marks where the chord layout gathers them: each note the second
// continues at its pitch is tied from its own height, clear of the dots of the first and the accidentals of the second.
TEST_F(Ties, EachContinuedNoteIsTiedBetweenTheHeadsOnItsOwnSide) {
    using Members = std::vector<std::pair<unsigned, unsigned>>;
    const struct {
        Members first, second;
        int width;
        std::vector<bool> above;  // of the ties, lowest first
    } cases[] = {
        {{{5, 4}}, {{5, 4}}, 150, {false}},
        {{{5, 4}}, {{5, 4}}, 40, {false}},  // heads close together: the tie still shows between them
        {{{1, 4}, {3, 4}, {5, 4}}, {{1, 4}, {3, 4}, {5, 4}}, 150, {false, false, true}},
        {{{1, 4}, {3, 4}, {5, 4}}, {{1, 4}, {4, 4}, {6, 4}}, 150, {false}},       // only C goes on
        {{{1, 4}, {2, 4}, {5, 4}}, {{1, 4}, {2, 4}, {5, 4}}, 200, {false, false, true}},  // D right of the stem
        {{{5, 4}}, {{1, 4}, {3, 4}, {5, 4}}, 150, {false}},
    };
    const int quarter = static_cast<int>(std::lround(dc.metrics.quarterSpace[0]));
    for (const auto& c : cases) {
        load("[]");
        const auto put = [this](int at, const Members& m, Accidental a) {
            if (m.size() == 1) {
                note(at, m[0].first, m[0].second, 4, AutoStem, a);
            } else {
                chord(at, m, 4, a);
            }
        };
        put(500, c.first, Accidental::None);
        const std::size_t split = staff().elements.size();
        put(500 + c.width, c.second, Accidental::Sharp);
        for (std::size_t k = 0; k < split; ++k) at(k).noteWord().setDots(1);
        at(split - 1).w0().setTiedToNext(true);  // marks on any member: the layout gathers them
        at(split - 1).w0().setTieStarts(true);
        at(split).w0().setTiedToNext(true);
        at(split).w0().setTieEnds(true);
        ArrangeNotes(dc, staff());
        draw();
        int firstRight = INT_MIN, secondLeft = INT_MAX;  // heads and dots of the first, heads and sharps of the second
        const std::vector<json> glyphs = calls("glyph");  // the first's heads come first
        for (std::size_t k = 0; k < glyphs.size(); ++k) {
            const int gx = glyphs[k]["x"];
            if (k < c.first.size()) firstRight = std::max(firstRight, gx + GlyphAdvance(dc, glyphs[k]["code"]));
            else secondLeft = std::min(secondLeft, gx);
        }
        for (const json& d : calls("disc")) firstRight = std::max(firstRight, d["x"].get<int>() + d["r"].get<int>());
        std::vector<json> ties;  // the outer arcs
        for (std::size_t k = 0; k < calls("arc").size(); k += 2) ties.push_back(calls("arc")[k]);
        std::sort(ties.begin(), ties.end(), [](const json& a, const json& b) { return a["start"][1] < b["start"][1]; });
        ASSERT_EQ(ties.size(), c.above.size()) << c.first.size() << " " << c.width;
        std::vector<int> heights;  // of the second's notes
        for (std::size_t k = split; k < staff().elements.size(); ++k)
            heights.push_back(PitchHeight(dc, *PlaceOfElement(dc, staff(), at(k)), at(k)));
        for (std::size_t k = 0; k < ties.size(); ++k) {
            const json& arc = ties[k];
            const int a = arc["start"][0], b = arc["end"][0], left = std::min(a, b), right = std::max(a, b);
            if (c.width > 100) {
                EXPECT_TRUE(left > firstRight && right < secondLeft) << left << " " << right;
            } else {
                EXPECT_TRUE(left > 500 && right < 500 + c.width) << left << " " << right;  // centred between them
            }
            EXPECT_GE(right - left, 2 * su());
            EXPECT_EQ(Above(arc), c.above[k]);
            const int y = arc["start"][1].get<int>() + (Above(arc) ? -quarter : quarter);
            EXPECT_NE(std::find(heights.begin(), heights.end(), y), heights.end()) << y;  // from a continued note
        }
    }
}

TEST_F(Ties, CurvesLeftOpenRunToTheLineEndComeInFromSixStepsAwayAndChain) {
    load("[\\tie(d2 d) d]");
    at(1).w0().setTiedToNext(false);
    at(1).w0().setTieEnds(false);
    draw();
    EXPECT_EQ(count("arc"), 0u);  // left open, it runs to the line's end
    FinishStaffCurves(dc, staff(), 1900);
    const json arc = calls("arc").at(0);  // above: from its right end
    const int quarter = static_cast<int>(std::lround(dc.metrics.quarterSpace[0]));
    EXPECT_EQ(arc["start"][0], 1900 - quarter);
    EXPECT_GT(arc["end"][0], x(0) + headHalf());
    EXPECT_FALSE(dc.pendingCurve.has_value());
    load("[\\tie(d2 d d)]");  // a note that ends one curve and starts the next chains them
    draw();
    EXPECT_EQ(count("arc"), 4u);
    load("[d2]");  // a curve continued from the line before
    at(0).w0().setTiedToNext(true);
    at(0).w0().setTieEnds(true);
    draw();
    ASSERT_EQ(count("arc"), 2u);
    EXPECT_EQ(calls("arc")[0]["end"][0], x(0) - dc.metrics.stepUnit6 + quarter);
    EXPECT_LT(calls("arc")[0]["start"][0], x(0) - headHalf());
}

TEST_F(Ties, ShortCurvesAreNotDrawnAndThePrinterFillsTheCrescentTheScreenOutlines) {
    const int y = middle();
    DrawArcCurve(dc, Curve(500, y, 500 + su(), y), 0);
    EXPECT_EQ(count("arc"), 0u);  // no wider than a step unit
    const ArcCurve curve = Curve(500, y, 800, y + 30);
    RecordingCanvas screen(CanvasKind::Screen), printer(CanvasKind::Printer), svg(CanvasKind::Svg);
    dc.canvas = &screen;
    DrawArcCurve(dc, curve, 0);
    ASSERT_EQ(screen.calls().size(), 2u);
    dc.canvas = &printer;
    DrawArcCurve(dc, curve, 0);
    const json& calls = printer.calls();
    EXPECT_EQ(std::pair(calls[0], calls[1]), std::pair(screen.calls()[0], screen.calls()[1]));
    // The fill steps from the outer arc's box to the inner one's, a unit at a time where the top moves most.
    const int outerTop = calls[0]["top"], innerTop = calls[1]["top"];
    ASSERT_GT(outerTop, innerTop);
    EXPECT_GE(calls.size(), static_cast<std::size_t>(outerTop - innerTop + 1));
    for (std::size_t k = 2; k < calls.size(); ++k) {
        EXPECT_EQ(calls[k]["op"], "arc");
        EXPECT_TRUE(calls[k]["top"].get<int>() <= outerTop && calls[k]["top"].get<int>() >= innerTop);
    }
    dc.canvas = &svg;  // pictures fill the crescent as one shape along the arcs
    DrawArcCurve(dc, curve, 0);
    const json& shape = svg.calls().back();
    ASSERT_EQ(shape["op"], "polygon");
    for (const json& p : shape["points"]) {
        EXPECT_TRUE(p[0] >= calls[0]["left"].get<int>() - 1 && p[0] <= calls[0]["right"].get<int>() + 1) << p;
        EXPECT_TRUE(p[1] >= calls[0]["bottom"].get<int>() - 1 && p[1] <= calls[0]["top"].get<int>() + 1) << p;
    }
    for (int k : {-4, 0, 3}) {  // the thickness setting sets the crescent's depth
        const auto s = ShapeArcCurve(dc, Curve(500, y, 800, y), k);
        ASSERT_TRUE(s && s->inner);
        EXPECT_DOUBLE_EQ(s->outer.top - s->inner->top, std::max(space() / (k + 5), 2)) << k;
        // A level curve's inner arc is wider, so that both meet at the ends.
        EXPECT_TRUE(s->inner->left < s->outer.left && s->inner->right > s->outer.right);
    }
    // A slur from one staff to the next stays a curve of about its thickness, not a filled wedge.
    const auto steep = ShapeArcCurve(dc, Curve(500, y, 600, y + 200), 0);
    ASSERT_TRUE(steep && steep->inner);
    EXPECT_LE(std::abs(steep->inner->left - steep->outer.left), 2.0 * std::max(space() / 5, 2));
}

TEST_F(Ties, DashedCurvesAreOneStyledArcAndInvertedArcsRunTheOtherWayInTheMetafileOnly) {
    dc.outputMode = OutputMode::Metafile;
    dc.exportRegion = dc.visibleRegion = {0, 0, 2100, 2970};
    load("[\\tie(d2 d)]");
    at(1).x = x(0) + 300;
    at(1).w0().setCurveStyle(1);
    draw();
    ASSERT_EQ(count("arc"), 1u);
    EXPECT_EQ(calls("arc")[0]["pen"]["style"], "dash");
    dc.curves.invertArcs = true;
    canvas.clear();
    DrawArcCurve(dc, Curve(500, 1000, 800, 1000), 0);
    const json metafile = calls("arc").at(0);
    dc.outputMode = OutputMode::Normal;
    canvas.clear();
    DrawArcCurve(dc, Curve(500, 1000, 800, 1000), 0);
    EXPECT_EQ(std::pair(metafile["start"], metafile["end"]),
              std::pair(calls("arc")[0]["end"], calls("arc")[0]["start"]));
}

class CurveSigns : public Notes {
protected:
    // A curve sign of `type` at x on staff 0 with its four points, drawn alone.
    int sign(SignType type, int at, const CurvePoints& points, unsigned style = 0) {
        doc.currentStaff = 0;
        doc.currentElement = static_cast<int>(staff().elements.size()) - 1;
        ElementRecord* e = CreateSign(doc, at, 0, 0, type, 0, EncodeCurvePoints(points));
        EXPECT_NE(e, nullptr);
        e->signWord().setHigh7(style);
        const int index = static_cast<int>(e - staff().elements.data());
        canvas.clear();
        DrawSign(dc, staff(), index);
        return index;
    }
    int r() const { return top() + 4 * space(); }  // the reference height the points count from
    static json P(int px, int py) { return json::array({px, py}); }
};

TEST_F(CurveSigns, PointsSurviveTheirBlobAndADamagedBlobDrawsNothing) {
    const CurvePoints points{{{-5, 7}, {100000, -100000}, {0, 0}, {-2147483647 - 1, 2147483647}}};
    const auto bytes = EncodeCurvePoints(points);
    EXPECT_EQ(DecodeCurvePoints(bytes), points);
    EXPECT_EQ(DecodeCurvePoints(std::span(bytes).first(31)), std::nullopt);
    doc.currentStaff = 0;
    doc.currentElement = -1;
    ElementRecord* e = CreateSign(doc, 500, 0, 0, SignType::Curve, 0);
    ASSERT_NE(e, nullptr);
    const std::array<std::uint8_t, 12> shortBlob{};  // as a damaged file may hold it
    e->attachBlob(shortBlob);
    draw();
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(CurveSigns, HairpinsOpenEitherWayInTheFontsThicknessBracketsAreOpenLinesAndFreeTiesCurveToTheirThirdPoint) {
    sign(SignType::Hairpin, 500, {{{0, -100}, {300, -80}, {300, -120}, {0, 0}}});  // a crescendo
    const auto crescendo = calls("polyline").at(0);
    EXPECT_EQ(crescendo["points"], json::array({P(800, r() - 80), P(500, r() - 100), P(800, r() - 120)}));
    EXPECT_EQ(std::pair(crescendo["pen"]["style"], crescendo["pen"]["width"]), std::pair(json("solid"), json(3)));
    sign(SignType::Hairpin, 500, {{{300, -100}, {0, -80}, {0, -120}, {0, 0}}});  // a diminuendo
    EXPECT_EQ(calls("polyline").at(0)["points"], json::array({P(500, r() - 80), P(800, r() - 100), P(500, r() - 120)}));
    sign(SignType::Bracket, 400, {{{0, 100}, {0, 120}, {500, 120}, {500, 100}}});
    EXPECT_EQ(calls("polyline").at(0)["points"],
              json::array({P(400, r() + 100), P(400, r() + 120), P(900, r() + 120), P(900, r() + 100)}));
    sign(SignType::Hairpin, 500, {{{0, 0}, {300, 20}, {300, -20}, {0, 0}}}, 2);  // styled: thin, in its style
    const json pen = calls("polyline").at(0)["pen"];
    EXPECT_EQ(std::pair(pen["style"], pen["width"]), std::pair(json("dot"), json(0)));
    for (int dy : {40, -40}) {  // a free tie curves towards its third point
        sign(SignType::FreeTie, 500, {{{0, 0}, {150, dy}, {0, 0}, {300, 0}}});
        ASSERT_EQ(count("arc"), 2u);
        EXPECT_EQ(Above(calls("arc")[0]), dy > 0);
    }
}

TEST_F(CurveSigns, AManipulableCurveIsTwoStrokesOnScreenAndOneShapeOnThePrinter) {
    const int i = sign(SignType::Curve, 500, {{{0, 0}, {100, 80}, {300, 80}, {400, 0}}});
    const auto strokes = calls("bezier");
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0]["points"], json::array({P(500, r()), P(600, r() + 80), P(800, r() + 80), P(900, r())}));
    // The inner edge keeps the ends and comes towards the line between them by the thickness.
    EXPECT_EQ(strokes[1]["points"][0], P(500, r()));
    EXPECT_EQ(strokes[1]["points"][3], P(900, r()));
    EXPECT_EQ(strokes[1]["points"][1][1].get<int>(), r() + 80 - (4 * (space() / 5) + 1) / 3);
    RecordingCanvas printer(CanvasKind::Printer);
    dc.canvas = &printer;
    DrawSign(dc, staff(), i);
    ASSERT_EQ(printer.calls().size(), 1u);
    EXPECT_EQ(std::pair(printer.calls()[0]["op"], printer.calls()[0]["fill"]), std::pair(json("polygon"), json(0)));
}

class OctaveLines : public Notes {
protected:
    // The notes of `gmn` with their octave-line codes, their lines drawn.
    void lines(std::string_view gmn, std::vector<unsigned> codes) {
        load(gmn);
        for (std::size_t k = 0; k < codes.size(); ++k) at(k).w1().setOctaveShift(codes[k]);
        canvas.clear();
        DrawOctaveLines(dc, staff());
    }
    Rows styled(const char* style) const {
        Rows out;
        for (const json& c : calls("line"))
            if (c["pen"]["style"] == style)
                out.push_back({c["x1"].get<int>(), c["x2"].get<int>(), c["y1"].get<int>(), c["y2"].get<int>()});
        return out;
    }
    std::vector<json> labels() const {
        std::vector<json> out;
        for (const json& c : calls("glyphRun")) out.push_back(c["codePoints"][0]);
        return out;
    }
};

TEST_F(OctaveLines, AnOttavaRunsAboveWithItsHookDownAQuindicesimaClearsItsHighestNoteAndABassaRunsBelow) {
    lines("[g1 c2 g1]", {1, 1, 1});
    EXPECT_EQ(labels(), std::vector<json>{0xE511});
    Rows dashes = styled("dash"), hooks = styled("solid");
    ASSERT_EQ(std::pair(dashes.size(), hooks.size()), Counts(1, 1));
    EXPECT_GT(dashes[0][0], x(0));
    EXPECT_GT(dashes[0][2], top());
    EXPECT_EQ(dashes[0][1], x(2) + 2 * half());
    EXPECT_EQ((std::vector{hooks[0][0], hooks[0][3]}), (std::vector{x(2) + 2 * half(), dashes[0][2] - space()}));
    lines("[g1 c4 g1]", {2, 2, 2});  // C7, eleven steps above the top line, stem down
    EXPECT_EQ(labels(), std::vector<json>{0xE515});
    EXPECT_GE(styled("dash").at(0)[2], top() + 11 * half() + space());
    lines("[g1 g1]", {3, 3});
    EXPECT_EQ(labels(), std::vector<json>{0xE51C});
    dashes = styled("dash");
    EXPECT_LT(dashes.at(0)[2], bottom());
    EXPECT_EQ(styled("solid").at(0)[3], dashes[0][2] + space());
}

// A tie rises over its notes by a space or so: the line clears one on its side and stays where it was for one on the
// other side (with automatic stems, the side away from the stems).
TEST_F(OctaveLines, ATieOnTheLinesSideLiftsItByItsHeightOnlyOneOnTheOtherSideDoesNot) {
    const auto lineY = [this](std::string_view gmn) {
        lines(gmn, {1, 1});
        return styled("dash").at(0)[2];
    };
    EXPECT_EQ(lineY("[\\tie(g1 g1)]"), lineY("[g1 g1]"));  // stems up, the tie under the heads
    const int untied = lineY("[c3 c3]");
    const int tied = lineY("[\\tie(c3 c3)]");  // stems down, the tie over the heads
    EXPECT_GT(tied, untied);
    EXPECT_LE(tied, untied + 2 * space());
}

TEST_F(OctaveLines, ANoteWithoutTheCodeEndsTheLineRestsPassUnderAndTheLabelSignStartsIt) {
    lines("[g1 _ g1 g1 g1]", {1, 0, 1, 0, 1});
    // The first three (the rest does not break it), then the single note, too short for more than its label.
    ASSERT_EQ(styled("dash").size(), 1u);
    EXPECT_EQ(styled("dash")[0][1], x(2) + 2 * half());
    EXPECT_EQ(labels().size(), 2u);
    lines("[g1 g1]", {0, 6});  // no code, an unknown one
    EXPECT_TRUE(canvas.calls().empty());
    doc.currentElement = -1;
    const std::array<std::uint8_t, 4> text{'B', 'v', 'a', ' '};
    ElementRecord* label = CreateSign(doc, x(0) - 50, 0, 0, SignType::Text, 3, text);
    ASSERT_NE(label, nullptr);
    for (std::size_t k = 0; k < 3; ++k) at(k).w1().setOctaveShift(1);
    DrawOctaveLines(dc, staff());
    ASSERT_EQ(labels().size(), 1u);
    EXPECT_NEAR(calls("glyphRun")[0]["x"].get<int>(), x(0), half());  // at the label sign
}

constexpr int X = 400;

// Signs: drawn as the page pass draws a staff, each staff's clef state rebuilt from its clef signs.
class Signs : public Notes {
protected:
    void load(std::string_view gmn) {
        Notes::load(gmn);
        dc.corrections.screen = 0;
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
    void draw(int i = 0) {
        canvas.clear();
        dc.staves[static_cast<std::size_t>(i)].clefs.clear();
        BeginStaff(dc, staff(i), i);
        for (int e = 0; e < static_cast<int>(staff(i).elements.size()); ++e) DrawElement(dc, staff(i), e);
    }
    std::vector<int> field(const std::string& op, const char* name) const {
        std::vector<int> out;
        for (const auto& row : rows(op, {name})) out.push_back(row[0]);
        return out;
    }
    int reference(int i = 0) const { return static_cast<int>(dc.staves[static_cast<std::size_t>(i)].referenceY); }
    // The lines of staff i's five-line staff, 0 the top one, and heights in half spaces above the bottom one.
    int line(int fromTop, int i = 0) const { return reference(i) - 80 - fromTop * 20; }
    int level(int halves) const { return line(4) + halves * 10; }
    // The vertical run of the first bar line: top and bottom.
    std::pair<int, int> run() const {
        const json v = calls("vline").at(0);
        return {std::max(v["y1"].get<int>(), v["y2"].get<int>()), std::min(v["y1"].get<int>(), v["y2"].get<int>())};
    }
    // The step between neighbouring key accidentals: an accidental's width and a small gap.
    int keyAdvance(const json& first, const json& second) const {
        const int advance = second["x"].get<int>() - first["x"].get<int>();
        EXPECT_GT(advance, dc.widths.accidentalWidth[0][0]);
        EXPECT_LE(advance, dc.widths.accidentalWidth[0][0] + 6);
        return advance;
    }
};

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
                  std::tuple(codes[clef - 1], X - 2 * su(), level(halves[clef - 1])))
            << clef;
        EXPECT_EQ(ClefValueAt(dc.staves, 0, X), ClefValueOfClef(clef));
        EXPECT_EQ(ClefValueAt(dc.staves, 0, X - 1), 0);
    }
    DrawElement(dc, staff(), 0);  // a clef drawn twice in a pass is entered once
    EXPECT_EQ(dc.staves[0].clefs.count(), 1);
}

TEST_F(Signs, HiddenClefsAndPassesWithoutCanvasOnlySetTheClefStateAndSixLineStavesKeepTheLineFromTheBottom) {
    sign(X, 3, SignType::Clef).w0().setHidden(true);
    draw();
    EXPECT_TRUE(calls("glyph").empty());
    EXPECT_EQ(ClefValueAt(dc.staves, 0, X), 10);
    dc.canvas = nullptr;
    dc.staves[0].clefs.clear();
    draw();
    EXPECT_EQ(ClefValueAt(dc.staves, 0, X + 100), 10);
    dc.canvas = &canvas;
    dc.draw.showHidden = true;
    dc.staves[0].lines = 6;
    draw();
    // Two spaces below the top line: the fourth from the bottom.
    EXPECT_EQ(field("glyph", "y"), (std::vector{line(2)}));
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

TEST_F(Signs, TheLineStartKeyStandsAFixedGapAfterItsClefsInkAndReportsWhereNotesMayStart) {
    struct Case {
        const char* gmn;
        int clefX;  // the line's clef moved there (0: where the reading put it)
        const char* clefGlyph;
        bool cue, old;
    };
    const Case cases[] = {
        {"[\\clef<\"g\"> \\key<2>]", 0, "gClef", false, false},
        {"[\\clef<\"g\"> \\key<2>]", 60, "gClef", false, false},  // where a new staff's first element goes
        {"[\\clef<\"f\"> \\key<-3>]", 120, "fClef", false, false},
        {"[\\clef<\"c\"> \\key<1>]", 60, "cClef", true, false},
        {"[\\clef<\"g\"> \\key<-1>]", 60, "mensuralGclef", false, true},
    };
    for (const Case& c : cases) {
        load(c.gmn);
        if (c.clefX != 0) at(0).x = c.clefX;
        at(0).w0().setCueSize(c.cue);
        staff().key().setOldNotation(c.old);
        draw();
        canvas.clear();
        const int end = DrawStaffKeySignature(dc, staff(), 0);
        const auto g = calls("glyph");
        ASSERT_FALSE(g.empty()) << c.gmn;
        const double clefSpace = c.cue ? space() * 0.75 : space();
        const double ink = at(0).x - 2 * su() + (c.cue ? su() : 0) +
                           dc.musicFont->metadata().box(c.clefGlyph)->ne.x * clefSpace;
        EXPECT_NEAR(g[0]["x"].get<int>() - ink, 0.8 * space(), 1) << c.gmn << " " << c.clefX;
        if (g.size() > 1) {
            EXPECT_EQ(end, g[0]["x"].get<int>() + int(g.size()) * keyAdvance(g[0], g[1]) + 6 * su());
        }
    }
    // Without a clef on its line the key begins 8 step units in, 9 on an old-notation line.
    for (bool old : {false, true}) {
        load("[\\key<-1>]");
        staff().elements.clear();
        staff().key().setOldNotation(old);
        canvas.clear();
        DrawStaffKeySignature(dc, staff(), 0);
        EXPECT_EQ(field("glyph", "x"), (std::vector{100 + (old ? 9 : 8) * su()}));
    }
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
    EXPECT_EQ(field("glyph", "y"), (std::vector{level(2), level(5), level(9), line(0)}));
    EXPECT_EQ(g[3]["x"], X + 2 * keyAdvance(g[1], g[2]));

    load("[\\clef<\"f\">]");  // sharps to flats after an earlier key change: every sharp cancelled
    sign(300, 2, SignType::KeyChange, 1);
    sign(X, 1, SignType::KeyChange, 2);
    draw();
    canvas.clear();
    DrawKeyChange(dc, staff(), 2);
    EXPECT_EQ(field("glyph", "code"), (std::vector{212, 212, 213}));
    EXPECT_EQ(field("glyph", "y"), (std::vector{line(1), level(3), level(2)}));  // F, C, then B

    // A cancelling key change is drawn as the naturals of the key it names: nothing is left to cancel after it.
    load("[\\clef<\"g\"> \\key<2>]");
    sign(X, 2, SignType::KeyChange, 1).signWord().setFlag16(true);
    sign(X + 200, 1, SignType::KeyChange, 2);
    draw();
    EXPECT_EQ(field("glyph", "code"), (std::vector{207, 212, 212, 213}));
    EXPECT_EQ(field("glyph", "y")[1], line(0));
}

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
    const Case cases[] = {{'|', {3}, 0, false, false},     {'D', {3, 3}, 1, false, false},
                          {'E', {3, 10}, 1, false, false}, {'F', {3, 10}, 1, true, false},
                          {'O', {10, 3}, 0, false, true},  {'I', {10, 3}, 0, false, false},
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
        for (const json& d : dots)
            EXPECT_EQ(std::pair(d["code"].get<int>(), d["y"].get<int>()), std::pair(90, line(2)));
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
    const std::pair<int, int> reaches[] = {
        {line(0, 0), line(4, 0)}, {line(0, 0), line(4, 2)}, {line(4, 0), line(0, 1)}};
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
    // A staff superposed on it is passed over: the bar joins down to the next staff below.
    auto& superposed = dc.staves[1];
    const auto placed = std::pair(superposed.referenceY, superposed.topLine);
    std::tie(superposed.referenceY, superposed.topLine) = std::pair(dc.staves[0].referenceY, dc.staves[0].topLine);
    draw(0);
    EXPECT_EQ(run(), std::pair(line(0, 0), line(0, 2)));
    // Its own bar keeps to its staff: the bar of the staff it stands on joins down already.
    sign(X, '|', SignType::Bar, 0, 1);
    draw(1);
    EXPECT_EQ(run(), std::pair(line(0, 0), line(4, 0)));
    std::tie(superposed.referenceY, superposed.topLine) = placed;
    // A repeat dots every staff its strokes run across, each in its own size: its own, the whole group, none for a
    // stroke between two staves.
    own.signWord().setCode('O');
    dc.staves[1].small = true;
    const int smallMiddle = reference(1) - 64 - 2 * 16;
    const std::vector<int> dotted[] = {{line(2, 0)}, {line(2, 0)}, {line(2, 0), smallMiddle, line(2, 2)}, {}};
    for (unsigned reach = 0; reach <= 3; ++reach) {
        own.signWord().setPairA(reach);
        draw(0);
        EXPECT_EQ(field("glyph", "y"), dotted[reach]) << reach;
        if (reach == 2) {
            EXPECT_EQ(field("glyph", "fontHeight"), (std::vector{160, 128, 160}));
        }
    }
}

TEST_F(Signs, ABraceJoinsItsStaffToTheOneThatManyBelowScaledToTheirHeight) {
    sign(50, 1, SignType::Bar);
    draw();
    const auto braces = calls("brace");
    ASSERT_EQ(braces.size(), 1u);
    EXPECT_EQ(std::tuple(braces[0]["x1"].get<int>(), braces[0]["y1"].get<int>(), braces[0]["y2"].get<int>()),
              std::tuple(50, line(0, 0), line(4, 1)));
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 1u);
    // Its ink spans the two staves, an em being four staff spaces.
    const auto cp = runs[0]["codePoints"][0].get<std::uint32_t>();
    const MusicGlyph* g = nullptr;
    for (auto which : {StructuralGlyph::Brace, StructuralGlyph::BraceLarge, StructuralGlyph::BraceLarger})
        if (const MusicGlyph* b = dc.musicFont->structural(which); b && b->codePoint == cp) g = b;
    ASSERT_NE(g, nullptr) << cp;
    EXPECT_NEAR(runs[0]["em"].get<double>() / 4 * g->box.height(), line(0, 0) - line(4, 1), 1.0);
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
    EXPECT_EQ(brackets[0]["width"], 10);  // the font's bracket thickness, half a space
    EXPECT_EQ(rows("vline", {"x", "width"}), (Rows{{45, 10}}));
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(std::pair(runs[0]["codePoints"][0], runs[0]["y"]), std::pair(json(0xE003), json(line(0, 0))));
    EXPECT_EQ(std::pair(runs[1]["codePoints"][0], runs[1]["y"]), std::pair(json(0xE004), json(line(4, 2))));
}

class TimeSignatures : public Signs {
protected:
    ElementRecord& meter(unsigned num, unsigned den, unsigned flags, unsigned sub = 0) {
        load("[]");
        doc.insertion.timeSigNum = num;
        doc.insertion.timeSigDen = den;
        return sign(X, static_cast<int>(flags), SignType::TimeSignature, sub);
    }
};

TEST_F(TimeSignatures, NumbersStandCentredOnTheMiddleAndBottomLinesWithTheirDigitsClearOfEachOther) {
    struct Case {
        unsigned num, den;
        int centre;  // two-digit numbers move both two step units right
    };
    for (const Case& c : {Case{3, 4, X}, Case{12, 8, X + 20}, Case{6, 16, X + 20}, Case{11, 0, X + 20}}) {
        meter(c.num, c.den, 1);
        const int end = DrawTimeSignature(dc, staff(), 0);
        draw();
        const auto digits = calls("glyph");
        const std::string text = std::to_string(c.num) + (c.den ? std::to_string(c.den) : "");
        ASSERT_EQ(digits.size(), text.size());
        int right = 0;
        for (std::size_t i = 0, first = 0; i < digits.size(); ++i) {
            const bool inNumerator = i < std::to_string(c.num).size();
            EXPECT_EQ(digits[i]["code"], text[i]);
            // The numerator on the middle line (alone: on the second line), the denominator on the bottom one.
            EXPECT_EQ(digits[i]["y"], inNumerator ? (c.den ? line(2) : line(3)) : line(4));
            const MusicGlyph* g = dc.musicFont->glyph(text[i]);
            const int x = digits[i]["x"].get<int>(), advance = static_cast<int>(std::lround(g->advance * space()));
            const bool last = i + 1 == digits.size() || (inNumerator && i + 1 == std::to_string(c.num).size());
            if (i > first) {
                const MusicGlyph* before = dc.musicFont->glyph(text[i - 1]);
                const int previous = digits[i - 1]["x"].get<int>();
                EXPECT_GE(x - previous, std::lround(before->advance * space()));
                EXPECT_GE((x + g->box.sw.x * space()) - (previous + before->box.ne.x * space()), space() / 4 - 1);
            }
            if (last) {
                EXPECT_NEAR((digits[first]["x"].get<int>() + x + advance) / 2.0, c.centre, 1) << c.num << "/" << c.den;
                right = std::max(right, x + advance);
                first = i + 1;
            }
        }
        EXPECT_NEAR(end, right + 6 * su(), 1);  // where the next element may start
    }
    for (auto [sub, code] : {std::pair{0u, 140}, {1u, 129}}) {  // common and cut time stand on the second line
        meter(1, 1, 64, sub);
        draw();
        EXPECT_EQ(rows("glyphText", {"y"}), (Rows{{line(3)}}));
        EXPECT_EQ(calls("glyphText")[0]["codes"], json::array({code}));
    }
}

TEST_F(TimeSignatures, EachFormSetsItsPlaybackProportionHiddenOrNot) {
    struct Case {
        unsigned flags, sub, num, den;
        PlaybackProportion expected;
    };
    const Case cases[] = {{64, 0, 1, 1, {4, 4}},         {64, 1, 1, 1, {2, 2}},     {64, 2, 1, 1, {2, 2}},
                          {64, 3, 1, 1, {3, 2}},         {64, 4, 1, 1, {4, 2}},     {64, 5, 1, 1, {6, 2}},
                          {64, 6, 1, 1, {1, 1}},         {32, 0, 1, 1, {2, 2}},     {16, 0, 1, 1, {2, 2}},
                          {8, 0, 1, 1, {4, 2}},          {16 | 4, 0, 1, 1, {2, 1}}, {32 | 2, 0, 1, 1, {9, 4}},
                          {1, 0, 6, 8, {6, 8}},          {1, 0, 0, 0, {1, 1}},      {0, 0, 5, 4, {1, 1}},
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

TEST_F(Signs, FreeAccidentalsDotsAndParenthesesSitOnTheirPitchUnderTheClefOfTheStaffTheyArePlacedOn) {
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
    load("{[\\clef<\"g\">], [\\clef<\"f\">]}");
    sign(X, 4, SignType::FreeAccidental, 1).w0().setCrossStaff(2);  // an F4 sharp, on the bass staff's place
    draw(1);
    draw(0);
    EXPECT_EQ(calls("glyph").back()["y"], reference(1) + PitchToOffset(4, 4, 10, 10));
}

TEST_F(Signs, HiddenSignsAppearOnlyWhileHiddenElementsAreShownAndLayersDrawTheirOwn) {
    sign(X, '|', SignType::Bar).w0().setHidden(true);
    sign(X + 100, 2, SignType::KeyChange, 1).w0().setHidden(true);
    doc.currentElement = 1;
    for (SignType t : {SignType::Drawing, SignType::Picture})
        ASSERT_NE(CreateSign(doc, X + 200, 0, 0, t, 0, std::vector<std::uint8_t>{'a', 'b'}), nullptr);
    draw();
    EXPECT_TRUE(canvas.calls().empty());
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(calls("vline").size(), 1u);
    EXPECT_EQ(calls("glyph").size(), 2u);
    canvas.clear();  // indices outside the staff and staves the pass has not placed draw nothing
    for (int i : {-1, 5}) DrawElement(dc, staff(), i);
    dc.staves.clear();
    DrawElement(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace notavera
