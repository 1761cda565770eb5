// Notes and what hangs on them, drawn through the recording canvas: heads, ledger lines, stems and flags,
// accidentals, dots, articulations, rests, chords and their arrangement in the staff, beams, tuplet marks, ties
// and slurs, curve signs and octave lines.
#include "render/draw_notes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/headless/recording_canvas.h"
#include "render/accidentals_and_dots.h"
#include "render/arc_curve.h"
#include "render/arrange_notes.h"
#include "render/beams.h"
#include "render/chords.h"
#include "render/curve_signs.h"
#include "render/document_drawing_settings.h"
#include "render/draw_signs.h"
#include "render/geometry.h"
#include "render/music_font_table.h"
#include "render/note_geometry.h"
#include "render/octave_lines.h"
#include "render/primitives.h"
#include "render/ties.h"
#include "render/tuplet_marks.h"
#include "score/element_creation.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

using nlohmann::json;

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
    ChordRun chord(int x, std::initializer_list<std::pair<unsigned, unsigned>> members, unsigned duration = 4,
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
    // Draws every element of staff i in order, as the pass does, after clearing the canvas.
    void draw(int i = 0) {
        canvas.clear();
        dc.pendingCurve.reset();
        for (int k = 0; k < static_cast<int>(staff(i).elements.size()); ++k) {
            if (staff(i).elements[static_cast<std::size_t>(k)].isSign()) DrawSign(dc, staff(i), k);
            else DrawNoteOrRest(dc, staff(i), k);
        }
    }
    std::vector<json> calls(const std::string& op) const {
        std::vector<json> out;
        for (const json& c : canvas.calls())
            if (c["op"] == op) out.push_back(c);
        return out;
    }
    std::vector<json> glyphs(int code) const {
        std::vector<json> out;
        for (const json& g : calls("glyph"))
            if (g["code"] == code) out.push_back(g);
        return out;
    }
    static std::vector<int> ints(const std::vector<json>& v, const char* field) {
        std::vector<int> out;
        for (const json& c : v) out.push_back(c[field].get<int>());
        return out;
    }
    int top(int i = 0) const { return dc.staves[static_cast<std::size_t>(i)].topLine; }
    int bottom(int i = 0) const { return top(i) - 4 * space(); }
    int middle(int i = 0) const { return top(i) - 2 * space(); }
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

// ---- Heads, ledger lines, stems and flags ----

TEST_F(Notes, HeadsSitOnTheirLinesWithTheFontsLedgerLinesUnderTrebleAndBassClefs) {
    load("[c1 g1]");
    draw();
    ASSERT_EQ(glyphs(204).size(), 2u);
    EXPECT_EQ(glyphs(204)[0]["y"], bottom() - space());  // middle C on the first ledger line below
    const auto ledgers = calls("hline");
    ASSERT_EQ(ledgers.size(), 1u);
    EXPECT_EQ(ledgers[0]["y1"], bottom() - space());
    EXPECT_EQ(ledgers[0]["width"], dc.thickness.staffLine + 1);
    const int extension = static_cast<int>(0.4 * space());  // the font's, beyond the head
    EXPECT_NEAR(ledgers[0]["x1"].get<int>(), x(0) - headHalf() - extension, 1);
    EXPECT_NEAR(ledgers[0]["x2"].get<int>(), x(0) + headHalf() + extension, 1);
    // At the default corrections the glyph is written exactly on its line.
    EXPECT_EQ(calls("glyphRun")[1]["y"], bottom() + space());
    EXPECT_EQ(calls("glyphRun")[1]["x"], x(1) - headHalf());
    setClef(0, BassClef);
    draw();
    EXPECT_EQ(glyphs(204)[0]["y"], top() + space());  // on the first ledger line above
    EXPECT_EQ(calls("hline")[0]["y1"], top() + space());
}

TEST_F(Notes, LedgerLinesAboveRunFromTheHeadsLineTowardsTheStaff) {
    load("[b2 c3 g2 e3]");  // one, two, none, three
    draw();
    std::vector<int> perNote(4, 0);
    for (const json& l : calls("hline")) {
        const int centre = (l["x1"].get<int>() + l["x2"].get<int>()) / 2;
        for (std::size_t k = 0; k < 4; ++k) perNote[k] += centre == x(k);
        EXPECT_EQ((l["y1"].get<int>() - top()) % space(), 0);
        EXPECT_GT(l["y1"].get<int>(), top());
    }
    EXPECT_EQ(perNote, (std::vector{1, 2, 0, 3}));
    EXPECT_EQ(calls("hline")[3]["y1"], top() + 3 * space());  // E6 draws from its own line down
    EXPECT_EQ(calls("hline")[5]["y1"], top() + space());
}

TEST_F(Notes, ASixteenthsUpStemIsSevenHalfSpacesAndASpaceLongWithTwoFlagsAtTheFontsAnchors) {
    load("[g1/16]");
    draw();
    const int y = bottom() + space();
    const auto stems = calls("vline");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0]["y1"], y + anchor(204, "stemUpSE", true));
    EXPECT_EQ(stems[0]["y2"], y + 7 * half() + space());
    EXPECT_EQ(stems[0]["width"], dc.thickness.stem);
    // The stem's right edge is where the font joins it to the head.
    EXPECT_EQ(stems[0]["x"].get<int>() + dc.thickness.stem / 2, x(0) - headHalf() + anchor(204, "stemUpSE", false));
    const auto flags = glyphs(205);
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(flags[0]["y"].get<int>() - flags[1]["y"].get<int>(), space());
    EXPECT_EQ(flags[0]["x"], stems[0]["x"].get<int>() - dc.thickness.stem / 2);
    EXPECT_EQ(flags[0]["y"], y + 7 * half() + space() - anchor(205, "stemUpNW", true));
}

TEST_F(Notes, AnEighthAboveTheMiddleLineHangsItsFlagFromADownStemOnTheLeft) {
    load("[e2/8]");
    draw();
    const auto stems = calls("vline");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0]["x"].get<int>() - (dc.thickness.stem + 1) / 2, x(0) - headHalf());
    EXPECT_EQ(stems[0]["y2"], top() - half() - 7 * half());
    EXPECT_EQ(glyphs(206).size(), 1u);
    EXPECT_TRUE(glyphs(205).empty());
}

TEST_F(Notes, StemsFollowTheMiddleLineOrTheNotesOwnFlagAndReachTheMiddleLineFromAfar) {
    load("[a1 b1 a1 b1 c3]");
    at(2).noteWord().setStemAutomatic(false);  // fixed, stem-up flag clear: down
    at(3).noteWord().setStemAutomatic(false);
    at(3).noteWord().setStemFlag(true);
    draw();
    const auto stems = calls("vline");
    ASSERT_EQ(stems.size(), 5u);
    const std::vector<bool> up{true, false, false, true, false};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(stems[i]["y2"].get<int>() > stems[i]["y1"].get<int>(), up[i]) << i;
    EXPECT_EQ(stems[4]["y2"], middle());  // C6, two ledger lines above: an automatic stem reaches the middle line
    at(4).noteWord().setStemAutomatic(false);
    draw();
    EXPECT_EQ(calls("vline")[4]["y2"], top() + 2 * space() - 7 * half());
}

TEST_F(Notes, StemCorrectionsAndAHeadOnTheOtherSideOfItsStem) {
    load("[g1 g1 g1]");
    const std::uint8_t payload[] = {15, 0};
    at(1).attachBlob(payload);  // a manual correction lengthens the stem
    at(2).noteWord().setBit(20, true);  // the head on the other side of its up stem: to the right
    draw();
    const int stemX = calls("vline")[0]["x"], headX = glyphs(204)[0]["x"];
    EXPECT_EQ(calls("vline")[1]["y2"], bottom() + space() + 7 * half() + 15);
    EXPECT_EQ(glyphs(204)[2]["x"], x(2) - headHalf() + 2 * headHalf());
    EXPECT_LT(calls("vline")[2]["x"].get<int>(), x(2) + headHalf());  // the stem stays where the head was
    dc.corrections.stemPosition = 6;  // moves the stem into the head
    draw();
    const int d = headHalf() * 4 / 20;
    EXPECT_EQ(glyphs(204)[0]["x"], headX + d);
    EXPECT_EQ(calls("vline")[0]["x"], stemX - d);
}

