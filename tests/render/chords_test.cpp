// Chord layout and drawing: order, stem direction, seconds on the other side, the stem member, accidental columns,
// dots, hidden members, and runs of members.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/chords.h"
#include "render/draw_notes.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using nlohmann::json;
using test::AutoStem;
using test::ChordBit;

class Chords : public test::NoteDrawingTest {
protected:
    // A chord of (name, octave) members at x on staff 0; returns the run it forms.
    ChordRun AddChord(int x, std::initializer_list<std::pair<unsigned, unsigned>> members, unsigned duration = 4,
                      Accidental accidental = Accidental::None, std::uint32_t flags = AutoStem) {
        for (auto [name, octave] : members) AddNote(0, x, name, octave, duration, flags | ChordBit, accidental);
        return FindChordRun(Staff(0), static_cast<int>(Staff(0).elements.size()) - 1);
    }

    ChordLayout LayOut(ChordRun run) {
        auto layout = LayOutChord(dc, Staff(0), run);
        EXPECT_TRUE(layout.has_value());
        return layout.value_or(ChordLayout{});
    }

    // The member of the walk whose head lies at height y.
    const ChordMember& At(const ChordLayout& chord, int y) {
        for (const ChordMember& m : chord.walk) {
            if (m.layout.y == y) return m;
        }
        ADD_FAILURE() << "no member at " << y;
        return chord.walk.front();
    }

    int C4() const { return Bottom(0) - Space(); }
};

TEST_F(Chords, CDEClusterWithAnUpStemPutsDOnTheOtherSide) {
    const ChordLayout chord = LayOut(AddChord(500, {{1, 4}, {2, 4}, {3, 4}}));
    EXPECT_TRUE(chord.stemUp);
    ASSERT_EQ(chord.walk.size(), 3u);
    EXPECT_EQ(chord.root().layout.y, C4());
    EXPECT_EQ(chord.stemMember().layout.y, C4() + Space());
    EXPECT_FALSE(At(chord, C4()).moved);
    EXPECT_TRUE(At(chord, C4() + Half()).moved);
    EXPECT_FALSE(At(chord, C4() + Space()).moved);

    DrawStaff(0);
    const auto heads = Glyphs(204);
    ASSERT_EQ(heads.size(), 3u);
    EXPECT_EQ(heads[0]["x"], 500 - HeadHalf());
    EXPECT_EQ(heads[1]["x"], 500 - HeadHalf() + 2 * HeadHalf());
    EXPECT_EQ(heads[2]["x"], 500 - HeadHalf());
}

TEST_F(Chords, ADownStemClusterMovesItsSecondsToTheLeft) {
    const ChordLayout chord = LayOut(AddChord(500, {{1, 5}, {2, 5}, {3, 5}}));
    EXPECT_FALSE(chord.stemUp);
    EXPECT_EQ(chord.root().layout.y, Top(0) - Half());  // E5 first: the walk starts from the highest
    EXPECT_TRUE(At(chord, Top(0) - Space()).moved);
    EXPECT_EQ(At(chord, Top(0) - Space()).layout.headShift, -2 * HeadHalf());
}

TEST_F(Chords, MembersAThirdApartNeverMove) {
    const ChordLayout chord = LayOut(AddChord(500, {{1, 4}, {3, 4}, {5, 4}, {7, 4}}));
    for (const ChordMember& m : chord.walk) EXPECT_FALSE(m.moved);
}

TEST_F(Chords, AChordWhoseAverageIsOnTheMiddleLineGetsADownStem) {
    const ChordLayout chord = LayOut(AddChord(500, {{6, 4}, {1, 5}}));  // A4 and C5 around B4
    EXPECT_FALSE(chord.stemUp);
    const ChordLayout below = LayOut(AddChord(900, {{5, 4}, {1, 5}}));  // G4 and C5: just below
    EXPECT_TRUE(below.stemUp);
}

TEST_F(Chords, WithoutAutomaticStemsTheStemUpFlagDecides) {
    const ChordLayout chord = LayOut(AddChord(500, {{6, 5}, {1, 6}}, 4, Accidental::None, test::StemUpFlag));
    EXPECT_TRUE(chord.stemUp);
}

