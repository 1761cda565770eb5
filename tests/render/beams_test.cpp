// Beam groups through the recording canvas: finding groups, the shared direction, stems meeting the beam, the slope
// limits, secondary beams and partial beams, beamed chords, cue-size beams and the average beam height.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "render/beams.h"
#include "render/chords.h"
#include "render/document_drawing_settings.h"
#include "render/draw_notes.h"
#include "render/music_font_table.h"
#include "support/cli_runner.h"
#include "support/note_drawing_fixture.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using nlohmann::json;
using test::AutoStem;
using test::ChordBit;

enum class Role { Open, Inside, Close };

class Beams : public test::NoteDrawingTest {
protected:
    // A note of a beam group on staff 0 (name 1–7, octave, duration code, dots).
    void AddBeamed(int x, unsigned name, unsigned octave, unsigned duration, Role role, unsigned dots = 0,
                   std::uint32_t flags = AutoStem) {
        ElementRecord& e = AddNote(0, x, name, octave, duration, flags);
        Mark(e, role);
        e.noteWord().setDots(dots);
    }
    static void Mark(ElementRecord& e, Role role) {
        e.w0().setInBeam(true);
        e.w0().setOpensBeam(role == Role::Open);
        e.w0().setClosesBeam(role == Role::Close);
    }

    BeamLayout LayOut() {
        const auto range = FindBeamGroup(Staff(0), 0);
        EXPECT_TRUE(range.has_value());
        const auto layout = range ? LayOutBeamGroup(dc, Staff(0), *range) : std::nullopt;
        EXPECT_TRUE(layout.has_value());
        return layout.value_or(BeamLayout{});
    }

    // The height of a recorded band's first edge above x.
    static double BandEdgeAt(const json& band, int x) {
        const double x1 = band["x1"], x2 = band["x2"], y1 = band["y1"], y2 = band["y2"];
        return x2 == x1 ? y1 : y1 + (y2 - y1) * (x - x1) / (x2 - x1);
    }
    static double Slope(const json& band) {
        const double dy = band["y2"].get<double>() - band["y1"].get<double>();
        return dy / (band["x2"].get<double>() - band["x1"].get<double>());
    }
    int StemLeft(const json& stem) const { return stem["x"].get<int>() - dc.thickness.stem / 2; }
    int StemRight(const json& stem) const { return StemLeft(stem) + dc.thickness.stem; }
};

TEST_F(Beams, StemsOfFourEighthsMeetOneBeamThatSpansThemExactly) {
    AddBeamed(400, 5, 4, 5, Role::Open);  // G4 A4 B4 C5: the G is farthest from the middle line, stems up
    AddBeamed(460, 6, 4, 5, Role::Inside);
    AddBeamed(520, 7, 4, 5, Role::Inside);
    AddBeamed(580, 1, 5, 5, Role::Close);
    DrawStaff(0);
    const auto stems = Calls("vline");
    const auto bands = Calls("band");
    ASSERT_EQ(stems.size(), 4u);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_TRUE(Glyphs(205).empty());  // no flags under a beam
    const json& beam = bands[0];
    EXPECT_LT(beam["t"].get<int>(), 0);  // up stems: the beam hangs from its outer edge towards the heads
    EXPECT_EQ(beam["x1"], StemLeft(stems[0]));
    EXPECT_EQ(beam["x2"], StemRight(stems[3]));
    for (const json& s : stems) {
        EXPECT_GT(s["y2"].get<int>(), s["y1"].get<int>());
        EXPECT_NEAR(s["y2"].get<double>(), BandEdgeAt(beam, s["x"]), 1.0);
    }
    // Rising notes, a rising beam.
    EXPECT_GT(beam["y2"].get<int>(), beam["y1"].get<int>());
}

