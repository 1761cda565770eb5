// The note and rest drawer through the recording canvas: heads on their lines and ledger lines, stems and flags,
// accidentals, dots, articulations, rests of every value, cue size, hidden and cross-staff elements.
#include <gtest/gtest.h>

#include <cmath>

#include "render/draw_notes.h"
#include "render/note_geometry.h"
#include "render/primitives.h"
#include "score/element_creation.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using nlohmann::json;
using test::AutoStem;
using test::StemUpFlag;

class DrawNotes : public test::NoteDrawingTest {
protected:
    // The stem's right edge of an up stem leaves the head at the font's anchor.
    int AnchorX(int code, const char* anchor) {
        return static_cast<int>(std::lround(GlyphAnchorPoint(dc, code, anchor)->x * Space()));
    }
    int AnchorY(int code, const char* anchor) {
        return static_cast<int>(std::lround(GlyphAnchorPoint(dc, code, anchor)->y * Space()));
    }
};

TEST_F(DrawNotes, MiddleCLiesOnTheFirstLedgerLineBelowATrebleStaff) {
    AddNote(0, 500, 1, 4, 4);
    DrawStaff(0);
    const auto heads = Glyphs(204);
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0]["y"], Bottom(0) - Space());
    const auto ledgers = Calls("hline");
    ASSERT_EQ(ledgers.size(), 1u);
    EXPECT_EQ(ledgers[0]["y1"], Bottom(0) - Space());
    EXPECT_EQ(ledgers[0]["width"], dc.thickness.staffLine + 1);
    // Centred on the head, reaching the font's ledger extension beyond it.
    const int extension = static_cast<int>(0.4 * Space());
    EXPECT_NEAR(ledgers[0]["x1"].get<int>(), 500 - HeadHalf() - extension, 1);
    EXPECT_NEAR(ledgers[0]["x2"].get<int>(), 500 + HeadHalf() + extension, 1);
}

TEST_F(DrawNotes, MiddleCLiesOnTheFirstLedgerLineAboveABassStaff) {
    SetClef(0, test::BassClef);
    AddNote(0, 500, 1, 4, 4);
    DrawStaff(0);
    ASSERT_EQ(Glyphs(204).size(), 1u);
    EXPECT_EQ(Glyphs(204)[0]["y"], Top(0) + Space());
    ASSERT_EQ(Calls("hline").size(), 1u);
    EXPECT_EQ(Calls("hline")[0]["y1"], Top(0) + Space());
}

TEST_F(DrawNotes, AtTheDefaultCorrectionsTheHeadIsWrittenExactlyOnItsLine) {
    AddNote(0, 500, 5, 4, 4);  // G4, the second line
    DrawStaff(0);
    const auto runs = Calls("glyphRun");
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs[0]["y"], Bottom(0) + Space());
    EXPECT_EQ(runs[0]["x"], 500 - HeadHalf());
}

TEST_F(DrawNotes, SixteenthWithAnUpStemHasAStemOfSevenHalfSpacesAndASpaceAndTwoFlags) {
    AddNote(0, 500, 5, 4, 6);
    DrawStaff(0);
    const int y = Bottom(0) + Space();
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0]["y1"], y + AnchorY(204, "stemUpSE"));
    EXPECT_EQ(stems[0]["y2"], y + 7 * Half() + Space());
    EXPECT_EQ(stems[0]["width"], dc.thickness.stem);
    // The stem's right edge is the head's right edge, where the font joins them.
    EXPECT_EQ(stems[0]["x"].get<int>() + dc.thickness.stem / 2, 500 - HeadHalf() + AnchorX(204, "stemUpSE"));
    const auto flags = Glyphs(205);
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(flags[0]["y"].get<int>() - flags[1]["y"].get<int>(), Space());
    EXPECT_EQ(flags[0]["x"], stems[0]["x"].get<int>() - dc.thickness.stem / 2);
    EXPECT_EQ(flags[0]["y"], y + 7 * Half() + Space() - AnchorY(205, "stemUpNW"));
}