TEST_F(Notes, HeadsOfEveryValueAndShapeAndBrevesAndLongasDrawnAsBands) {
    load("[g1/1 g/2 g/4 g g/1 g/4 g g/4]");
    at(2).noteWord().setBit(16, true);  // an open-headed quarter: 203
    at(3).noteWord().setHeadShape(3);   // a cross: 252
    at(4).noteWord().setBit(5, true);   // a whole note with the value shift: 202
    at(5).noteWord().setBit(5, true);   // a quarter drawn as an eighth
    at(6).noteWord().setHeadShape(7);   // "Sans Queue": a normal head, no stem
    at(7).noteWord().setDurationCode(1);  // a breve, and a longa
    note(x(7) + 300, 5, 4, 0);
    draw();
    EXPECT_EQ((std::vector{glyphs(201).size(), glyphs(203).size(), glyphs(252).size(), glyphs(202).size(),
                           glyphs(205).size(), glyphs(204).size()}),
              (std::vector<std::size_t>{1, 2, 1, 1, 1, 2}));
    EXPECT_EQ(glyphs(201)[0]["x"], x(0) - GlyphAdvance(dc, 201) / 2);  // the whole note's head is centred
    const int y = bottom() + space(), w = dc.widths.breveHalfWidth[0];
    const auto bands = calls("band");
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[0]["x1"], x(7) - w);
    EXPECT_EQ(bands[0]["x2"], x(7) + w);
    EXPECT_EQ(bands[0]["y1"].get<int>() + bands[0]["t"].get<int>(), y + half());
    EXPECT_EQ(bands[1]["y1"], y - half());
    EXPECT_EQ(bands[0]["t"], dc.thickness.beam / 2);
    const auto strokes = calls("vline");
    ASSERT_EQ(strokes.size(), 4u + 4u);  // four stems, the breve's and the longa's side strokes
    const int reach = half() + static_cast<int>(dc.metrics.quarterSpace[0]);
    EXPECT_EQ(strokes[5]["y1"], y - reach);
    EXPECT_EQ(strokes[5]["y2"], y + reach);
    // The longa's right stroke goes on, up like a stem from below the middle line.
    EXPECT_EQ(strokes[7]["x"], x(8) + w);
    EXPECT_EQ(strokes[7]["y2"], y + 7 * half());
}

// ---- Accidentals, dots and articulations ----

TEST_F(Notes, EachAccidentalWritesItsGlyphsLeftOfTheHead) {
    const std::pair<Accidental, std::vector<int>> kinds[] = {
        {Accidental::Sharp, {211}},        {Accidental::Flat, {213}},        {Accidental::Natural, {212}},
        {Accidental::DoubleSharp, {214}},  {Accidental::QuarterSharp, {244}}, {Accidental::QuarterFlat, {246}},
        {Accidental::DoubleFlat, {213, 213}}};
    for (const auto& [accidental, codes] : kinds) {
        load("[]");
        note(500, 7, 4, 4, AutoStem, accidental);
        draw();
        const auto g = calls("glyph");
        ASSERT_EQ(g.size(), codes.size() + 1) << codes[0];
        EXPECT_EQ(ints(std::vector<json>(g.begin() + 1, g.end()), "code"), codes);
    }
    // The double flat's second flat stands a flat's width further left; the first keeps the clearance.
    const auto flats = glyphs(213);
    const int first = 500 - headHalf() - dc.widths.accidentalWidth[0][0] - AccidentalClearance(dc, 0, false);
    EXPECT_EQ(ints(flats, "x"), (std::vector{first, first - GlyphWidth(dc, 213)}));
    EXPECT_EQ(flats[0]["y"], middle());
    at(0).noteWord().setHiddenAccidental(true);  // one the context supplies
    draw();
    EXPECT_TRUE(glyphs(213).empty());
    canvas.clear();
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, 0);  // kinds out of range draw nothing
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, 8);
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Dots, 2);
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(Notes, DotsOnALineOrALedgerLineGoIntoTheSpaceAboveAndClearWholeNotesAndUpFlags) {
    load("[g1/4. a1/4.. c1/4. c3/4. g1/1. g1/16. g1/8.]");
    draw();
    const auto dots = calls("disc");
    ASSERT_EQ(dots.size(), 8u);
    EXPECT_EQ(ints(dots, "y"), (std::vector{bottom() + space() + half(), bottom() + space() + half(),
                                            bottom() + space() + half(), bottom() - space() + half(),
                                            top() + 2 * space() + half(), bottom() + space() + half(),
                                            bottom() + space() + half(), bottom() + space() + half()}));
    EXPECT_EQ(dots[0]["x"], x(0) + 5 * su() / 2);
    EXPECT_EQ(dots[2]["x"].get<int>() - dots[1]["x"].get<int>(), std::max(su(), 6));
    EXPECT_EQ(dots[0]["r"], 4);
    EXPECT_EQ(dots[5]["x"], x(4) + 7 * su() / 2);  // a whole note
    EXPECT_EQ(dots[6]["x"], x(5) + 7 * su() / 2);  // a sixteenth's up flag
    EXPECT_EQ(dots[7]["x"], x(6) + 5 * su() / 2);
    at(0).w0().setHiddenDots(true);
    draw();
    EXPECT_EQ(calls("disc").size(), 7u);
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(calls("disc").size(), 8u);
    SetStaffDefinition(dc, 6);
    EXPECT_EQ(DotRadius(dc), 2);  // never under two
}

TEST_F(Notes, ArticulationsSitOppositeTheStemOrAtItsEndAndBrevesCarryNone) {
    load("[g1 f1 b1 a1 a1 b1]");
    const std::pair<unsigned, bool> marks[] = {{1, false}, {6, false}, {3, false}, {5, true}, {1, false}, {2, false}};
    for (std::size_t k = 0; k < 6; ++k) {
        at(k).noteWord().setStaccato(true);
        at(k).noteWord().setAccentType(marks[k].first);
        at(k).noteWord().setStaccatoOtherSide(marks[k].second);
    }
    at(4).noteWord().setDurationCode(1);
    draw();
    // A staccato under G4: the line below is the bottom line, so the dot goes to the space under it.
    ASSERT_EQ(glyphs(107).size(), 1u);
    EXPECT_EQ(glyphs(107)[0]["y"], bottom() - half());
    // An accent at the end of F4's up stem, half a space beyond it.
    ASSERT_EQ(glyphs(62).size(), 2u);
    EXPECT_EQ(glyphs(62)[0]["y"], bottom() + half() + 7 * half() + half());
    EXPECT_EQ(glyphs(62)[1]["y"], middle() + space() + half());  // an accent is kept off the lines too
    // A wedge above B4's down stem: a line, so into the space above.
    ASSERT_EQ(glyphs(60).size(), 1u);
    EXPECT_EQ(glyphs(60)[0]["y"], middle() + space() + half());
    // The other side flag moves a marcato to the end of A4's up stem.
    ASSERT_EQ(glyphs(58).size(), 1u);
    EXPECT_GT(glyphs(58)[0]["y"].get<int>(), bottom() + space() + half() + 7 * half());
    EXPECT_TRUE(glyphs(59).empty());
}

// ---- Hidden, cue, old-notation and cross-staff notes ----

TEST_F(Notes, AHiddenNoteIsSkippedUnlessHiddenElementsAreShown) {
    load("[c#1]");
    at(0).w0().setHidden(true);
    draw();
    EXPECT_TRUE(canvas.calls().empty());
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ((std::vector{glyphs(204).size(), glyphs(211).size(), calls("vline").size(), calls("hline").size()}),
              (std::vector<std::size_t>{1, 1, 1, 1}));
}

TEST_F(Notes, CueNotesUseTheCueFontAndShorterStemsForThemselvesOnly) {
    load("[g1/8]");
    at(0).w0().setCueSize(true);
    draw();
    ASSERT_EQ(glyphs(204).size(), 1u);
    EXPECT_EQ(glyphs(204)[0]["fontHeight"], 120);
    EXPECT_EQ(glyphs(204)[0]["x"], x(0) - GlyphAdvance(dc, 204) * 3 / 4 / 2);
    EXPECT_EQ(glyphs(205)[0]["fontHeight"], 120);
    EXPECT_EQ(calls("vline")[0]["y2"], bottom() + space() + 5 * half());
    EXPECT_FALSE(dc.draw.isCueSize);
}