TEST_F(Beams, HighNotesPointTheirStemsDownWithTheBeamBelow) {
    AddBeamed(400, 2, 5, 5, Role::Open);  // D5 F5 A5
    AddBeamed(460, 4, 5, 5, Role::Inside);
    AddBeamed(520, 6, 5, 5, Role::Close);
    DrawStaff(0);
    const auto stems = Calls("vline");
    const auto bands = Calls("band");
    ASSERT_EQ(stems.size(), 3u);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_GT(bands[0]["t"].get<int>(), 0);
    for (std::size_t k = 0; k < stems.size(); ++k) {
        const json& s = stems[k];
        EXPECT_LT(s["y2"].get<int>(), s["y1"].get<int>());
        EXPECT_LT(s["x"].get<int>(), 400 + 60 * static_cast<int>(k));  // on the heads' left
        EXPECT_NEAR(s["y2"].get<double>(), BandEdgeAt(bands[0], s["x"]), 1.0);
    }
    // Under D5 (half a space below the top line) the beam's inner edge leaves two spaces of clear stem.
    const double inner = BandEdgeAt(bands[0], stems[0]["x"]) + bands[0]["t"].get<int>();
    EXPECT_LE(inner, Top(0) - Half() - 2 * Space() + 1);
}

TEST_F(Beams, TheFarthestNoteFromTheMiddleLineDecidesTheDirection) {
    AddBeamed(400, 3, 4, 5, Role::Open);   // E4: three half spaces below the middle line...
    AddBeamed(460, 1, 6, 5, Role::Close);  // ...C6: seven above, so the stems point down
    const BeamLayout layout = LayOut();
    EXPECT_FALSE(layout.up);
}

TEST_F(Beams, AGroupBalancedOnTheMiddleLinePointsDown) {
    AddBeamed(400, 5, 4, 5, Role::Open);   // G4, two half spaces below
    AddBeamed(460, 2, 5, 5, Role::Close);  // D5, two above
    EXPECT_FALSE(LayOut().up);
}

TEST_F(Beams, AFixedStemDirectionOnANoteDecidesForTheGroup) {
    AddBeamed(400, 2, 5, 5, Role::Open, 0, test::StemUpFlag);  // high notes with fixed up stems
    AddBeamed(460, 4, 5, 5, Role::Close);
    EXPECT_TRUE(LayOut().up);
}

TEST_F(Beams, AFittedSlopeUnderTheMinimumGivesALevelBeam) {
    AddBeamed(400, 5, 4, 5, Role::Open);   // G4 then A4 two hundred units on: 10 / 200 = 0.05
    AddBeamed(600, 6, 4, 5, Role::Close);
    const BeamLayout layout = LayOut();
    EXPECT_EQ(layout.slope, 0.0);
    DrawStaff(0);
    ASSERT_EQ(Calls("band").size(), 1u);
    EXPECT_EQ(Calls("band")[0]["y1"], Calls("band")[0]["y2"]);
}

class BeamSlopeLimit : public Beams, public ::testing::WithParamInterface<int> {};

TEST_P(BeamSlopeLimit, ASteepFitIsClampedToTheMaximumWithItsSign) {
    const int sign = GetParam();
    AddBeamed(400, 1, sign > 0 ? 4 : 6, 5, Role::Open);  // two octaves in 60 units
    AddBeamed(460, 1, sign > 0 ? 6 : 4, 5, Role::Close);
    const BeamLayout layout = LayOut();
    EXPECT_DOUBLE_EQ(layout.slope, sign * 0.30);
    DrawStaff(0);
    ASSERT_EQ(Calls("band").size(), 1u);
    EXPECT_NEAR(Slope(Calls("band")[0]), sign * 0.30, 0.03);
}

INSTANTIATE_TEST_SUITE_P(RisingAndFalling, BeamSlopeLimit, ::testing::Values(1, -1));