TEST_F(DrawNotes, EighthAboveTheMiddleLineHangsItsFlagFromADownStemOnTheLeft) {
    AddNote(0, 500, 3, 5, 5);  // E5, the top space
    DrawStaff(0);
    const int y = Top(0) - Half();
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0]["x"].get<int>() - (dc.thickness.stem + 1) / 2, 500 - HeadHalf());
    EXPECT_EQ(stems[0]["y2"], y - 7 * Half());
    ASSERT_EQ(Glyphs(206).size(), 1u);
    EXPECT_TRUE(Glyphs(205).empty());
}

TEST_F(DrawNotes, StemDirectionFollowsTheMiddleLineOrTheNotesOwnFlag) {
    AddNote(0, 200, 6, 4, 4);                 // A4, below the middle line: up
    AddNote(0, 300, 7, 4, 4);                 // B4, on it: down
    AddNote(0, 400, 6, 4, 4, StemUpFlag * 0);  // fixed, stem-up flag clear: down
    AddNote(0, 500, 7, 4, 4, StemUpFlag);      // fixed, up
    DrawStaff(0);
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 4u);
    const std::vector<bool> up{true, false, false, true};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(stems[i]["y2"].get<int>() > stems[i]["y1"].get<int>(), up[i]) << i;
}

TEST_F(DrawNotes, AnAutomaticStemFarFromTheStaffReachesTheMiddleLine) {
    AddNote(0, 500, 1, 6, 4);  // C6, two ledger lines above
    DrawStaff(0);
    ASSERT_EQ(Calls("vline").size(), 1u);
    EXPECT_EQ(Calls("vline")[0]["y2"], Middle(0));
    // Without automatic stems the stem keeps its length.
    Staff(0).elements[0].noteWord().setStemAutomatic(false);
    DrawStaff(0);
    EXPECT_EQ(Calls("vline")[0]["y2"], Top(0) + 2 * Space() - 7 * Half());
}

TEST_F(DrawNotes, LedgerLinesAboveTheStaffFromTheHeadsLineTowardsTheStaff) {
    AddNote(0, 300, 7, 5, 4);  // B5: in the space just above the first ledger line: one line
    AddNote(0, 500, 1, 6, 4);  // C6: two
    AddNote(0, 700, 5, 5, 4);  // G5: the space above the top line: none
    AddNote(0, 900, 3, 6, 4);  // E6: three
    DrawStaff(0);
    std::vector<int> perNote(4, 0);
    for (const json& l : Calls("hline")) {
        const int centre = (l["x1"].get<int>() + l["x2"].get<int>()) / 2;
        perNote[static_cast<std::size_t>((centre - 300) / 200)]++;
        EXPECT_EQ((l["y1"].get<int>() - Top(0)) % Space(), 0);
        EXPECT_GT(l["y1"].get<int>(), Top(0));
    }
    EXPECT_EQ(perNote, (std::vector<int>{1, 2, 0, 3}));
    const auto ledgers = Calls("hline");
    // E6 draws from its own line down.
    EXPECT_EQ(ledgers[3]["y1"], Top(0) + 3 * Space());
    EXPECT_EQ(ledgers[5]["y1"], Top(0) + Space());
}

TEST_F(DrawNotes, DoubleFlatIsTwoFlatsTheSecondOneFlatWidthFurtherLeft) {
    AddNote(0, 500, 7, 4, 4, AutoStem, Accidental::DoubleFlat);
    DrawStaff(0);
    const auto flats = Glyphs(213);
    ASSERT_EQ(flats.size(), 2u);
    const int first = 500 - HeadHalf() - dc.widths.accidentalWidth[0][0] - AccidentalClearance(dc, 0, false);
    EXPECT_EQ(flats[0]["x"], first);
    EXPECT_EQ(flats[1]["x"], first - GlyphWidth(dc, 213));
    EXPECT_EQ(flats[0]["y"], Middle(0));
}

class AccidentalKinds : public DrawNotes, public ::testing::WithParamInterface<std::pair<Accidental, int>> {};