TEST_F(Notes, OldNotationLinesWriteTheAlternateFlatAndQuarterRestAndCentreTheirStems) {
    load("[b&1 _/4]");
    dc.draw.alternateGlyphs = true;
    draw();
    EXPECT_EQ(glyphs(233).size(), 1u);
    EXPECT_EQ(glyphs(235).size(), 1u);
    ASSERT_EQ(calls("vline").size(), 1u);
    EXPECT_EQ(calls("vline")[0]["x"], x(0));
    EXPECT_EQ(calls("vline")[0]["y1"], middle() - half());
}

TEST_F(Notes, ACrossStaffNoteIsDrawnOnTheNeighbourStaffWithItsClef) {
    load("[c1]");
    setClef(1, BassClef);
    at(0).w0().setCrossStaff(2);  // middle C placed on the bass staff below
    draw();
    EXPECT_EQ(glyphs(204).at(0)["y"], top(1) + space());
    at(0).w0().setCrossStaff(1);  // towards a staff the page does not have: stays on its own staff
    draw();
    EXPECT_EQ(glyphs(204).at(0)["y"], bottom() - space());
}

TEST_F(Notes, SignsIndicesOutsideTheStaffAndUnplacedStavesDrawNothing) {
    load("[g1 |]");
    canvas.clear();
    for (int i : {1, 2, -1}) DrawNoteOrRest(dc, staff(), i);
    dc.staves.clear();
    DrawNoteOrRest(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
}

// ---- Rests: their height is the line their half rest stands on ----

// Rests of the given values at E of `octave` (octave 0: where the editor puts them, under the clef written first).
class Rests : public Notes {
protected:
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
    ASSERT_EQ(glyphs(215).size(), 1u);
    EXPECT_EQ(glyphs(215)[0]["x"], x(0) - headHalf());
    EXPECT_EQ(glyphs(215)[0]["y"], bottom() + space());
    EXPECT_EQ(glyphs(218).size(), 1u);
    const auto bands = calls("band");
    ASSERT_EQ(bands.size(), 2u);
    // The whole rest hangs half a space from the line two spaces above its height, the half rest stands on the
    // line one space above it.
    EXPECT_EQ(bands[0]["y1"], bottom() + 2 * space() - half());
    EXPECT_EQ(bands[0]["t"], half());
    EXPECT_EQ(bands[1]["y1"], bottom() + space());
    EXPECT_EQ(bands[0]["x1"].get<int>() + bands[0]["x2"].get<int>(), 2 * x(2));
    EXPECT_TRUE(calls("hline").empty());
}

TEST_F(Rests, ABlockRestInASpaceGoesDownToTheLineAndOutsideTheStaffGetsALedgerStroke) {
    rests({2}, 5);  // E5, a space: the whole rest goes down to the line under it, D5
    rests({3}, 3);  // E3: far below; a half rest on its line gets a ledger stroke
    draw();
    const auto bands = calls("band");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0]["y1"], top() - space() + 2 * space() - half());
    const auto ledgers = calls("hline");
    ASSERT_EQ(ledgers.size(), 2u);  // the whole rest above the staff has one too
    EXPECT_EQ(ledgers[1]["y1"], bottom() - 3 * space() - half() + space() - half());
    EXPECT_EQ(ledgers[1]["width"], dc.thickness.staffLine);
}

TEST_F(Rests, LongaBreveMultiBarRestsValueShiftAndDots) {
    rests({0, 1, 2, 4}, 4);
    at(2).noteWord().setDurationCode(15);
    at(3).noteWord().setBit(5, true);  // drawn as an eighth rest
    at(3).noteWord().setDots(1);
    draw();
    const auto bands = calls("band");
    ASSERT_EQ(bands.size(), 3u);
    const int w = su();
    EXPECT_EQ(bands[0]["y1"], bottom());
    EXPECT_EQ(bands[0]["t"], 2 * space());
    EXPECT_EQ(bands[0]["x2"].get<int>() - bands[0]["x1"].get<int>(), 2 * (w / 4));
    EXPECT_EQ(bands[1]["y1"], bottom() + space());
    EXPECT_EQ(bands[1]["t"], space());
    EXPECT_EQ(calls("hline").size(), 2u);  // the breve rest's thin strokes
    EXPECT_EQ(bands[2]["y1"], bottom() + space());
    EXPECT_EQ(bands[2]["x1"], x(2) - 2 * w / 3);
    ASSERT_EQ(glyphs(216).size(), 1u);
    const auto dots = calls("disc");
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0]["x"], x(3) - headHalf() + 3 * su());
    EXPECT_EQ(dots[0]["y"], bottom() + space() + half());
}

TEST_F(Rests, AWholeRestOnAOneLineStaffHangsFromItsLine) {
    rests({2}, 4);  // E4 with clef value 0: one space below the line
    dc.staves[0].lines = 1;
    dc.staves[0].clefs.clear();
    draw();
    ASSERT_EQ(calls("band").size(), 1u);
    EXPECT_EQ(calls("band")[0]["y1"], middle() - half());
}

// A rest as the editor and the GUIDO import create it sits where engravers put it, whatever the clef: the quarter
// and sixteenth centred on the middle line, the half rest standing on it, the whole rest hanging from the fourth.
TEST_F(Rests, NewRestsSitWhereEngraversPutThemUnderEveryClef) {
    for (auto [clef, value] : {std::pair{1, -2}, {2, -4}, {3, 10}, {7, 4}, {10, 12}, {12, 0}}) {
        load("[]");
        doc.currentStaff = 0;
        doc.currentElement = -1;
        ASSERT_NE(CreateSign(doc, 20, 0, clef, SignType::Clef, 0), nullptr);
        setClef(0, value);
        rests({4, 3, 2, 6}, 0);
        canvas.clear();
        for (int i = 1; i <= 4; ++i) DrawNoteOrRest(dc, staff(), i);
        ASSERT_EQ(glyphs(215).size(), 1u) << clef;
        EXPECT_EQ(glyphs(215)[0]["y"], middle()) << clef;
        ASSERT_EQ(glyphs(217).size(), 1u);
        EXPECT_EQ(glyphs(217)[0]["y"], middle()) << clef;
        const auto bands = calls("band");
        ASSERT_EQ(bands.size(), 2u);
        EXPECT_EQ(bands[0]["y1"], middle()) << clef;
        EXPECT_EQ(bands[1]["y1"], middle() + space() - half()) << clef;
        EXPECT_TRUE(calls("hline").empty());
    }
}

// ---- Chords ----

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

TEST_F(Chords, SecondsGoToTheOtherSideOfTheStemAndThirdsNever) {
    const ChordLayout up = layOut(chord(500, {{1, 4}, {2, 4}, {3, 4}}));  // C D E, stem up: D on the right
    EXPECT_TRUE(up.stemUp);
    ASSERT_EQ(up.walk.size(), 3u);
    EXPECT_EQ(up.root().layout.y, c4());
    EXPECT_EQ(up.stemMember().layout.y, c4() + space());
    EXPECT_EQ((std::vector{At(up, c4()).moved, At(up, c4() + half()).moved, At(up, c4() + space()).moved}),
              (std::vector{false, true, false}));
    draw();
    EXPECT_EQ(ints(glyphs(204), "x"), (std::vector{500 - headHalf(), 500 + headHalf(), 500 - headHalf()}));

    const ChordLayout down = layOut(chord(900, {{1, 5}, {2, 5}, {3, 5}}));  // stem down: the walk starts high
    EXPECT_FALSE(down.stemUp);
    EXPECT_EQ(down.root().layout.y, top() - half());
    EXPECT_TRUE(At(down, top() - space()).moved);
    EXPECT_EQ(At(down, top() - space()).layout.headShift, -2 * headHalf());
    for (const ChordMember& m : layOut(chord(1300, {{1, 4}, {3, 4}, {5, 4}, {7, 4}})).walk) EXPECT_FALSE(m.moved);
}

TEST_F(Chords, TheStemFollowsTheAverageHeightOrTheStemUpFlag) {
    EXPECT_FALSE(layOut(chord(300, {{6, 4}, {1, 5}})).stemUp);  // A4 and C5 around the middle line
    EXPECT_TRUE(layOut(chord(600, {{5, 4}, {1, 5}})).stemUp);   // G4 and C5: just below it
    EXPECT_TRUE(layOut(chord(900, {{6, 5}, {1, 6}}, 4, Accidental::None, StemUp)).stemUp);
}