TEST_F(Beams, ThePageFormatsLimitsAndTheStoredCorrectionApply) {
    dc.beams.maxSlope = 0.5;
    AddBeamed(400, 1, 4, 5, Role::Open);
    AddBeamed(460, 1, 6, 5, Role::Close);
    EXPECT_DOUBLE_EQ(LayOut().slope, 0.5);
    // A correction of -0.20 in the opening note's blob (second word, hundredths).
    const std::int16_t words[2] = {0, -20};
    Staff(0).elements[0].attachBlob(std::span(reinterpret_cast<const std::uint8_t*>(words), sizeof words));
    EXPECT_NEAR(LayOut().slope, 0.30, 1e-9);
}

TEST_F(Beams, SixteenthsTakeASecondBeamOneBeamPitchInside) {
    for (int k = 0; k < 4; ++k)
        AddBeamed(400 + 50 * k, 5, 4, 6, k == 0 ? Role::Open : (k == 3 ? Role::Close : Role::Inside));
    DrawStaff(0);
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 2u);
    const BeamLayout layout = LayOut();
    EXPECT_EQ(bands[1]["x1"], bands[0]["x1"]);
    EXPECT_EQ(bands[1]["x2"], bands[0]["x2"]);
    EXPECT_EQ(bands[0]["y1"].get<int>() - bands[1]["y1"].get<int>(), layout.thickness + layout.gap);
}

TEST_F(Beams, DottedEighthAndSixteenthHookPointsBackToTheDottedNote) {
    AddBeamed(400, 5, 4, 5, Role::Open, 1);
    AddBeamed(500, 5, 4, 6, Role::Close);
    DrawStaff(0);
    const auto stems = Calls("vline");
    const auto bands = Calls("band");
    ASSERT_EQ(stems.size(), 2u);
    ASSERT_EQ(bands.size(), 2u);
    const json& hook = bands[1];
    EXPECT_EQ(hook["x2"], StemRight(stems[1]));
    const int length = hook["x2"].get<int>() - hook["x1"].get<int>();
    EXPECT_EQ(length, 2 * HeadHalf());
}

TEST_F(Beams, SixteenthBeforeADottedEighthHooksForward) {
    AddBeamed(400, 5, 4, 6, Role::Open);
    AddBeamed(500, 5, 4, 5, Role::Close, 1);
    DrawStaff(0);
    const auto stems = Calls("vline");
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[1]["x1"], StemLeft(stems[0]));
    EXPECT_EQ(bands[1]["x2"].get<int>() - bands[1]["x1"].get<int>(), 2 * HeadHalf());
}

TEST_F(Beams, InsideAGroupASixteenthAfterADottedEighthHooksBack) {
    // 8. 16 8. 16: the second note completes the first beat, its hook points back.
    AddBeamed(400, 5, 4, 5, Role::Open, 1);
    AddBeamed(480, 5, 4, 6, Role::Inside);
    AddBeamed(520, 5, 4, 5, Role::Inside, 1);
    AddBeamed(600, 5, 4, 6, Role::Close);
    DrawStaff(0);
    const auto stems = Calls("vline");
    const auto bands = Calls("band");
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[1]["x2"], StemRight(stems[1]));
    EXPECT_EQ(bands[2]["x2"], StemRight(stems[3]));
    // A hook never reaches more than half way to its neighbour.
    EXPECT_LE(bands[1]["x2"].get<int>() - bands[1]["x1"].get<int>(), (480 - 400) / 2 + dc.thickness.stem);
}

TEST_F(Beams, ABeamedChordsStemRunsFromItsFarthestHeadToTheBeam) {
    for (auto [name, octave] : {std::pair{1u, 4u}, {3u, 4u}, {5u, 4u}}) {
        ElementRecord& e = AddNote(0, 400, name, octave, 5, AutoStem | ChordBit);
        e.w0().setInBeam(true);
    }
    Staff(0).elements[0].w0().setOpensBeam(true);
    AddBeamed(470, 7, 4, 5, Role::Close);
    DrawStaff(0);
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 2u);  // one stem for the chord, drawn with the beam
    ASSERT_EQ(Calls("band").size(), 1u);
    const int c4 = Bottom(0) - Space();
    EXPECT_LT(stems[0]["y1"].get<int>(), c4 + Half());  // from the lowest head
    // Above the highest head (G4) by at least the clear stem and the beam.
    EXPECT_GE(stems[0]["y2"].get<int>(), c4 + 2 * Space() + 2 * Space());
    EXPECT_NEAR(stems[0]["y2"].get<double>(), BandEdgeAt(Calls("band")[0], stems[0]["x"]), 1.0);
    EXPECT_EQ(Glyphs(204).size(), 4u);
}