TEST_P(AccidentalKinds, EachKindWritesItsCode) {
    AddNote(0, 500, 7, 4, 4, AutoStem, GetParam().first);
    DrawStaff(0);
    EXPECT_EQ(Glyphs(GetParam().second).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(DrawNotes, AccidentalKinds,
                         ::testing::Values(std::pair{Accidental::Sharp, 211}, std::pair{Accidental::Flat, 213},
                                           std::pair{Accidental::Natural, 212}, std::pair{Accidental::DoubleSharp, 214},
                                           std::pair{Accidental::QuarterSharp, 244},
                                           std::pair{Accidental::QuarterFlat, 246}));

TEST_F(DrawNotes, AnAccidentalTheContextSuppliesIsNotDrawn) {
    AddNote(0, 500, 7, 4, 4, AutoStem, Accidental::Flat).noteWord().setHiddenAccidental(true);
    DrawStaff(0);
    EXPECT_TRUE(Glyphs(213).empty());
}

TEST_F(DrawNotes, ADotOnALineIsRaisedHalfASpaceAndADotInASpaceStaysLevel) {
    AddNote(0, 300, 5, 4, 4).noteWord().setDots(1);  // G4, a line
    AddNote(0, 600, 6, 4, 4).noteWord().setDots(2);  // A4, a space
    DrawStaff(0);
    const auto dots = Calls("disc");
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[0]["y"], Bottom(0) + Space() + Half());
    EXPECT_EQ(dots[0]["x"], 300 + 5 * dc.metrics.stepUnit / 2);
    EXPECT_EQ(dots[1]["y"], Bottom(0) + Space() + Half());
    EXPECT_EQ(dots[2]["x"].get<int>() - dots[1]["x"].get<int>(), std::max(dc.metrics.stepUnit, 6));
    EXPECT_EQ(dots[0]["r"], 4);
}

TEST_F(DrawNotes, ADotOnALedgerLineGoesIntoTheSpaceAboveToo) {
    AddNote(0, 300, 1, 4, 4).noteWord().setDots(1);  // middle C
    AddNote(0, 600, 1, 6, 4).noteWord().setDots(1);  // C6, two ledger lines above
    DrawStaff(0);
    const auto dots = Calls("disc");
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0]["y"], Bottom(0) - Space() + Half());
    EXPECT_EQ(dots[1]["y"], Top(0) + 2 * Space() + Half());
}

TEST_F(DrawNotes, DotsClearWholeNotesAndTheFlagsOfUpStems) {
    AddNote(0, 300, 5, 4, 2).noteWord().setDots(1);  // whole
    AddNote(0, 600, 5, 4, 6).noteWord().setDots(1);  // sixteenth, stem up
    AddNote(0, 900, 5, 4, 5).noteWord().setDots(1);  // eighth
    DrawStaff(0);
    const auto dots = Calls("disc");
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[0]["x"], 300 + 7 * dc.metrics.stepUnit / 2);
    EXPECT_EQ(dots[1]["x"], 600 + 7 * dc.metrics.stepUnit / 2);
    EXPECT_EQ(dots[2]["x"], 900 + 5 * dc.metrics.stepUnit / 2);
}

TEST_F(DrawNotes, HiddenDotsAreLeftOutUnlessHiddenElementsAreShown) {
    AddNote(0, 300, 6, 4, 4).noteWord().setDots(1);
    Staff(0).elements[0].w0().setHiddenDots(true);
    DrawStaff(0);
    EXPECT_TRUE(Calls("disc").empty());
    dc.draw.showHidden = true;
    DrawStaff(0);
    EXPECT_EQ(Calls("disc").size(), 1u);
}

TEST_F(DrawNotes, AHiddenNoteIsSkippedButDrawnWhenHiddenElementsAreShown) {
    AddNote(0, 500, 1, 4, 4, AutoStem, Accidental::Sharp);
    Staff(0).elements[0].w0().setHidden(true);
    DrawStaff(0);
    EXPECT_TRUE(canvas.calls().empty());
    dc.draw.showHidden = true;
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204).size(), 1u);
    EXPECT_EQ(Glyphs(211).size(), 1u);
    EXPECT_EQ(Calls("vline").size(), 1u);
    EXPECT_EQ(Calls("hline").size(), 1u);
}