TEST_F(Chords, OneStemFromTheRootBeyondTheStemMemberWhichAloneDrawsTheFlagsWhenTheLastMemberIsMet) {
    chord(500, {{1, 4}, {5, 4}}, 6);  // C4 and G4, sixteenths
    canvas.clear();
    DrawNoteOrRest(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
    draw();
    const auto stems = calls("vline");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_LT(stems[0]["y1"].get<int>(), c4() + half());
    EXPECT_EQ(stems[0]["y2"], c4() + 2 * space() + 7 * half() + space());
    EXPECT_EQ((std::vector{glyphs(205).size(), glyphs(204).size(), calls("hline").size()}),
              (std::vector<std::size_t>{2, 2, 1}));
}

TEST_F(Chords, HiddenMembersAreLeftOutAndTheLastDrawnMemberDrawsTheChord) {
    chord(500, {{1, 4}, {3, 4}, {5, 4}});
    at(2).w0().setHidden(true);
    canvas.clear();
    DrawNoteOrRest(dc, staff(), 1);
    EXPECT_EQ(glyphs(204).size(), 2u);
    draw();
    EXPECT_EQ(glyphs(204).size(), 2u);
    dc.draw.showHidden = true;
    draw();
    EXPECT_EQ(glyphs(204).size(), 3u);
}

TEST_F(Chords, AccidentalsStackInColumnsClearOfHeadsMovedLeftAndAnOctaveSharesTheFirst) {
    const int width = dc.widths.accidentalWidth[0][0], gap = AccidentalClearance(dc, 0, false);
    const ChordLayout close = layOut(chord(500, {{1, 4}, {3, 4}}, 4, Accidental::Sharp));
    const int c = *At(close, c4()).layout.accidentalX, e = *At(close, c4() + space()).layout.accidentalX;
    EXPECT_EQ(c, 500 - headHalf() - width - gap);  // the first column keeps a single note's clearance
    EXPECT_EQ(c - e, width + gap / 2);
    const ChordLayout octave = layOut(chord(900, {{1, 4}, {1, 5}}, 4, Accidental::Sharp));
    EXPECT_EQ(*octave.walk[0].layout.accidentalX, *octave.walk[1].layout.accidentalX);
    draw();
    const auto sharps = glyphs(211);
    ASSERT_EQ(sharps.size(), 4u);
    EXPECT_EQ(ints(sharps, "x")[0], c);
    EXPECT_EQ(ints(sharps, "x")[1], e);

    const ChordLayout down = layOut(chord(1300, {{2, 5}, {3, 5}}, 4, Accidental::Sharp));  // D5 E5, stem down
    ASSERT_FALSE(down.stemUp);
    const ChordMember& moved = At(down, top() - space());  // D5 on the left
    ASSERT_TRUE(moved.moved);
    // E5 first: its next member is a second away, so its column already clears the moved head.
    EXPECT_EQ(*down.root().layout.accidentalX, 1300 - (headHalf() + width + gap / 2 + 2 * headHalf()) - (gap - gap / 2));
    EXPECT_LT(*moved.layout.accidentalX, *down.root().layout.accidentalX);
}

TEST_F(Chords, DotsStandInOneColumnAndASecondSplitsThemAroundIt) {
    chord(500, {{5, 4}, {6, 4}});  // G4 (a line) and A4 (a space)
    for (ElementRecord& m : staff().elements) m.noteWord().setDots(1);
    draw();
    const auto dots = calls("disc");
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0]["x"], dots[1]["x"]);
    std::vector<int> heights = ints(dots, "y");
    std::sort(heights.begin(), heights.end());
    EXPECT_EQ(heights, (std::vector{bottom() + space() - half(), bottom() + space() + half()}));
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
    EXPECT_EQ(calls("vline").size(), 1u);
    for (ElementRecord& m : staff().elements) m.w0().setClosesBeam(false);
    ElementRecord& next = note(560, 5, 4, 5);
    next.w0().setInBeam(true);
    next.w0().setClosesBeam(true);
    draw();
    EXPECT_EQ(calls("vline").size(), 2u);
    EXPECT_EQ(calls("band").size(), 1u);
    EXPECT_TRUE(glyphs(205).empty());
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
    staff().elements[static_cast<std::size_t>(run.last - 1)].w0().setCrossStaff(2);  // C5 placed on the staff below
    const ChordLayout below = layOut(run);
    // Members on the staff below count as the lowest whatever their height on their own staff.
    EXPECT_EQ((below.stemUp ? below.walk.front() : below.walk.back()).layout.place.index, 1);
}

TEST_F(Chords, TheRootCarriesTheChordsArticulation) {
    chord(500, {{1, 4}, {3, 4}, {5, 4}});
    for (ElementRecord& m : staff().elements) {
        m.noteWord().setStaccato(true);
        m.noteWord().setAccentType(1);
    }
    draw();
    ASSERT_EQ(glyphs(107).size(), 1u);  // one staccato, below C4, the root of an up stem
    EXPECT_LT(glyphs(107)[0]["y"].get<int>(), c4());
}

// ---- Writing the chord layout and the stem directions back into the staff ----

class Arrange : public Notes {
protected:
    // The index of the member of note name `step`.
    std::size_t of(unsigned step) {
        for (std::size_t i = 0; i < staff().elements.size(); ++i)
            if (at(i).noteWord().step() == step) return i;
        return 0;
    }
};