TEST_F(Beams, ABeamedChordWithAutomaticStemsTakesTheGroupsDirection) {
    // The chord alone would point up (it lies below the middle line); the high note turns the group down.
    for (auto [name, octave] : {std::pair{5u, 4u}, {7u, 4u}}) {
        ElementRecord& e = AddNote(0, 400, name, octave, 5, AutoStem | ChordBit);
        e.w0().setInBeam(true);
    }
    Staff(0).elements[0].w0().setOpensBeam(true);
    AddBeamed(470, 3, 6, 5, Role::Close);
    const auto chord = LayOutChord(dc, Staff(0), FindChordRun(Staff(0), 0));
    ASSERT_TRUE(chord.has_value());
    EXPECT_FALSE(chord->stemUp);
    EXPECT_FALSE(LayOut().up);
}

TEST_F(Beams, AStaccatoOnABeamedNoteGoesOnTheHeadSideOfTheGroupsStem) {
    // G4 alone would point up and take its dot below; the group points down, so the dot goes above, clear of the
    // stem and beam below.
    AddBeamed(400, 5, 4, 5, Role::Open);   // G4
    AddBeamed(470, 4, 5, 5, Role::Close);  // F5, farther from the middle line
    Staff(0).elements[0].noteWord().setStaccato(true);
    Staff(0).elements[0].noteWord().setAccentType(1);
    ASSERT_FALSE(LayOut().up);
    DrawStaff(0);
    const auto dots = Glyphs(107);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_GT(dots[0]["y"].get<int>(), Bottom(0) + Space());
}

TEST_F(Beams, CueNotesTakeThinnerBeams) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 6, 4, 5, Role::Close);
    const int normal = LayOut().thickness;
    for (ElementRecord& e : Staff(0).elements) e.w0().setCueSize(true);
    const int cue = LayOut().thickness;
    EXPECT_EQ(normal, Space() / 2);  // the font's half space at the default "Barres valeur"
    EXPECT_EQ(cue, static_cast<int>(std::lround(Space() / 2.0 * 3 / 4)));
}

TEST_F(Beams, BeamThicknessFollowsTheFormatsSettingFromItsDefault) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 6, 4, 5, Role::Close);
    dc.thickness.beam = 20;
    dc.thickness.beamGap = 10;
    const BeamLayout layout = LayOut();
    EXPECT_EQ(layout.thickness, Space());
    EXPECT_EQ(layout.gap, Space() / 2);
}

TEST_F(Beams, TheAverageBeamHeightSetsTheStemsClearLength) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 5, 4, 5, Role::Close);
    const int g4 = Bottom(0) + Space();
    const BeamLayout three = LayOut();
    EXPECT_EQ(three.stems[0].to - three.thickness - g4, 3 * Space());
    dc.beams.averageHeight = 4.0;
    const BeamLayout four = LayOut();
    EXPECT_EQ(four.stems[0].to - four.thickness - g4, 4 * Space());
}

TEST_F(Beams, NotesBelowTheStaffStretchTheirStemsToTheMiddleLine) {
    AddBeamed(400, 1, 3, 5, Role::Open);  // C3 and D3 under a treble staff
    AddBeamed(460, 2, 3, 5, Role::Close);
    const BeamLayout layout = LayOut();
    ASSERT_TRUE(layout.up);
    for (const BeamedStem& s : layout.stems) EXPECT_GE(s.to, Middle(0));
}