TEST_F(Chords, OneStemRunsFromTheRootToBeyondTheStemMemberWhichAloneDrawsTheFlags) {
    AddChord(500, {{1, 4}, {5, 4}}, 6);  // C4 and G4, sixteenths
    DrawStaff(0);
    const auto stems = Calls("vline");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_LT(stems[0]["y1"].get<int>(), C4() + Half());
    EXPECT_EQ(stems[0]["y2"], C4() + 2 * Space() + 7 * Half() + Space());
    EXPECT_EQ(Glyphs(205).size(), 2u);
    EXPECT_EQ(Glyphs(204).size(), 2u);
    EXPECT_EQ(Calls("hline").size(), 1u);  // C4's ledger line
}

TEST_F(Chords, TheChordIsDrawnOnceWhenItsLastMemberIsMet) {
    AddChord(500, {{1, 4}, {3, 4}, {5, 4}});
    canvas.clear();
    DrawNoteOrRest(dc, Staff(0), 0);
    DrawNoteOrRest(dc, Staff(0), 1);
    EXPECT_TRUE(canvas.calls().empty());
    DrawNoteOrRest(dc, Staff(0), 2);
    EXPECT_EQ(Glyphs(204).size(), 3u);
}

TEST_F(Chords, HiddenMembersAreLeftOutAndTheLastDrawnMemberDrawsTheChord) {
    AddChord(500, {{1, 4}, {3, 4}, {5, 4}});
    Staff(0).elements[2].w0().setHidden(true);
    canvas.clear();
    DrawNoteOrRest(dc, Staff(0), 1);
    EXPECT_EQ(Glyphs(204).size(), 2u);
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204).size(), 2u);
    dc.draw.showHidden = true;
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204).size(), 3u);
}

TEST_F(Chords, AccidentalsOfACloseChordStackInColumnsAndAnOctaveSharesTheFirst) {
    const ChordLayout close = LayOut(AddChord(500, {{1, 4}, {3, 4}}, 4, Accidental::Sharp));
    const int c = *At(close, C4()).layout.accidentalX;
    const int e = *At(close, C4() + Space()).layout.accidentalX;
    EXPECT_LT(e, c);
    EXPECT_EQ(c - e, dc.widths.accidentalWidth[0][0] + AccidentalClearance(dc, 0, false) / 2);
    // The first column keeps the single note's clearance from the heads.
    EXPECT_EQ(c, 500 - HeadHalf() - dc.widths.accidentalWidth[0][0] - AccidentalClearance(dc, 0, false));

    const ChordLayout octave = LayOut(AddChord(900, {{1, 4}, {1, 5}}, 4, Accidental::Sharp));
    EXPECT_EQ(*octave.walk[0].layout.accidentalX, *octave.walk[1].layout.accidentalX);

    DrawStaff(0);
    const auto sharps = Glyphs(211);
    ASSERT_EQ(sharps.size(), 4u);
    EXPECT_EQ(sharps[0]["x"], c);
    EXPECT_EQ(sharps[1]["x"], e);
}

TEST_F(Chords, ADownStemmedClustersFirstAccidentalColumnClearsTheHeadsMovedLeft) {
    const ChordLayout chord = LayOut(AddChord(500, {{2, 5}, {3, 5}}, 4, Accidental::Sharp));  // D5 E5, down
    ASSERT_FALSE(chord.stemUp);
    const ChordMember& moved = At(chord, Top(0) - Space());  // D5 on the left
    ASSERT_TRUE(moved.moved);
    const int s = dc.widths.accidentalWidth[0][0] + AccidentalClearance(dc, 0, false) / 2;
    // E5 first: its next member is a second away, so its column already clears the moved head.
    const int gap = AccidentalClearance(dc, 0, false);
    EXPECT_EQ(*chord.root().layout.accidentalX, 500 - (HeadHalf() + s + 2 * HeadHalf()) - (gap - gap / 2));
    EXPECT_LT(*moved.layout.accidentalX, *chord.root().layout.accidentalX);
}

TEST_F(Chords, DotsStandInOneColumnAndASecondSplitsThemAroundIt) {
    const ChordRun run = AddChord(500, {{5, 4}, {6, 4}});  // G4 (a line) and A4 (a space)
    for (int i = run.first; i <= run.last; ++i) Staff(0).elements[static_cast<std::size_t>(i)].noteWord().setDots(1);
    DrawStaff(0);
    const auto dots = Calls("disc");
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0]["x"], dots[1]["x"]);
    std::vector<int> heights{dots[0]["y"], dots[1]["y"]};
    std::sort(heights.begin(), heights.end());
    const int g4 = Bottom(0) + Space();
    EXPECT_EQ(heights, (std::vector<int>{g4 - Half(), g4 + Half()}));
}