TEST_F(Arrange, MembersFollowTheWalkWithTheStemMemberLastAndArrangingAgainChangesNothing) {
    chord(500, {{3, 4}, {1, 4}, {2, 4}});
    EXPECT_EQ(ArrangeNotes(dc, staff()), 1);
    ASSERT_EQ(staff().elements.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {  // up stem: C, D, E from the lowest
        EXPECT_EQ(at(i).noteWord().step(), i + 1);
        EXPECT_EQ(at(i).noteWord().bit(19), i == 2) << i;  // the stem member
        EXPECT_EQ(at(i).noteWord().bit(20), i == 1) << i;  // on the other side
        EXPECT_TRUE(at(i).noteWord().bit(21)) << i;        // stem up
    }
    const std::vector<ElementRecord> before = staff().elements;
    ArrangeNotes(dc, staff());
    EXPECT_EQ(staff().elements, before);
}

TEST_F(Arrange, TiesAndBeamOpeningsGatherOnTheRootClosingsOnTheStemMember) {
    chord(300, {{1, 4}, {3, 4}, {5, 4}});
    at(of(3)).w0().setTieStarts(true);
    at(of(3)).w0().setTiedToNext(true);
    ArrangeNotes(dc, staff());
    EXPECT_EQ((std::vector{at(0).w0().tieStarts(), at(0).w0().tiedToNext(), at(1).w0().tieStarts(),
                           at(1).w0().tiedToNext()}),
              (std::vector{true, true, false, false}));
    at(1).w0().setTieEnds(true);  // a chord that ends one tie and starts the next: both on its stem member
    ArrangeNotes(dc, staff());
    EXPECT_FALSE(at(0).w0().tieStarts());
    EXPECT_EQ((std::vector{at(2).w0().tieStarts(), at(2).w0().tieEnds(), at(2).w0().tiedToNext()}),
              (std::vector{true, true, true}));

    load("[]");
    chord(300, {{1, 4}, {3, 4}}, 5);
    chord(600, {{1, 4}, {3, 4}}, 5);
    for (ElementRecord& m : staff().elements) m.w0().setInBeam(true);
    at(of(3)).w0().setOpensBeam(true);                               // the first chord's E
    at(2 + (at(2).noteWord().step() == 1 ? 0 : 1)).w0().setClosesBeam(true);  // the second chord's C
    ArrangeNotes(dc, staff());
    EXPECT_EQ((std::vector{at(0).w0().opensBeam(), at(1).w0().opensBeam(), at(2).w0().closesBeam(),
                           at(3).w0().closesBeam()}),
              (std::vector{true, false, false, true}));
    for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(at(i).w0().inBeam()) << i;
}

TEST_F(Arrange, AChordThatAloneOpensAndClosesAGroupLeavesIt) {
    chord(300, {{1, 4}, {3, 4}}, 5);
    at(of(1)).w0().setOpensBeam(true);
    at(of(3)).w0().setClosesBeam(true);
    for (ElementRecord& m : staff().elements) m.w0().setInBeam(true);
    ArrangeNotes(dc, staff());
    for (const ElementRecord& m : staff().elements)
        EXPECT_FALSE(m.w0().inBeam() || m.w0().opensBeam() || m.w0().closesBeam());
}

TEST_F(Arrange, GroupMarksAndTheRootsArticulationMoveToTheirMembersWhichKeepTheirProportion) {
    chord(300, {{1, 4}, {3, 4}, {5, 4}});
    ElementRecord& g = at(of(5));
    g.w0().setGroupMark(1);
    g.w1().setNumerator(3);
    g.w1().setDenominator(2);
    at(of(1)).noteWord().setStaccato(true);
    at(of(1)).noteWord().setStaccatoOtherSide(true);
    at(of(1)).noteWord().setBit(8, true);
    ArrangeNotes(dc, staff());
    EXPECT_EQ((std::vector{at(0).w0().groupMark(), at(0).w1().numerator(), at(0).w1().denominator()}),
              (std::vector{1u, 3u, 2u}));
    EXPECT_EQ(at(2).w0().groupMark(), 0u);
    EXPECT_EQ(at(2).w1().numerator(), 3u);  // G's own proportion stays
    EXPECT_EQ(at(1).w1().numerator(), 1u);
    for (std::size_t i = 0; i < 3; ++i) {  // the root's flags go to every member, the gathered one to the stem member
        EXPECT_TRUE(at(i).noteWord().staccato() && at(i).noteWord().staccatoOtherSide());
        EXPECT_EQ(at(i).noteWord().bit(8), i == 2);
    }
}

TEST_F(Arrange, NoElementIsLostHiddenMembersGoFirstAndSingleNotesRecordTheirStem) {
    for (unsigned k = 0; k < 25; ++k) note(500, 1 + k % 7, 2 + k / 7, 4, AutoStem | Chord);
    doc.currentElement = 24;
    doc.insertion.durationCode = 4;
    CreateNoteOrRest(doc, 800, true, 0);
    at(7).w0().setHidden(true);
    const std::uint32_t hiddenWord = at(7).typeWord;
    ArrangeNotes(dc, staff());
    ASSERT_EQ(staff().elements.size(), 26u);
    EXPECT_TRUE(at(0).w0().hidden());
    EXPECT_EQ(at(0).noteWord().step(), NoteWordView<const std::uint32_t>(hiddenWord).step());
    EXPECT_FALSE(at(0).noteWord().bit(19));
    EXPECT_TRUE(at(24).noteWord().bit(19));
    EXPECT_TRUE(at(25).isRest());
    EXPECT_TRUE(at(24).noteWord().bit(21));  // an up stem: the walk runs from the lowest
    EXPECT_LT(at(1).w0().octave(), at(24).w0().octave());

    load("[c1 c3]");
    note(900, 1, 6, 4, StemUp);  // a fixed up stem stays up, even high
    at(1).noteWord().setStemFlag(true);
    ArrangeNotes(dc, staff());
    EXPECT_EQ((std::vector{at(0).noteWord().stemFlag(), at(1).noteWord().stemFlag(), at(2).noteWord().stemFlag()}),
              (std::vector{true, false, true}));
}

// ---- Beams ----

class Beams : public Notes {
protected:
    BeamLayout layOut() {
        const auto range = FindBeamGroup(staff(), 0);
        EXPECT_TRUE(range.has_value());
        const auto layout = range ? LayOutBeamGroup(dc, staff(), *range) : std::nullopt;
        EXPECT_TRUE(layout.has_value());
        return layout.value_or(BeamLayout{});
    }
    // The height of a recorded band's first edge above x.
    static double edgeAt(const json& band, int at) {
        const double x1 = band["x1"], x2 = band["x2"], y1 = band["y1"], y2 = band["y2"];
        return x2 == x1 ? y1 : y1 + (y2 - y1) * (at - x1) / (x2 - x1);
    }
    int stemLeft(const json& stem) const { return stem["x"].get<int>() - dc.thickness.stem / 2; }
    int stemRight(const json& stem) const { return stemLeft(stem) + dc.thickness.stem; }
};

TEST_F(Beams, StemsMeetOneBeamThatSpansThemExactlyOnTheSideOfTheirDirection) {
    load("[\\beam(g1/8 a b c2)]");  // G4 is the farthest from the middle line: stems up
    draw();
    auto stems = calls("vline"), bands = calls("band");
    ASSERT_EQ(stems.size(), 4u);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_TRUE(glyphs(205).empty());  // no flags under a beam
    EXPECT_LT(bands[0]["t"].get<int>(), 0);  // up stems: the beam hangs from its outer edge towards the heads
    EXPECT_EQ(bands[0]["x1"], stemLeft(stems[0]));
    EXPECT_EQ(bands[0]["x2"], stemRight(stems[3]));
    for (const json& stem : stems) {
        EXPECT_GT(stem["y2"].get<int>(), stem["y1"].get<int>());
        EXPECT_NEAR(stem["y2"].get<double>(), edgeAt(bands[0], stem["x"]), 1.0);
    }
    EXPECT_GT(bands[0]["y2"].get<int>(), bands[0]["y1"].get<int>());  // rising notes, a rising beam

    load("[\\beam(d2/8 f a)]");  // high notes: stems down, the beam below
    draw();
    stems = calls("vline");
    bands = calls("band");
    ASSERT_EQ(stems.size(), 3u);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_GT(bands[0]["t"].get<int>(), 0);
    for (std::size_t k = 0; k < stems.size(); ++k) {
        EXPECT_LT(stems[k]["y2"].get<int>(), stems[k]["y1"].get<int>());
        EXPECT_LT(stems[k]["x"].get<int>(), x(k));  // on the heads' left
        EXPECT_NEAR(stems[k]["y2"].get<double>(), edgeAt(bands[0], stems[k]["x"]), 1.0);
    }
    // Under D5 the beam's inner edge leaves two spaces of clear stem.
    EXPECT_LE(edgeAt(bands[0], stems[0]["x"]) + bands[0]["t"].get<int>(), top() - half() - 2 * space() + 1);
}

TEST_F(Beams, TheFarthestNoteFromTheMiddleLineOrAFixedStemDecidesTheDirection) {
    for (auto [gmn, fixedUp, up] : {std::tuple{"[\\beam(e1/8 c3)]", false, false},  // C6 is farther than E4
                                    std::tuple{"[\\beam(g1/8 d2)]", false, false},   // balanced: down
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
    EXPECT_EQ(calls("band").at(0)["y1"], calls("band").at(0)["y2"]);
    for (auto [gmn, sign] : {std::pair{"[\\beam(c1/8 c3)]", 1}, {"[\\beam(c3/8 c1)]", -1}}) {
        load(gmn);  // two octaves in 80 units
        EXPECT_DOUBLE_EQ(layOut().slope, sign * 0.30);
        draw();
        const json band = calls("band").at(0);
        EXPECT_NEAR((band["y2"].get<double>() - band["y1"].get<double>()) / (band["x2"].get<double>() - band["x1"].get<double>()),
                    sign * 0.30, 0.03);
    }
    dc.beams.maxSlope = 0.5;
    EXPECT_DOUBLE_EQ(layOut().slope, -0.5);
    const std::int16_t words[2] = {0, 20};  // a correction of 0.20 in the opening note's blob, in hundredths
    at(0).attachBlob(std::span(reinterpret_cast<const std::uint8_t*>(words), sizeof words));
    EXPECT_NEAR(layOut().slope, -0.30, 1e-9);
}

TEST_F(Beams, SixteenthsTakeASecondBeamAndHooksPointToTheNoteTheyCompleteTheBeatWith) {
    load("[\\beam(g1/16 g g g)]");
    draw();
    auto bands = calls("band");
    ASSERT_EQ(bands.size(), 2u);
    const BeamLayout layout = layOut();
    EXPECT_EQ(bands[1]["x1"], bands[0]["x1"]);
    EXPECT_EQ(bands[1]["x2"], bands[0]["x2"]);
    EXPECT_EQ(bands[0]["y1"].get<int>() - bands[1]["y1"].get<int>(), layout.thickness + layout.gap);

    load("[\\beam(g1/8. g/16)]");  // back to the dotted note
    draw();
    bands = calls("band");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[1]["x2"], stemRight(calls("vline")[1]));
    EXPECT_EQ(bands[1]["x2"].get<int>() - bands[1]["x1"].get<int>(), 2 * headHalf());
    load("[\\beam(g1/16 g/8.)]");  // forward to it
    at(1).x = x(0) + 100;
    draw();
    bands = calls("band");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[1]["x1"], stemLeft(calls("vline")[0]));
    EXPECT_EQ(bands[1]["x2"].get<int>() - bands[1]["x1"].get<int>(), 2 * headHalf());
    load("[\\beam(g1/8. g/16 g/8. g/16)]");  // inside a group the sixteenth after a dotted eighth hooks back
    draw();
    bands = calls("band");
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[1]["x2"], stemRight(calls("vline")[1]));
    EXPECT_EQ(bands[2]["x2"], stemRight(calls("vline")[3]));
}