TEST_F(Beams, AGroupNeverClosedStillGetsItsBeam) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 6, 4, 5, Role::Inside);
    AddNote(0, 540, 7, 4, 4);  // a quarter outside any group ends it
    DrawStaff(0);
    EXPECT_EQ(Calls("band").size(), 1u);
    EXPECT_EQ(Calls("vline").size(), 3u);
}

TEST_F(Beams, ALoneEighthInAGroupKeepsItsStemAndFlag) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 6, 4, 4, Role::Close);  // a quarter closes: only one note takes a beam
    DrawStaff(0);
    EXPECT_TRUE(Calls("band").empty());
    EXPECT_EQ(Calls("vline").size(), 2u);
    EXPECT_EQ(Glyphs(205).size(), 1u);
}

TEST_F(Beams, AHiddenLastNoteLeavesTheGroupToTheNotesShown) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 6, 4, 5, Role::Inside);
    AddBeamed(520, 7, 4, 5, Role::Close);
    Staff(0).elements[2].w0().setHidden(true);
    DrawStaff(0);
    EXPECT_EQ(Calls("band").size(), 1u);
    EXPECT_EQ(Calls("vline").size(), 2u);
}

TEST_F(Beams, GroupsAreFoundFromAnyMemberAndEndAtTheirClosingNote) {
    AddBeamed(400, 5, 4, 5, Role::Open);
    AddBeamed(460, 6, 4, 5, Role::Close);
    AddBeamed(520, 5, 4, 5, Role::Open);
    AddBeamed(580, 6, 4, 5, Role::Close);
    const auto second = FindBeamGroup(Staff(0), 3);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->first, 2);
    EXPECT_EQ(second->last, 3);
    EXPECT_EQ(FindBeamGroup(Staff(0), 1)->first, 0);
    EXPECT_FALSE(FindBeamGroup(Staff(0), 7).has_value());
    DrawStaff(0);
    EXPECT_EQ(Calls("band").size(), 2u);
}

TEST(BeamDocumentSettings, TheFormatsSlopesAndAverageHeightReachTheDrawing) {
    ScoreDocument doc;
    DrawingContext dc;
    UseDocumentSettings(dc, doc);
    EXPECT_DOUBLE_EQ(dc.beams.minSlope, 0.10);
    EXPECT_DOUBLE_EQ(dc.beams.maxSlope, 0.30);
    EXPECT_DOUBLE_EQ(dc.beams.averageHeight, 3.0);
    doc.header.pageFormat().bytes()[6] = 0;  // a maximum of 0, as older documents hold it
    doc.settings.averageBeamHeight = 9.0;
    UseDocumentSettings(dc, doc);
    EXPECT_DOUBLE_EQ(dc.beams.maxSlope, 0.10);
    EXPECT_DOUBLE_EQ(dc.beams.averageHeight, 4.0);
}

TEST(BeamsEndToEnd, AnImportedScoreIsRenderedWithItsBeamsAndTripletNumber) {
    const test::TempDir dir;
    test::WriteText(dir / "beams.gmn", "[ \\clef<\"g\"> \\beam(g1/8 a b c2) \\beam(c2/8. d/16) \\beam(c2/12 d e) ]");
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "beams.gmn", "beams.mus"}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"render", "beams.mus", "--page", "1", "--out", "page.json"}).status, 0);
    const json calls = json::parse(std::ifstream(dir / "page.json"));
    int bands = 0, numbers = 0;
    for (const json& c : calls) {
        if (c["op"] == "band") ++bands;
        if (c["op"] == "glyphText" && c["codes"] == json::array({TupletDigitCode + 3})) ++numbers;
    }
    EXPECT_EQ(bands, 4);  // three primary beams and the sixteenth's hook
    EXPECT_EQ(numbers, 1);
}

}  // namespace
}  // namespace notavera