TEST_F(DrawNotes, CueNotesUseTheCueFontAndShorterStems) {
    AddNote(0, 500, 5, 4, 5).w0().setCueSize(true);
    DrawStaff(0);
    ASSERT_EQ(Glyphs(204).size(), 1u);
    EXPECT_EQ(Glyphs(204)[0]["fontHeight"], 120);
    EXPECT_EQ(Glyphs(204)[0]["x"], 500 - GlyphAdvance(dc, 204) * 3 / 4 / 2);
    EXPECT_EQ(Glyphs(205)[0]["fontHeight"], 120);
    ASSERT_EQ(Calls("vline").size(), 1u);
    EXPECT_EQ(Calls("vline")[0]["y2"], Bottom(0) + Space() + 5 * Half());
    // The staff's own size is back for the next element.
    EXPECT_FALSE(dc.draw.isCueSize);
}

TEST_F(DrawNotes, NotesOfABeamGroupLeaveStemsAndFlagsToTheBeamDrawer) {
    AddNote(0, 300, 5, 4, 5).w0().setInBeam(true);
    AddNote(0, 360, 5, 4, 5).w0().setInBeam(true);
    AddNote(0, 500, 5, 4, 4).w0().setInBeam(true);  // a quarter keeps its stem, drawn with the note
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204).size(), 3u);
    EXPECT_TRUE(Glyphs(205).empty());
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 3u);
    EXPECT_GT(stems[0]["x"].get<int>(), 450);
    EXPECT_EQ(Calls("band").size(), 1u);
}

TEST_F(DrawNotes, HeadsOfEveryValueAndShape) {
    AddNote(0, 200, 5, 4, 2);                                 // whole: 201, no stem
    AddNote(0, 400, 5, 4, 3);                                 // half: 203
    AddNote(0, 600, 5, 4, 4).noteWord().setBit(16, true);     // open-headed quarter: 203
    AddNote(0, 800, 5, 4, 4).noteWord().setHeadShape(3);      // cross: 252
    AddNote(0, 1000, 5, 4, 2).noteWord().setBit(5, true);     // whole with the value shift: 202
    AddNote(0, 1200, 5, 4, 4).noteWord().setBit(5, true);     // quarter drawn as an eighth
    AddNote(0, 1400, 5, 4, 4).noteWord().setHeadShape(7);     // "Sans Queue": a normal head, no stem
    DrawStaff(0);
    EXPECT_EQ(Glyphs(201).size(), 1u);
    EXPECT_EQ(Glyphs(203).size(), 2u);
    EXPECT_EQ(Glyphs(252).size(), 1u);
    EXPECT_EQ(Glyphs(202).size(), 1u);
    EXPECT_EQ(Glyphs(205).size(), 1u);
    EXPECT_EQ(Glyphs(204).size(), 2u);
    EXPECT_EQ(Calls("vline").size(), 4u);
    // The whole note's head is centred on its x.
    EXPECT_EQ(Glyphs(201)[0]["x"], 200 - GlyphAdvance(dc, 201) / 2);
}

TEST_F(DrawNotes, BrevesAreTwoBandsClosedBySideStrokesAndLongasGrowATail) {
    AddNote(0, 500, 5, 4, 1);
    AddNote(0, 900, 5, 4, 0);
    DrawStaff(0);
    const int y = Bottom(0) + Space();
    const int w = dc.widths.breveHalfWidth[0];
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[0]["x1"], 500 - w);
    EXPECT_EQ(bands[0]["x2"], 500 + w);
    EXPECT_EQ(bands[0]["y1"].get<int>() + bands[0]["t"].get<int>(), y + Half());
    EXPECT_EQ(bands[1]["y1"], y - Half());
    EXPECT_EQ(bands[0]["t"], dc.thickness.beam / 2);
    const auto strokes = Calls("vline");
    ASSERT_EQ(strokes.size(), 4u);
    const int reach = Half() + static_cast<int>(dc.metrics.quarterSpace[0]);
    EXPECT_EQ(strokes[1]["y1"], y - reach);
    EXPECT_EQ(strokes[1]["y2"], y + reach);
    // The longa's right stroke goes on, up like a stem from below the middle line.
    EXPECT_EQ(strokes[3]["x"], 900 + w);
    EXPECT_EQ(strokes[3]["y2"], y + 7 * Half());
    EXPECT_TRUE(Glyphs(201).empty());
}

