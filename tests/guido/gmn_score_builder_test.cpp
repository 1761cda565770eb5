// What a GUIDO piece becomes in the score: the words of notes, rests and signs, the staff keys, and the x
// steps of the layout from left to right.
#include <gtest/gtest.h>

#include "guido/gmn_import.h"
#include "score/new_document.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

// With the default staff layout model the step unit is 10: a whole note moves x by 640, a quarter by 160.
constexpr int whole = 640;
constexpr int quarter = 160;

bool tieStart(const ElementRecord& e) { return e.w0().tiedToNext() && e.w0().tieStarts(); }
bool tieEnd(const ElementRecord& e) { return e.w0().tiedToNext() && e.w0().tieEnds(); }
bool noCurve(const ElementRecord& e) { return !e.w0().tiedToNext() && !e.w0().tieStarts() && !e.w0().tieEnds(); }

TEST(GmnScoreBuilder, NotesAndRestsGetStepOctaveAccidentalAndDuration) {
    const ScoreDocument doc = DocumentFromGuido("[c e&2 f#0/8 _ a*1/2..]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 5u);
    EXPECT_TRUE(els[0].isNote());
    EXPECT_EQ(els[0].noteWord().step(), 1u);
    EXPECT_EQ(els[0].w0().octave(), 4u);
    EXPECT_EQ(els[0].noteWord().accidental(), Accidental::None);
    EXPECT_EQ(els[0].noteWord().durationCode(), 4u);
    EXPECT_EQ(els[1].noteWord().step(), 3u);
    EXPECT_EQ(els[1].w0().octave(), 5u);
    EXPECT_EQ(els[1].noteWord().accidental(), Accidental::Flat);
    EXPECT_FALSE(els[1].noteWord().hiddenAccidental());
    EXPECT_EQ(els[2].noteWord().step(), 4u);
    EXPECT_EQ(els[2].w0().octave(), 3u);
    EXPECT_EQ(els[2].noteWord().accidental(), Accidental::Sharp);
    EXPECT_EQ(els[2].noteWord().durationCode(), 5u);
    EXPECT_TRUE(els[3].isRest());
    EXPECT_EQ(els[3].noteWord().durationCode(), 5u);
    EXPECT_EQ(els[4].noteWord().durationCode(), 3u);
    EXPECT_EQ(els[4].noteWord().dots(), 2u);
    for (const auto& e : els) EXPECT_EQ(e.w1().numerator(), 1u);
}

TEST(GmnScoreBuilder, SharpPitchClassesAndWrittenAccidentalsAddUp) {
    const ScoreDocument doc = DocumentFromGuido("[cis gis& dis# e## b&&]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 5u);
    EXPECT_EQ(els[0].noteWord().step(), 1u);
    EXPECT_EQ(els[0].noteWord().accidental(), Accidental::Sharp);
    EXPECT_EQ(els[1].noteWord().step(), 5u);
    EXPECT_EQ(els[1].noteWord().accidental(), Accidental::Natural);
    EXPECT_EQ(els[2].noteWord().step(), 2u);
    EXPECT_EQ(els[2].noteWord().accidental(), Accidental::DoubleSharp);
    EXPECT_EQ(els[3].noteWord().accidental(), Accidental::DoubleSharp);
    EXPECT_EQ(els[4].noteWord().step(), 7u);
    EXPECT_EQ(els[4].noteWord().accidental(), Accidental::DoubleFlat);
}

TEST(GmnScoreBuilder, NotesWithoutAccidentalFollowTheKey) {
    const ScoreDocument doc = DocumentFromGuido("[\\key<2> f c g f&]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 4u);
    EXPECT_EQ(els[0].noteWord().accidental(), Accidental::Sharp);
    EXPECT_TRUE(els[0].noteWord().hiddenAccidental());
    EXPECT_EQ(els[1].noteWord().accidental(), Accidental::Sharp);
    EXPECT_TRUE(els[1].noteWord().hiddenAccidental());
    EXPECT_EQ(els[2].noteWord().accidental(), Accidental::None);
    EXPECT_EQ(els[3].noteWord().accidental(), Accidental::Flat);
    EXPECT_FALSE(els[3].noteWord().hiddenAccidental());
}

TEST(GmnScoreBuilder, OctavesBeyondTheScoreRangeStayAtItsEnds) {
    const ScoreDocument doc = DocumentFromGuido("[c-3 c-4 c4 c5]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 4u);
    EXPECT_EQ(els[0].w0().octave(), 0u);
    EXPECT_EQ(els[1].w0().octave(), 0u);
    EXPECT_EQ(els[2].w0().octave(), 7u);
    EXPECT_EQ(els[3].w0().octave(), 7u);
}

TEST(GmnScoreBuilder, XStartsAt30AndAdvancesByTheUndottedDuration) {
    const ScoreDocument doc = DocumentFromGuido("[c/1 d/4. e/8 f]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 4u);
    EXPECT_EQ(els[0].x, 30);
    EXPECT_EQ(els[0].noteWord().durationCode(), 2u);
    EXPECT_EQ(els[1].x, 30 + whole);
    EXPECT_EQ(els[1].noteWord().dots(), 1u);
    EXPECT_EQ(els[2].x, 30 + whole + quarter);
    EXPECT_EQ(els[3].x, 30 + whole + quarter + quarter / 2);
}

TEST(GmnScoreBuilder, NonBinaryPlainDurationIsSplitIntoTiedValues) {
    const ScoreDocument doc = DocumentFromGuido("[c*3/8 _*3/8 d/4]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 5u);
    EXPECT_EQ(els[0].noteWord().durationCode(), 4u);
    EXPECT_EQ(els[1].noteWord().durationCode(), 5u);
    EXPECT_EQ(els[0].noteWord().dots(), 0u);
    EXPECT_EQ(els[1].noteWord().dots(), 0u);
    EXPECT_EQ(els[1].x, 30 + quarter);
    EXPECT_TRUE(tieStart(els[0]));
    EXPECT_TRUE(tieEnd(els[1]));
    // Rests are not tied.
    EXPECT_TRUE(els[2].isRest() && els[3].isRest());
    EXPECT_TRUE(noCurve(els[2]) && noCurve(els[3]));
    EXPECT_EQ(els[4].x, 30 + 3 * quarter);
}

TEST(GmnScoreBuilder, TripletsArePlainValuesWithTheirProportionAndGroupMarks) {
    const ScoreDocument doc = DocumentFromGuido("[c*1/12 d e f/4 g*1/12 a b]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 7u);
    for (int i : {0, 1, 2, 4, 5, 6}) {
        EXPECT_EQ(els[i].noteWord().durationCode(), 5u) << i;
        EXPECT_EQ(els[i].w1().numerator(), 3u) << i;
        EXPECT_EQ(els[i].w1().denominator(), 2u) << i;
    }
    EXPECT_EQ(els[0].w0().groupMark(), 1u);
    EXPECT_EQ(els[1].w0().groupMark(), 0u);
    EXPECT_EQ(els[2].w0().groupMark(), 2u);
    EXPECT_EQ(els[3].w1().numerator(), 1u);
    EXPECT_EQ(els[3].w0().groupMark(), 0u);
    EXPECT_EQ(els[4].w0().groupMark(), 1u);
    EXPECT_EQ(els[6].w0().groupMark(), 2u);
    // x follows the real lengths: three triplet eighths take exactly a quarter.
    EXPECT_EQ(els[1].x, 30 + 53);
    EXPECT_EQ(els[2].x, 30 + 106);
    EXPECT_EQ(els[3].x, 30 + quarter);
}

TEST(GmnScoreBuilder, OtherTupletsTakeTheShortestPlainValueNotBelowThem) {
    const ScoreDocument doc = DocumentFromGuido("[c*3/104 d*1/20 e*1/6 f*1/384 g*1/2]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 5u);
    EXPECT_EQ(els[0].noteWord().durationCode(), 7u);
    EXPECT_EQ(els[0].w1().numerator(), 13u);
    EXPECT_EQ(els[0].w1().denominator(), 12u);
    EXPECT_EQ(els[1].noteWord().durationCode(), 6u);
    EXPECT_EQ(els[1].w1().numerator(), 5u);
    EXPECT_EQ(els[1].w1().denominator(), 4u);
    EXPECT_EQ(els[2].noteWord().durationCode(), 4u);
    EXPECT_EQ(els[2].w1().numerator(), 3u);
    EXPECT_EQ(els[3].noteWord().durationCode(), 10u);
    EXPECT_EQ(els[3].w1().numerator(), 3u);
    EXPECT_EQ(els[3].w1().denominator(), 2u);
    // A lone tuplet note of a different proportion is its own group.
    EXPECT_EQ(els[0].w0().groupMark(), 3u);
    EXPECT_EQ(els[4].w1().numerator(), 1u);
}

TEST(GmnScoreBuilder, ClefStringsGiveClefNumberAndLineDigit) {
    const ScoreDocument doc =
        DocumentFromGuido("[\\clef<\"f\"> c \\clef<\"f4\"> \\clef<\"treble\"> \\clef<\"none\"> d]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 5u);
    EXPECT_TRUE(els[0].isSignOfType(SignType::Clef));
    EXPECT_EQ(els[0].signWord().code(), 3u);
    EXPECT_EQ(els[0].param, 0);
    EXPECT_EQ(els[0].x, 30);
    EXPECT_EQ(els[1].x, 90);
    EXPECT_EQ(els[2].signWord().code(), 3u);
    EXPECT_EQ(els[2].param, 4);
    EXPECT_EQ(els[2].x, 90 + quarter);
    EXPECT_EQ(els[3].signWord().code(), 1u);
    EXPECT_EQ(els[3].x, 90 + quarter + 60);
    EXPECT_EQ(els[4].x, 90 + quarter + 120);
}

TEST(GmnScoreBuilder, KeysAreTheStaffsKeySignature) {
    const ScoreDocument flats = DocumentFromGuido("[\\key<\"E&\"> c]");
    const StaffRecord& f = flats.findPage(1)->staves[0];
    EXPECT_EQ(f.key().keyKind(), KeyKind::Flats);
    EXPECT_EQ(f.key().keyCount(), 3u);

    const ScoreDocument sharps = DocumentFromGuido("[\\key<2>]");
    EXPECT_EQ(sharps.findPage(1)->staves[0].key().keyKind(), KeyKind::Sharps);
    EXPECT_EQ(sharps.findPage(1)->staves[0].key().keyCount(), 2u);

    // A count of 0 changes only the count.
    const ScoreDocument zero = DocumentFromGuido("[\\key<-4> \\key<0>]");
    EXPECT_EQ(zero.findPage(1)->staves[0].key().keyKind(), KeyKind::Flats);
    EXPECT_EQ(zero.findPage(1)->staves[0].key().keyCount(), 0u);
    EXPECT_TRUE(GuidoStaff(zero).empty());
}

TEST(GmnScoreBuilder, ALineStartKeyPushesWhatFollowsPastItsAccidentals) {
    // Clef at 30, then the key drawn from 8 step units: three flats take 3 × 23, and 2 step units stand clear.
    const ScoreDocument doc = DocumentFromGuido("[\\clef<\"g\"> \\key<-3> \\meter<\"4/4\"> c]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 3u);
    EXPECT_EQ(els[1].x, 80 + 3 * 23 + 20);
    EXPECT_EQ(els[2].x, els[1].x + 60);
    // Without accidentals, or once the line has begun, the key takes no room of its own.
    EXPECT_EQ(GuidoStaff(DocumentFromGuido("[\\clef<\"g\"> \\key<0> c]"))[1].x, 90);
    EXPECT_EQ(GuidoStaff(DocumentFromGuido("[c \\key<2> d]"))[1].x, 30 + quarter);
}

TEST(GmnScoreBuilder, BarsAndDoubleBars) {
    const ScoreDocument doc = DocumentFromGuido("[c | d \\bar e \\doubleBar]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 6u);
    EXPECT_TRUE(els[1].isSignOfType(SignType::Bar));
    EXPECT_EQ(els[1].signWord().code(), 124u);
    EXPECT_EQ(els[1].x, 30 + quarter);
    EXPECT_EQ(els[2].x, 30 + quarter + 30);
    EXPECT_EQ(els[3].signWord().code(), 124u);
    EXPECT_EQ(els[5].signWord().code(), static_cast<unsigned>('D'));
}

TEST(GmnScoreBuilder, MetersBecomeTimeSignatures) {
    const ScoreDocument doc = DocumentFromGuido("[\\meter<\"3/4\"> c \\meter<\"C\"> \\meter<\"C/\"> \\meter<\"3+2/8\"> "
                                                "\\meter<\"4+2/16 + 2/8\"> \\meter]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 5u);
    EXPECT_TRUE(els[0].isSignOfType(SignType::TimeSignature));
    EXPECT_EQ(els[0].signWord().code(), 1u);
    EXPECT_EQ(els[0].w1().numerator(), 3u);
    EXPECT_EQ(els[0].w1().denominator(), 4u);
    EXPECT_EQ(els[1].x, 90);
    EXPECT_EQ(els[2].signWord().code(), 64u);
    EXPECT_EQ(els[2].signWord().subValue(), 0u);
    EXPECT_EQ(els[3].signWord().subValue(), 1u);
    EXPECT_EQ(els[4].w1().numerator(), 5u);
    EXPECT_EQ(els[4].w1().denominator(), 8u);
}

TEST(GmnScoreBuilder, BeamRangeMarksItsNotes) {
    const ScoreDocument doc = DocumentFromGuido("[\\beam(c/8 d e) f \\bm(g a)]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 6u);
    EXPECT_TRUE(els[0].w0().inBeam() && els[0].w0().opensBeam() && !els[0].w0().closesBeam());
    EXPECT_TRUE(els[1].w0().inBeam() && !els[1].w0().opensBeam() && !els[1].w0().closesBeam());
    EXPECT_TRUE(els[2].w0().inBeam() && els[2].w0().closesBeam());
    EXPECT_FALSE(els[3].w0().inBeam() || els[3].w0().opensBeam() || els[3].w0().closesBeam());
    EXPECT_TRUE(els[4].w0().opensBeam());
    EXPECT_TRUE(els[5].w0().closesBeam());
}

TEST(GmnScoreBuilder, TiesChainTheirNotesAndSlursJoinFirstAndLast) {
    const ScoreDocument doc = DocumentFromGuido("[\\tie(c c c) \\slur(d e f) \\slur(g) a]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 8u);
    EXPECT_TRUE(tieStart(els[0]) && !els[0].w0().tieEnds());
    EXPECT_TRUE(tieStart(els[1]) && tieEnd(els[1]));
    EXPECT_TRUE(tieEnd(els[2]) && !els[2].w0().tieStarts());
    EXPECT_TRUE(tieStart(els[3]));
    EXPECT_TRUE(noCurve(els[4]));
    EXPECT_TRUE(tieEnd(els[5]));
    EXPECT_TRUE(noCurve(els[6]));
    EXPECT_TRUE(noCurve(els[7]));
}

TEST(GmnScoreBuilder, StaccatoAndAccentSetTheArticulation) {
    const ScoreDocument doc = DocumentFromGuido("[\\stacc(c d) \\accent(e) f]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 4u);
    EXPECT_TRUE(els[0].noteWord().staccato());
    EXPECT_EQ(els[0].noteWord().accentType(), 1u);
    EXPECT_TRUE(els[1].noteWord().staccato());
    EXPECT_TRUE(els[2].noteWord().staccato());
    EXPECT_EQ(els[2].noteWord().accentType(), 2u);
    EXPECT_FALSE(els[3].noteWord().staccato());
}

TEST(GmnScoreBuilder, ChordNotesAreLaidOutOneAfterTheOther) {
    const ScoreDocument doc = DocumentFromGuido("[{c, e, g}]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 3u);
    EXPECT_EQ(els[0].x, 30);
    EXPECT_EQ(els[1].x, 30 + quarter);
    EXPECT_EQ(els[2].x, 30 + 2 * quarter);
}

TEST(GmnScoreBuilder, EmptyEventOnlyAdvancesX) {
    const ScoreDocument doc = DocumentFromGuido("[c empty/2 d]");
    const auto& els = GuidoStaff(doc);
    ASSERT_EQ(els.size(), 2u);
    EXPECT_EQ(els[1].x, 30 + quarter + 2 * quarter);
}

TEST(GmnScoreBuilder, EachSequenceGoesToTheStaffOfItsRank) {
    const ScoreDocument doc = DocumentFromGuido("{[c d], [\\clef<\"f\"> e]}");
    EXPECT_EQ(GuidoStaff(doc, 0).size(), 2u);
    ASSERT_EQ(GuidoStaff(doc, 1).size(), 2u);
    EXPECT_EQ(GuidoStaff(doc, 1)[0].x, 30);
    EXPECT_TRUE(GuidoStaff(doc, 2).empty());
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.currentPage, 1);
    EXPECT_EQ(doc.currentStaff, 0);
}

TEST(GmnScoreBuilder, SequencesWithoutAStaffWriteNothing) {
    std::string gmn = "{";
    for (int i = 0; i < 12; ++i) gmn += std::string(i ? "," : "") + "[\\clef<\"f\"> \\key<3> c |]";
    const ScoreDocument doc = DocumentFromGuido(gmn + "}");
    const PageRecord& page = *doc.findPage(1);
    ASSERT_EQ(page.staves.size(), 10u);
    for (const StaffRecord& s : page.staves) EXPECT_EQ(s.elements.size(), 3u);
}

TEST(GmnScoreBuilder, InsertionStateIsLeftAsANewNoteWouldFindIt) {
    const ScoreDocument doc = DocumentFromGuido("[\\beam(c*1/12 d.. e#3)]");
    EXPECT_EQ(doc.insertion.durationCode, 4u);
    EXPECT_EQ(doc.insertion.octave, 4u);
    EXPECT_EQ(doc.insertion.dots, 0u);
    EXPECT_EQ(doc.insertion.proportionNum, 1u);
    EXPECT_EQ(doc.insertion.proportionDen, 1u);
    EXPECT_EQ(doc.insertion.word0Flags, 0u);
}

TEST(GmnScoreBuilder, WhatWasConvertedBeforeAParseErrorStays) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    int errors = 0;
    EXPECT_NE(ImportGuidoText(doc, "[c d e ) f]", [&errors](const GmnError&) { ++errors; }), gmnReadOk);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(GuidoStaff(doc).size(), 3u);
    EXPECT_EQ(doc.currentStaff, 0);
}

TEST(GmnScoreBuilder, DocumentWithoutPagesTakesNothing) {
    ScoreDocument doc;
    EXPECT_EQ(ImportGuidoText(doc, "[c d]", {}), gmnReadOk);
    EXPECT_TRUE(doc.pages.empty());
}

}  // namespace
}  // namespace notavera