TEST_F(Beams, ABeamedChordsStemRunsFromItsFarthestHeadToTheBeamInTheGroupsDirection) {
    chord(400, {{1, 4}, {3, 4}, {5, 4}}, 5);
    for (ElementRecord& m : staff().elements) m.w0().setInBeam(true);
    at(0).w0().setOpensBeam(true);
    ElementRecord& last = note(470, 7, 4, 5);
    last.w0().setInBeam(true);
    last.w0().setClosesBeam(true);
    draw();
    const auto stems = calls("vline");
    ASSERT_EQ(stems.size(), 2u);  // one stem for the chord, drawn with the beam
    ASSERT_EQ(calls("band").size(), 1u);
    const int c4 = bottom() - space();
    EXPECT_LT(stems[0]["y1"].get<int>(), c4 + half());  // from the lowest head
    EXPECT_GE(stems[0]["y2"].get<int>(), c4 + 4 * space());  // clear of the highest head (G4) by stem and beam
    EXPECT_NEAR(stems[0]["y2"].get<double>(), edgeAt(calls("band")[0], stems[0]["x"]), 1.0);
    EXPECT_EQ(glyphs(204).size(), 4u);

    // Alone the chord would point up (it lies below the middle line); the high note turns the group down.
    at(3).noteWord().setStep(3);
    at(3).w0().setOctave(6);
    EXPECT_FALSE(LayOutChord(dc, staff(), FindChordRun(staff(), 0))->stemUp);
    EXPECT_FALSE(layOut().up);
}

TEST_F(Beams, AStaccatoOnABeamedNoteGoesOnTheHeadSideOfTheGroupsStem) {
    load("[\\beam(g1/8 f2)]");  // G4 alone would point up; F5 turns the group down, so the dot goes above
    at(0).noteWord().setStaccato(true);
    at(0).noteWord().setAccentType(1);
    ASSERT_FALSE(layOut().up);
    draw();
    ASSERT_EQ(glyphs(107).size(), 1u);
    EXPECT_GT(glyphs(107)[0]["y"].get<int>(), bottom() + space());
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
    EXPECT_EQ(layOut().thickness, space());
    EXPECT_EQ(layOut().gap, space() / 2);
}

TEST_F(Beams, GroupsAreFoundFromAnyMemberAndDrawnOnlyForTheNotesThatTakeABeam) {
    load("[\\beam(g1/8 a) \\beam(g a)]");
    const auto second = FindBeamGroup(staff(), 3);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(std::pair(second->first, second->last), std::pair(2, 3));
    EXPECT_EQ(FindBeamGroup(staff(), 1)->first, 0);
    EXPECT_FALSE(FindBeamGroup(staff(), 7).has_value());
    draw();
    EXPECT_EQ(calls("band").size(), 2u);

    load("[g1 \\beam(g/8 a)]");  // a group without its opening starts after the note before it
    at(1).w0().setOpensBeam(false);
    EXPECT_EQ(FindBeamGroup(staff(), 2)->first, 1);
    load("[\\beam(g1/8 a b)]");
    at(2).w0().setHidden(true);  // a hidden last note leaves the group to the notes shown
    draw();
    EXPECT_EQ(calls("band").size(), 1u);
    EXPECT_EQ(calls("vline").size(), 2u);
    at(2).w0().setHidden(false);
    at(2).w0().setInBeam(false);  // a group never closed still gets its beam
    at(2).w0().setClosesBeam(false);
    at(2).noteWord().setDurationCode(4);
    draw();
    EXPECT_EQ(calls("band").size(), 1u);
    EXPECT_EQ(calls("vline").size(), 3u);
    at(1).noteWord().setDurationCode(4);  // a quarter closes: a lone eighth keeps its stem and flag
    at(1).w0().setClosesBeam(true);
    draw();
    EXPECT_TRUE(calls("band").empty());
    EXPECT_EQ(glyphs(205).size(), 1u);
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
    EXPECT_EQ(std::tuple(dc.beams.minSlope, dc.beams.maxSlope, dc.beams.averageHeight), std::tuple(0.10, 0.30, 3.0));
    doc.header.pageFormat().bytes()[6] = 0;  // a maximum of 0, as older documents hold it
    doc.settings.averageBeamHeight = 9.0;
    UseDocumentSettings(dc, doc);
    EXPECT_DOUBLE_EQ(dc.beams.maxSlope, 0.10);
    EXPECT_DOUBLE_EQ(dc.beams.averageHeight, 4.0);
}

// ---- Tuplet marks: the number alone by its beam or in a bracket, above or below ----

class Tuplets : public Notes {
protected:
    std::vector<json> numbers() const { return calls("glyphText"); }
    static constexpr int Three = TupletDigitCode + 3;
};

TEST_F(Tuplets, ABeamedTripletShowsItsNumberAloneOverTheBeamsMiddle) {
    load("[\\beam(g1/12 a b)]");
    draw();
    ASSERT_EQ(numbers().size(), 1u);
    const json number = numbers()[0];
    EXPECT_EQ(number["codes"], json::array({Three}));
    EXPECT_TRUE(number["centred"].get<bool>());
    EXPECT_TRUE(calls("hline").empty());  // no bracket
    const auto beam = LayOutBeamGroup(dc, staff(), *FindBeamGroup(staff(), 0));
    ASSERT_TRUE(beam.has_value());
    EXPECT_GT(number["x"].get<int>(), beam->stems.front().x);
    EXPECT_LT(number["x"].get<int>(), beam->stems.back().x);
    EXPECT_NEAR(number["y"].get<double>(), beam->outerEdgeAt(number["x"]) + half(), 1.0);
    at(0).w0().setGroupMarkSide(1);  // marked on its heads' side: with a bracket, below
    draw();
    EXPECT_EQ(calls("hline").size(), 2u);
    ASSERT_EQ(numbers().size(), 1u);
    EXPECT_LT(numbers()[0]["y"].get<int>(), bottom());
}

TEST_F(Tuplets, QuarterTripletsGetABracketBrokenAroundTheNumberClearOfStemsAndStaff) {
    load("[g1/6 a b]");
    draw();
    ASSERT_EQ(numbers().size(), 1u);
    const int centre = numbers()[0]["x"], y = numbers()[0]["y"];
    auto lines = calls("hline");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]["y1"], lines[0]["y1"]);
    // From the first head's left edge to the last head's right edge, open around the centred number.
    EXPECT_EQ(lines[0]["x1"], x(0) - headHalf());
    EXPECT_NEAR(lines[1]["x2"].get<int>(), x(2) + headHalf(), 2);
    EXPECT_LT(lines[0]["x2"].get<int>(), centre);
    EXPECT_GT(lines[1]["x1"].get<int>(), centre);
    EXPECT_NEAR(centre, (lines[0]["x1"].get<int>() + lines[1]["x2"].get<int>()) / 2, 1);
    auto stems = calls("vline");
    ASSERT_EQ(stems.size(), 5u);  // three stems and two hooks pointing down to the notes
    for (std::size_t k = 0; k < 3; ++k) EXPECT_GT(y, stems[k]["y2"].get<int>());
    EXPECT_GT(y, top());
    EXPECT_LT(stems[3]["y1"].get<int>(), lines[0]["y1"].get<int>());

    at(0).w0().setGroupMarkSide(1);  // the side bit puts the mark below, its hooks pointing up
    draw();
    lines = calls("hline");
    stems = calls("vline");
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(stems.size(), 5u);
    EXPECT_LT(lines[0]["y1"].get<int>(), bottom());
    EXPECT_LT(numbers().at(0)["y"].get<int>(), bottom() - half());
    EXPECT_GT(stems[3]["y1"].get<int>(), lines[0]["y1"].get<int>());
}