TEST_F(DrawNotes, ArticulationsSitOppositeTheStemOrAtItsEnd) {
    // G4 with an up stem, staccato below: the line below is the bottom line, so the dot goes to the space under it.
    auto& a = AddNote(0, 300, 5, 4, 4);
    a.noteWord().setStaccato(true);
    a.noteWord().setAccentType(1);
    // F4 with an up stem, accent at the stem's end (kind 6): half a space beyond it.
    auto& b = AddNote(0, 600, 4, 4, 4);
    b.noteWord().setStaccato(true);
    b.noteWord().setAccentType(6);
    // B4 with a down stem, wedge above (kind 3): a line, so into the space above.
    auto& c = AddNote(0, 900, 7, 4, 4);
    c.noteWord().setStaccato(true);
    c.noteWord().setAccentType(3);
    DrawStaff(0);
    ASSERT_EQ(Glyphs(107).size(), 1u);
    EXPECT_EQ(Glyphs(107)[0]["y"], Bottom(0) - Half());
    ASSERT_EQ(Glyphs(62).size(), 1u);
    EXPECT_EQ(Glyphs(62)[0]["y"], Bottom(0) + Half() + 7 * Half() + Half());
    ASSERT_EQ(Glyphs(60).size(), 1u);
    EXPECT_EQ(Glyphs(60)[0]["y"], Middle(0) + Space() + Half());
}

TEST_F(DrawNotes, TheOtherSideFlagMovesAnArticulationToTheStemEnd) {
    auto& a = AddNote(0, 300, 6, 4, 4);  // A4, stem up
    a.noteWord().setStaccato(true);
    a.noteWord().setAccentType(5);
    a.noteWord().setStaccatoOtherSide(true);
    DrawStaff(0);
    // A marcato above, beyond the stem's end.
    ASSERT_EQ(Glyphs(58).size(), 1u);
    EXPECT_GT(Glyphs(58)[0]["y"].get<int>(), Bottom(0) + Space() + Half() + 7 * Half());
    EXPECT_TRUE(Glyphs(59).empty());
}

TEST_F(DrawNotes, BrevesCarryNoArticulation) {
    auto& a = AddNote(0, 300, 6, 4, 1);
    a.noteWord().setStaccato(true);
    a.noteWord().setAccentType(1);
    DrawStaff(0);
    EXPECT_TRUE(Glyphs(107).empty());
}

TEST_F(DrawNotes, StemPositionCorrectionMovesTheStemIntoTheHead) {
    AddNote(0, 500, 5, 4, 4);
    DrawStaff(0);
    const int atDefault = Calls("vline")[0]["x"];
    const int headAtDefault = Glyphs(204)[0]["x"];
    dc.corrections.stemPosition = 6;
    DrawStaff(0);
    const int d = HeadHalf() * 4 / 20;
    EXPECT_EQ(Glyphs(204)[0]["x"], headAtDefault + d);
    EXPECT_EQ(Calls("vline")[0]["x"], atDefault - d);
}

TEST_F(DrawNotes, AManualStemCorrectionLengthensTheStem) {
    auto& e = AddNote(0, 500, 5, 4, 4);
    const std::uint8_t payload[] = {15, 0};
    e.attachBlob(payload);
    DrawStaff(0);
    EXPECT_EQ(Calls("vline")[0]["y2"], Bottom(0) + Space() + 7 * Half() + 15);
}

TEST_F(DrawNotes, AHeadOnTheOtherSideOfItsStemMovesOneHeadWidth) {
    AddNote(0, 500, 5, 4, 4).noteWord().setBit(20, true);  // up stem: to the right
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204)[0]["x"], 500 - HeadHalf() + 2 * HeadHalf());
    // The stem stays where the head would have been.
    EXPECT_LT(Calls("vline")[0]["x"].get<int>(), 500 + HeadHalf());
}