TEST_F(Chords, AChordThatAloneOpensAndClosesABeamGroupDrawsItsStem) {
    const ChordRun run = AddChord(500, {{1, 4}, {5, 4}}, 5);
    // The lowest member opens, the highest closes.
    for (int i = run.first; i <= run.last; ++i) {
        ElementRecord& e = Staff(0).elements[static_cast<std::size_t>(i)];
        e.w0().setInBeam(true);
        const bool lowest = e.noteWord().step() == 1;
        e.w0().setOpensBeam(lowest);
        e.w0().setClosesBeam(!lowest);
    }
    EXPECT_FALSE(LayOut(run).inBeam);
    DrawStaff(0);
    EXPECT_EQ(Calls("vline").size(), 1u);
    // A chord inside a longer group has its stem drawn with the beam, without a flag.
    for (int i = run.first; i <= run.last; ++i) {
        Staff(0).elements[static_cast<std::size_t>(i)].w0().setOpensBeam(false);
        Staff(0).elements[static_cast<std::size_t>(i)].w0().setClosesBeam(false);
    }
    ElementRecord& next = AddNote(0, 560, 5, 4, 5);
    next.w0().setInBeam(true);
    next.w0().setClosesBeam(true);
    DrawStaff(0);
    EXPECT_EQ(Calls("vline").size(), 2u);
    EXPECT_EQ(Calls("band").size(), 1u);
    EXPECT_TRUE(Glyphs(205).empty());
}

TEST_F(Chords, MembersPlacedOnTheStaffBelowComeFirst) {
    const ChordRun run = AddChord(500, {{1, 5}, {5, 4}});
    for (int i = run.first; i <= run.last; ++i) {
        ElementRecord& e = Staff(0).elements[static_cast<std::size_t>(i)];
        if (e.noteWord().step() == 1) e.w0().setCrossStaff(2);  // C5 placed on the staff below
    }
    const ChordLayout chord = LayOut(run);
    // Staff-below members count as the lowest whatever their height on their own staff.
    const ChordMember& first = chord.stemUp ? chord.walk.front() : chord.walk.back();
    EXPECT_EQ(first.layout.place.index, 1);
}

TEST_F(Chords, AStemMemberEndsItsRunSoTwoChordsAtOneXStayApart) {
    AddChord(500, {{1, 4}, {3, 4}});
    AddNote(0, 500, 5, 4, 4, AutoStem | ChordBit);
    AddNote(0, 500, 7, 4, 4, AutoStem | ChordBit);
    StaffRecord& s = Staff(0);
    s.elements[1].noteWord().setBit(19, true);
    const ChordRun first = FindChordRun(s, 0);
    EXPECT_EQ(first.first, 0);
    EXPECT_EQ(first.last, 1);
    const ChordRun second = FindChordRun(s, 3);
    EXPECT_EQ(second.first, 2);
    EXPECT_EQ(second.last, 3);
    // A member at another x, a rest or a sign ends a run too.
    AddNote(0, 700, 1, 4, 4, AutoStem | ChordBit);
    EXPECT_EQ(FindChordRun(s, 4).first, 4);
}

TEST_F(Chords, AChordOfMoreThanTwentyMembersLosesNone) {
    for (unsigned k = 0; k < 25; ++k) AddNote(0, 500, 1 + k % 7, 2 + k / 7, 4, AutoStem | ChordBit);
    const ChordRun run = FindChordRun(Staff(0), 0);
    EXPECT_EQ(run.last - run.first + 1, 25);
    DrawStaff(0);
    EXPECT_EQ(Glyphs(204).size(), 25u);
    EXPECT_EQ(Calls("vline").size(), 1u);
}

TEST_F(Chords, TheRootCarriesTheChordsArticulation) {
    const ChordRun run = AddChord(500, {{1, 4}, {3, 4}, {5, 4}});
    for (int i = run.first; i <= run.last; ++i) {
        ElementRecord& e = Staff(0).elements[static_cast<std::size_t>(i)];
        e.noteWord().setStaccato(true);
        e.noteWord().setAccentType(1);
    }
    DrawStaff(0);
    // One staccato, below C4 (the root of an up stem).
    ASSERT_EQ(Glyphs(107).size(), 1u);
    EXPECT_LT(Glyphs(107)[0]["y"].get<int>(), C4());
}

}  // namespace
}  // namespace notavera