TEST_F(Tuplets, GroupsAreFoundEachOnItsOwnAndFromTheirFirstNoteWithoutAStart) {
    load("[g1/6 a b g g g]");
    const auto second = FindTupletEndingAt(staff(), 5);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->first, 3);
    draw();
    EXPECT_EQ(numbers().size(), 2u);
    at(0).w0().setGroupMark(0);
    const auto first = FindTupletEndingAt(staff(), 2);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(std::pair(first->first, first->last), std::pair(0, 2));
    EXPECT_FALSE(FindTupletEndingAt(staff(), 1).has_value());
    at(3).w1().setNumerator(0);  // a numerator of zero draws nothing
    draw();
    EXPECT_EQ(numbers().size(), 1u);
}

// ---- Ties and slurs ----

ArcCurve Curve(int x1, int y1, int x2, int y2, bool above = true) {
    ArcCurve c;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.above = above;
    return c;
}

class Ties : public Notes {
protected:
    // The two notes of `gmn` tied or slurred, the second `width` after the first.
    void pair(std::string_view gmn, int width) {
        load(gmn);
        at(1).x = x(0) + width;
        draw();
    }
    int clearance() const { return space() + dc.metrics.eighthSpace[0]; }
    // A curve above runs from its right end, one below from its left end.
    static bool above(const json& arc) { return arc["start"][0].get<int>() > arc["end"][0].get<int>(); }
};

TEST_F(Ties, AShortTieReachesOverBothHeadsAndLevelTiesRiseByTheirHeightClass) {
    pair("[\\tie(g1 g)]", 50);  // stems up: the tie goes below
    auto arcs = calls("arc");
    ASSERT_EQ(arcs.size(), 2u);  // outer and inner arc on a device that does not fill
    const int y = bottom() + space() - clearance();
    EXPECT_EQ(arcs[0]["start"], json::array({x(0) - headHalf(), y}));
    EXPECT_EQ(arcs[0]["end"], json::array({x(1) + headHalf(), y}));
    EXPECT_EQ(arcs[0]["pen"]["width"], dc.curves.tiePenWidth);
    for (auto [width, spaces] : {std::pair{250, 1}, {400, 2}}) {
        pair("[\\tie(d2 d)]", width);  // stems down: above, long enough to be drawn level
        arcs = calls("arc");
        ASSERT_EQ(arcs.size(), 2u);
        const int ends = top() - space() + clearance() - static_cast<int>(dc.metrics.quarterSpace[0]);
        EXPECT_EQ(arcs[0]["start"], json::array({x(1), ends}));  // counter-clockwise over the top
        EXPECT_EQ(arcs[0]["end"], json::array({x(0), ends}));
        EXPECT_EQ((arcs[0]["top"].get<int>() + arcs[0]["bottom"].get<int>()) / 2, ends - space());
        EXPECT_EQ(arcs[0]["top"].get<int>(), ends + spaces * space());
        EXPECT_EQ(arcs[0]["left"], x(0));
        EXPECT_EQ(arcs[0]["right"], x(1));
    }
}

TEST_F(Ties, CurvesFollowTheStemsAndTheWholeNotesAndOtherwiseThePreferredSide) {
    for (auto [gmn, prefer, expected] : {std::tuple{"[\\slur(g1/4 f1)]", true, false},  // both stems up: below
                                         {"[\\slur(d2/4 f2)]", false, true},             // both down: above
                                         {"[\\slur(g1/4 f2)]", false, false},            // they disagree
                                         {"[\\slur(g1/4 f2)]", true, true},
                                         {"[\\slur(d2/4 a1/1)]", false, true},  // away from the first stem
                                         {"[\\slur(d2/1 g1/4)]", true, false}}) {  // away from the second
        load(gmn);
        at(1).x = x(0) + 300;
        at(1).w0().setCurveAbove(prefer);
        draw();
        ASSERT_EQ(calls("arc").size(), 2u) << gmn;
        EXPECT_EQ(above(calls("arc")[0]), expected) << gmn << prefer;
    }
}

TEST_F(Ties, ASlurOverAHighNoteClearsItLiftingTheEndNearItsPeak) {
    load("[\\slur(g1 g2 a1)]");
    for (ElementRecord& e : staff().elements) e.noteWord().setStemAutomatic(false);  // stems down: above
    at(2).w0().setCurveAbove(true);
    draw();
    ASSERT_EQ(calls("arc").size(), 2u);
    EXPECT_GE(calls("arc")[0]["top"].get<int>(), top() + 2 * space() - half() + clearance());
    // Level ends: the first is lifted towards a peak near it, and moves a step in.
    ArcCurve c = Curve(500, 1000, 800, 1000);
    c.peak = 1100;
    c.peakX = 510;
    canvas.clear();
    DrawArcCurve(dc, c, 0);
    const json arc = calls("arc").at(0);
    EXPECT_EQ(arc["start"], json::array({800, 1000}));
    EXPECT_GT(arc["end"][1].get<int>(), 1000);
    EXPECT_GT(arc["end"][0].get<int>(), 500);
}

TEST_F(Ties, ChordsAreTiedMemberByMemberEachOnItsSide) {
    chord(500, {{1, 4}, {3, 4}, {5, 4}});  // stems up: the lowest and middle ties below, the highest above
    chord(800, {{1, 4}, {3, 4}, {5, 4}});
    at(0).w0().setTiedToNext(true);
    at(0).w0().setTieStarts(true);
    at(5).w0().setTiedToNext(true);
    at(5).w0().setTieEnds(true);
    draw();
    const auto arcs = calls("arc");
    ASSERT_EQ(arcs.size(), 6u);
    // Each tie keeps to its own pair of heads, half a space out, drawn level a quarter space nearer.
    const int c = half() - static_cast<int>(dc.metrics.quarterSpace[0]);
    const int heads[3] = {bottom() - 2 * half(), bottom(), bottom() + 2 * half()};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(arcs[2 * k]["start"][1], heads[k] + (k == 2 ? c : -c)) << k;
        EXPECT_EQ(above(arcs[2 * k]), k == 2) << k;
    }
}

TEST_F(Ties, CurvesLeftOpenRunToTheLineEndComeInFromSixStepsAwayAndChain) {
    load("[\\tie(d2 d) d]");
    at(1).w0().setTiedToNext(false);
    at(1).w0().setTieEnds(false);
    draw();
    EXPECT_TRUE(calls("arc").empty());  // left open...
    FinishStaffCurves(dc, staff(), 1900);
    ASSERT_EQ(calls("arc").size(), 2u);  // ... it runs to the line's end
    EXPECT_EQ(calls("arc")[0]["start"][0], 1900);
    EXPECT_EQ(calls("arc")[0]["end"][0], x(0));
    EXPECT_FALSE(dc.pendingCurve.has_value());
    load("[\\tie(d2 d d)]");  // a note that ends one curve and starts the next chains them
    draw();
    EXPECT_EQ(calls("arc").size(), 4u);
    load("[d2]");  // a curve continued from the line before
    at(0).w0().setTiedToNext(true);
    at(0).w0().setTieEnds(true);
    draw();
    ASSERT_EQ(calls("arc").size(), 2u);
    EXPECT_EQ(calls("arc")[0]["end"][0], x(0) - dc.metrics.stepUnit6 - headHalf());
}

TEST_F(Ties, ShortCurvesAreNotDrawnAndThePrinterFillsTheCrescentTheScreenOutlines) {
    const int y = middle();
    DrawArcCurve(dc, Curve(500, y, 500 + su(), y), 0);
    EXPECT_TRUE(calls("arc").empty());  // no wider than a step unit
    const ArcCurve curve = Curve(500, y, 800, y + 30);
    RecordingCanvas screen(CanvasKind::Screen), printer(CanvasKind::Printer);
    dc.canvas = &screen;
    DrawArcCurve(dc, curve, 0);
    ASSERT_EQ(screen.calls().size(), 2u);
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
        EXPECT_TRUE(calls[k]["top"].get<int>() <= outerTop && calls[k]["top"].get<int>() >= innerTop);
    }
    RecordingCanvas svg(CanvasKind::Svg);  // pictures fill the crescent as one shape along the arcs
    dc.canvas = &svg;
    DrawArcCurve(dc, curve, 0);
    const json& shape = svg.calls().back();
    ASSERT_EQ(shape["op"], "polygon");
    for (const json& p : shape["points"]) {
        EXPECT_TRUE(p[0] >= calls[0]["left"].get<int>() - 1 && p[0] <= calls[0]["right"].get<int>() + 1) << p;
        EXPECT_TRUE(p[1] >= calls[0]["bottom"].get<int>() - 1 && p[1] <= calls[0]["top"].get<int>() + 1) << p;
    }
    for (int k : {-4, 0, 3}) {  // the thickness setting sets the crescent's depth
        const auto shape = ShapeArcCurve(dc, Curve(500, y, 800, y), k);
        ASSERT_TRUE(shape && shape->inner);
        EXPECT_DOUBLE_EQ(shape->outer.top - shape->inner->top, std::max(space() / (k + 5), 2)) << k;
        // A level curve's inner arc is wider, so that both meet at the ends.
        EXPECT_LT(shape->inner->left, shape->outer.left);
        EXPECT_GT(shape->inner->right, shape->outer.right);
    }
}