TEST_F(DrawNotes, OldNotationLinesWriteTheAlternateFlatAndQuarterRestAndCentreTheirStems) {
    dc.draw.alternateGlyphs = true;
    AddNote(0, 300, 7, 4, 4, AutoStem, Accidental::Flat);
    AddRest(0, 600, 4, 4);
    DrawStaff(0);
    EXPECT_EQ(Glyphs(233).size(), 1u);
    EXPECT_EQ(Glyphs(235).size(), 1u);
    ASSERT_EQ(Calls("vline").size(), 1u);
    EXPECT_EQ(Calls("vline")[0]["x"], 300);
    EXPECT_EQ(Calls("vline")[0]["y1"], Middle(0) - Half());
}

TEST_F(DrawNotes, ACrossStaffNoteIsDrawnOnTheNeighbourStaffWithItsClef) {
    SetClef(1, test::BassClef);
    AddNote(0, 500, 1, 4, 4).w0().setCrossStaff(2);  // middle C placed on the bass staff below
    DrawStaff(0);
    ASSERT_EQ(Glyphs(204).size(), 1u);
    EXPECT_EQ(Glyphs(204)[0]["y"], Top(1) + Space());
    // A placement towards a staff the page does not have stays on the note's own staff.
    Staff(0).elements[0].w0().setCrossStaff(1);
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204)[0]["y"], Bottom(0) - Space());
}

TEST_F(DrawNotes, SignsIndicesOutsideTheStaffAndUnplacedStavesDrawNothing) {
    AddNote(0, 500, 5, 4, 4);
    ElementRecord sign;
    sign.w0().setKind(ElementKind::Sign);
    Staff(0).elements.push_back(sign);
    canvas.clear();
    DrawNoteOrRest(dc, Staff(0), 1);
    DrawNoteOrRest(dc, Staff(0), 2);
    DrawNoteOrRest(dc, Staff(0), -1);
    dc.staves.clear();
    DrawNoteOrRest(dc, Staff(0), 0);
    EXPECT_TRUE(canvas.calls().empty());
}

// Rests: the rest's height is the line its half rest stands on.
TEST_F(DrawNotes, GlyphRestsAreCentredOneSpaceAboveTheRestsHeight) {
    AddRest(0, 300, 4, 4);  // E4: the bottom line
    AddRest(0, 600, 4, 7);
    DrawStaff(0);
    ASSERT_EQ(Glyphs(215).size(), 1u);
    EXPECT_EQ(Glyphs(215)[0]["x"], 300 - HeadHalf());
    EXPECT_EQ(Glyphs(215)[0]["y"], Bottom(0) + Space());
    EXPECT_EQ(Glyphs(218).size(), 1u);
}

TEST_F(DrawNotes, WholeRestsHangAndHalfRestsStand) {
    AddRest(0, 300, 4, 2);
    AddRest(0, 600, 4, 3);
    DrawStaff(0);
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 2u);
    // The whole rest hangs half a space from the line two spaces above its height, the half rest stands on the line
    // one space above it.
    EXPECT_EQ(bands[0]["y1"], Bottom(0) + 2 * Space() - Half());
    EXPECT_EQ(bands[0]["t"], Half());
    EXPECT_EQ(bands[1]["y1"], Bottom(0) + Space());
    EXPECT_EQ(bands[0]["x1"].get<int>() + bands[0]["x2"].get<int>(), 2 * 300);
    EXPECT_TRUE(Calls("hline").empty());
}

TEST_F(DrawNotes, ABlockRestInASpaceGoesDownToTheLineAndOutsideTheStaffGetsALedgerStroke) {
    AddRest(0, 300, 5, 2);  // E5, a space: down to D5; the whole rest hangs from F5+space
    AddRest(0, 600, 3, 3);  // E3: far below; a half rest on its line gets a ledger stroke
    DrawStaff(0);
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0]["y1"], Top(0) - Space() + 2 * Space() - Half());
    const auto ledger = Calls("hline");
    ASSERT_EQ(ledger.size(), 2u);  // the whole rest above the staff too
    EXPECT_EQ(ledger[1]["y1"], Bottom(0) - 3 * Space() - Half() + Space() - Half());
    EXPECT_EQ(ledger[1]["width"], dc.thickness.staffLine);
}

TEST_F(DrawNotes, LongaBreveAndMultiBarRests) {
    AddRest(0, 300, 4, 0);
    AddRest(0, 600, 4, 1);
    AddRest(0, 900, 4, 2).noteWord().setDurationCode(15);
    DrawStaff(0);
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 3u);
    const int w = dc.metrics.stepUnit;
    EXPECT_EQ(bands[0]["y1"], Bottom(0));
    EXPECT_EQ(bands[0]["t"], 2 * Space());
    EXPECT_EQ(bands[0]["x2"].get<int>() - bands[0]["x1"].get<int>(), 2 * (w / 4));
    EXPECT_EQ(bands[1]["y1"], Bottom(0) + Space());
    EXPECT_EQ(bands[1]["t"], Space());
    EXPECT_EQ(Calls("hline").size(), 2u);  // the breve rest's thin strokes
    EXPECT_EQ(bands[2]["y1"], Bottom(0) + Space());
    EXPECT_EQ(bands[2]["x1"], 900 - 2 * w / 3);
}

TEST_F(DrawNotes, RestValueShiftAndDots) {
    auto& q = AddRest(0, 300, 4, 4);
    q.noteWord().setBit(5, true);  // drawn as an eighth rest
    q.noteWord().setDots(1);
    DrawStaff(0);
    ASSERT_EQ(Glyphs(216).size(), 1u);
    const auto dots = Calls("disc");
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0]["x"], 300 - HeadHalf() + 3 * dc.metrics.stepUnit);
    EXPECT_EQ(dots[0]["y"], Bottom(0) + Space() + Half());
}

TEST_F(DrawNotes, AWholeRestOnAOneLineStaffHangsFromItsLine) {
    dc.staves[0].lines = 1;
    dc.staves[0].clefs.clear();  // a percussion staff: clef value 0
    AddRest(0, 300, 4, 2);       // E4 with clef value 0: one space below the line
    DrawStaff(0);
    ASSERT_EQ(Calls("band").size(), 1u);
    EXPECT_EQ(Calls("band")[0]["y1"], Middle(0) - Half());
}

// A rest as the editor and the GUIDO import create it, under the clef written on its staff.
struct NewRestCase {
    int clef;  // clef number
    int clefValue;
};

class NewRests : public DrawNotes, public ::testing::WithParamInterface<NewRestCase> {
protected:
    void restsUnderTheClef() {
        doc.currentStaff = 0;
        doc.currentElement = -1;
        ASSERT_NE(CreateSign(doc, 20, 0, GetParam().clef, SignType::Clef, 0), nullptr);
        SetClef(0, GetParam().clefValue);
        for (const auto& [x, value] : {std::pair{300, 4u}, {500, 3u}, {700, 2u}, {900, 6u}}) {
            doc.insertion.durationCode = value;
            doc.insertion.octave = 1;  // the octave of the notes around has no say
            ASSERT_NE(CreateNoteOrRest(doc, x, true, 0), nullptr);
        }
        for (int i = 1; i <= 4; ++i) DrawNoteOrRest(dc, Staff(0), i);
    }
};

TEST_P(NewRests, SitWhereEngraversPutThem) {
    restsUnderTheClef();
    // The quarter and sixteenth rests centred on the middle line, the half rest standing on it, the whole rest
    // hanging from the fourth line.
    ASSERT_EQ(Glyphs(215).size(), 1u);
    EXPECT_EQ(Glyphs(215)[0]["y"], Middle(0));
    ASSERT_EQ(Glyphs(217).size(), 1u);
    EXPECT_EQ(Glyphs(217)[0]["y"], Middle(0));
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0]["y1"], Middle(0));
    EXPECT_EQ(bands[1]["y1"], Middle(0) + Space() - Half());
    EXPECT_TRUE(Calls("hline").empty());
}

INSTANTIATE_TEST_SUITE_P(Clefs, NewRests,
                         ::testing::Values(NewRestCase{1, -2}, NewRestCase{2, -4}, NewRestCase{3, 10},
                                           NewRestCase{7, 4}, NewRestCase{10, 12}, NewRestCase{12, 0}));

}  // namespace
}  // namespace notavera