TEST_F(Ties, DashedCurvesAreOneStyledArcAndInvertedArcsRunTheOtherWayInTheMetafileOnly) {
    pair("[\\tie(d2 d)]", 300);
    at(1).w0().setCurveStyle(1);
    dc.outputMode = OutputMode::Metafile;
    dc.exportRegion = dc.visibleRegion = {0, 0, 2100, 2970};
    draw();
    ASSERT_EQ(calls("arc").size(), 1u);
    EXPECT_EQ(calls("arc")[0]["pen"]["style"], "dash");
    dc.curves.invertArcs = true;
    canvas.clear();
    DrawArcCurve(dc, Curve(500, 1000, 800, 1000), 0);
    const json metafile = calls("arc")[0];
    dc.outputMode = OutputMode::Normal;
    canvas.clear();
    DrawArcCurve(dc, Curve(500, 1000, 800, 1000), 0);
    EXPECT_EQ(metafile["start"], calls("arc")[0]["end"]);
    EXPECT_EQ(metafile["end"], calls("arc")[0]["start"]);
}

// ---- Curve signs from their control points ----

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
    canvas.clear();
    DrawSign(dc, staff(), 0);
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(CurveSigns, HairpinsOpenEitherWayInTheFontsThicknessAndBracketsAreOpenLines) {
    sign(SignType::Hairpin, 500, {{{0, -100}, {300, -80}, {300, -120}, {0, 0}}});  // a crescendo
    auto lines = calls("polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["points"], json::array({P(800, r() - 80), P(500, r() - 100), P(800, r() - 120)}));
    EXPECT_EQ(lines[0]["pen"]["style"], "solid");
    EXPECT_EQ(lines[0]["pen"]["width"], 3);  // 0.16 of a space in Bravura
    sign(SignType::Hairpin, 500, {{{300, -100}, {0, -80}, {0, -120}, {0, 0}}});  // a diminuendo
    EXPECT_EQ(calls("polyline").at(0)["points"], json::array({P(500, r() - 80), P(800, r() - 100), P(500, r() - 120)}));
    sign(SignType::Bracket, 400, {{{0, 100}, {0, 120}, {500, 120}, {500, 100}}});
    EXPECT_EQ(calls("polyline").at(0)["points"],
              json::array({P(400, r() + 100), P(400, r() + 120), P(900, r() + 120), P(900, r() + 100)}));
    sign(SignType::Hairpin, 500, {{{0, 0}, {300, 20}, {300, -20}, {0, 0}}}, 2);  // styled: thin, in its style
    EXPECT_EQ(calls("polyline").at(0)["pen"]["style"], "dot");
    EXPECT_EQ(calls("polyline").at(0)["pen"]["width"], 0);
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
    EXPECT_EQ(printer.calls()[0]["op"], "polygon");
    EXPECT_EQ(printer.calls()[0]["fill"], 0);
}

TEST_F(CurveSigns, AFreeTieCurvesTowardsItsThirdPointAndTheMetafileSkipsSignsOutsideItsRegion) {
    sign(SignType::FreeTie, 500, {{{0, 0}, {150, 40}, {0, 0}, {300, 0}}});
    ASSERT_EQ(calls("arc").size(), 2u);
    EXPECT_GT(calls("arc")[0]["start"][0].get<int>(), calls("arc")[0]["end"][0].get<int>());  // over the top
    sign(SignType::FreeTie, 1000, {{{0, 0}, {150, -40}, {0, 0}, {300, 0}}});
    ASSERT_EQ(calls("arc").size(), 2u);
    EXPECT_LT(calls("arc")[0]["start"][0].get<int>(), calls("arc")[0]["end"][0].get<int>());
    dc.outputMode = OutputMode::Metafile;
    dc.exportRegion = dc.visibleRegion = {0, 0, 1000, 2970};
    sign(SignType::Bracket, 1500, {{{0, 0}, {0, 20}, {100, 20}, {100, 0}}});
    EXPECT_TRUE(canvas.calls().empty());
}

// ---- Octave lines: the label, the dashed line to two half spaces past the last note, the hook ----

class OctaveLines : public Notes {
protected:
    // The notes of `gmn` with their octave-line codes.
    void lines(std::string_view gmn, std::vector<unsigned> codes) {
        load(gmn);
        for (std::size_t k = 0; k < codes.size(); ++k) at(k).w1().setOctaveShift(codes[k]);
        canvas.clear();
        DrawOctaveLines(dc, staff());
    }
    std::vector<json> styled(const char* style) const {
        std::vector<json> out;
        for (const json& c : calls("line"))
            if (c["pen"]["style"] == style) out.push_back(c);
        return out;
    }
    json label() const { return calls("glyphRun").at(0)["codePoints"][0]; }
};

TEST_F(OctaveLines, AnOttavaRunsAboveWithItsHookDownAndABassaBelowWithItsHookUp) {
    lines("[g1 c2 g1]", {1, 1, 1});
    ASSERT_EQ(calls("glyphRun").size(), 1u);
    EXPECT_EQ(label(), 0xE511);
    auto dashes = styled("dash"), hooks = styled("solid");
    ASSERT_EQ(dashes.size(), 1u);
    ASSERT_EQ(hooks.size(), 1u);
    EXPECT_GT(dashes[0]["x1"].get<int>(), x(0));
    EXPECT_EQ(dashes[0]["x2"], x(2) + 2 * half());
    EXPECT_GT(dashes[0]["y1"].get<int>(), top());
    EXPECT_EQ(hooks[0]["x1"], x(2) + 2 * half());
    EXPECT_EQ(hooks[0]["y2"].get<int>(), dashes[0]["y1"].get<int>() - space());
    lines("[g1 g1]", {3, 3});
    EXPECT_EQ(label(), 0xE51C);
    dashes = styled("dash");
    hooks = styled("solid");
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_LT(dashes[0]["y1"].get<int>(), bottom());
    EXPECT_EQ(hooks.at(0)["y2"].get<int>(), dashes[0]["y1"].get<int>() + space());
}

TEST_F(OctaveLines, TheLineClearsTheHighestNoteOfItsRun) {
    lines("[g1 c4 g1]", {2, 2, 2});  // C7, eleven steps above the top line, stem down
    EXPECT_EQ(label(), 0xE515);
    ASSERT_EQ(styled("dash").size(), 1u);
    EXPECT_GE(styled("dash")[0]["y1"].get<int>(), top() + 11 * half() + space());
}

TEST_F(OctaveLines, ANoteWithoutTheCodeEndsTheLineRestsPassUnderAndUnknownCodesDrawNothing) {
    lines("[g1 _ g1 g1 g1]", {1, 0, 1, 0, 1});
    // 500–700 (the rest does not break it), and the single note, too short for more than its label.
    ASSERT_EQ(styled("dash").size(), 1u);
    EXPECT_EQ(styled("dash")[0]["x2"], x(2) + 2 * half());
    EXPECT_EQ(calls("glyphRun").size(), 2u);
    lines("[g1 g1]", {0, 6});
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(OctaveLines, TheLabelSignStartsTheLine) {
    load("[g1 g1]");
    doc.currentStaff = 0;
    doc.currentElement = -1;
    const std::array<std::uint8_t, 4> text{'B', 'v', 'a', ' '};
    ElementRecord* label = CreateSign(doc, x(0) - 50, 0, 0, SignType::Text, 3, text);
    ASSERT_NE(label, nullptr);
    label->w1().setOctaveShift(1);
    at(1).w1().setOctaveShift(1);
    at(2).w1().setOctaveShift(1);
    canvas.clear();
    DrawOctaveLines(dc, staff());
    ASSERT_EQ(calls("glyphRun").size(), 1u);
    EXPECT_NEAR(calls("glyphRun")[0]["x"].get<int>(), x(0), half());
}

}  // namespace
}  // namespace notavera
