// What a GUIDO piece becomes in the score: the words of notes, rests and signs, the staff keys, and the x
// steps of the layout from left to right.
#include <gtest/gtest.h>

#include "guido/gmn_import.h"
#include "score/new_document.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

// One word per element. A note: name, octave, "/" duration code, dots, its accidental (# b n x bb, "?" when
// hidden), "*n:d" proportion, "g" group mark, "~" tie start, "-" tie end, "[" "=" "]" beam open, inside, close,
// "'" staccato, "!" accent type, "&" chord member, "^" octave line code, "s" small (grace), "h" hidden, "u" the curve
// ending here goes above. A rest "r/" code; a sign "S"
// type "." code, ":" sub-value "," parameter. With `at`, "@" and the x.
std::string Describe(const std::vector<ElementRecord>& els, bool at = false) {
    std::string out;
    for (const ElementRecord& e : els) {
        std::string w;
        if (e.isSign()) {
            const auto s = e.signWord();
            w = "S" + std::to_string(static_cast<unsigned>(s.signType())) + "." + std::to_string(s.code());
            if (s.subValue()) w += ":" + std::to_string(s.subValue());
            if (e.param) w += "," + std::to_string(e.param);
            if (s.signType() == SignType::TimeSignature && s.code() == 1)
                w += "=" + std::to_string(e.w1().numerator()) + "/" + std::to_string(e.w1().denominator());
        } else {
            const auto n = e.noteWord();
            const auto w0 = e.w0();
            w = e.isRest() ? "r" : std::string(1, "?CDEFGAB"[n.step() & 7]) + std::to_string(w0.octave());
            w += "/" + std::to_string(n.durationCode()) + std::string(n.dots(), '.');
            const char* accidentals[] = {"", "#", "b", "n", "x", "bb"};
            const auto a = static_cast<unsigned>(n.accidental());
            if (a) w += (a < 6 ? accidentals[a] : "?") + std::string(n.hiddenAccidental() ? "?" : "");
            if (e.w1().numerator() != 1 || e.w1().denominator() != 1)
                w += "*" + std::to_string(e.w1().numerator()) + ":" + std::to_string(e.w1().denominator());
            if (w0.groupMark()) w += "g" + std::to_string(w0.groupMark());
            if (w0.tiedToNext() && w0.tieStarts()) w += "~";
            if (w0.tiedToNext() && w0.tieEnds()) w += "-";
            if (w0.curveAbove()) w += "u";
            if (n.bit(18)) w += "&";
            if (e.w1().octaveShift()) w += "^" + std::to_string(e.w1().octaveShift());
            if (w0.inBeam()) w += w0.opensBeam() ? "[" : w0.closesBeam() ? "]" : "=";
            if (n.staccato()) w += "'";
            if (n.accentType()) w += "!" + std::to_string(n.accentType());
            if (w0.cueSize()) w += "s";
            if (w0.hidden()) w += "h";
        }
        if (at) w += "@" + std::to_string(e.x);
        out += (out.empty() ? "" : " ") + w;
    }
    return out;
}

struct Piece {
    const char* gmn;
    bool at;
    const char* score;
};

class GmnScoreBuilder : public ::testing::TestWithParam<Piece> {};

TEST_P(GmnScoreBuilder, WritesTheStaff) {
    EXPECT_EQ(Describe(GuidoStaff(DocumentFromGuido(GetParam().gmn)), GetParam().at), GetParam().score);
}

// With the default staff layout model the step unit is 10: a whole note moves x by 640, a quarter by 160.
INSTANTIATE_TEST_SUITE_P(
    Pieces, GmnScoreBuilder,
    ::testing::Values(
        Piece{"[c e&2 f#0/8 _ a*1/2..]", false, "C4/4 E5/4b F3/5# r/5 A3/3.."},
        // Sharp pitch classes and written accidentals add up.
        Piece{"[cis gis& dis# e## b&&]", false, "C4/4# G4/4 D4/4x E4/4x B4/4bb"},
        // Names written without a space are read one by one when they fall into names; "rest" is one name.
        Piece{"[gf fae rest sol]", false, "G4/4 F4/4 F4/4 E4/4 r/4 G4/4"},
        // Grace notes are small and take no time of the bar: the bar line comes where the other notes fill it.
        Piece{"[\\meter<\"2/4\"> \\grace(d/16 e) c/4 d \\grace({f/8, a}) e/4]", false,
              "S5.1=2/4 D4/6s E4/6s C4/4 D4/4 S0.124 A4/5&s F4/5&s E4/4"},
        // Pitches are as written; the key hides its own accidentals and makes the naturals it contradicts visible.
        Piece{"[\\key<2> f c# g f& f# |]", false, "F4/4n C4/4#? G4/4 F4/4b F4/4# S0.124"},
        Piece{"[\\key<-1> b& b | b&]", false, "B4/4b? B4/4n S0.124 B4/4b?"},
        // An accidental holds to the end of its bar: repeats are hidden, a return to the natural is marked, in
        // another octave too; the next bar starts afresh.
        Piece{"[c# c# c c#2 | c1 c#]", false, "C4/4# C4/4#? C4/4n C5/4# S0.124 C4/4 C4/4#"},
        Piece{"[\\key<2> f f# | f# e \\key<0> f]", false, "F4/4n F4/4# S0.124 F4/4#? E4/4 S13.2:1 F4/4"},
        // Octaves beyond the score's range are written under octave lines.
        Piece{"[c-3 c-4 c-5 c4 c5 c6 c9]", false, "C0/4 C0/4^3 C0/4^4 C7/4 C7/4^1 C7/4^2 C7/4^2"},
        // x starts at 30 and advances by the duration.
        Piece{"[c/1 d/4. e/8 f]", true, "C4/2@40 D4/4.@680 E4/5@920 F4/5@1000"},
        // A duration that one dotted value makes is that value; any other is split into tied values (rests are
        // not tied).
        Piece{"[c*3/8 _*3/8 d*5/8 _*5/8 e/8]", true, "C4/4.@40 r/4.@280 D4/3~@520 D4/5-@840 r/3@920 r/5@1240 E4/5@1320"},
        // Triplets are plain values with their proportion and group marks; x follows the real lengths.
        Piece{"[c*1/12 d e f/4 g*1/12 a b]", true,
              "C4/5*3:2g1@40 D4/5*3:2@93 E4/5*3:2g2@146 F4/4@200 G4/5*3:2g1@360 A4/5*3:2@413 B4/5*3:2g2@466"},
        // Other tuplets take the shortest plain value not below them; a lone one is its own group.
        Piece{"[c*3/104 d*1/20 e*1/6 f*1/384 g*1/2]", false,
              "C4/7*13:12g3 D4/6*5:4g3 E4/4*3:2g1 F4/10*3:2g2 G4/3"},
        Piece{"[\\clef<\"f\"> c \\clef<\"f4\"> \\clef<\"treble\"> \\clef<\"none\"> d]", true,
              "S6.3@40 C4/4@100 S6.3,4@260 S6.1@320 D4/4@380"},
        // Clef at 30, then the key from 8 step units: three flats take 3 × 23, and 2 step units stand clear.
        Piece{"[\\clef<\"g\"> \\key<-3> \\meter<\"4/4\"> c]", true, "S6.1@40 S5.1=4/4@179 C4/4@239"},
        Piece{"[\\clef<\"g\"> \\key<0> c]", true, "S6.1@40 C4/4@100"},
        Piece{"[c \\key<2> f#]", true, "C4/4@40 S13.2:1@200 F4/4#?@276"},  // once the line has begun, a key change
        Piece{"[c | d \\bar e \\doubleBar]", true, "C4/4@40 S0.124@200 D4/4@230 S0.124@390 E4/4@420 S0.68@580"},
        Piece{"[\\meter<\"3/4\"> c \\meter<\"C\"> \\meter<\"C/\"> \\meter<\"3+2/8\"> \\meter<\"4+2/16+2/8\"> \\meter]",
              false, "S5.1=3/4 C4/4 S5.64 S5.64:1 S5.1=5/8"},
        Piece{"[\\beam(c/8 d e) f \\bm(g a)]", false, "C4/5[ D4/5= E4/5] F4/5 G4/5[ A4/5]"},
        // Under a meter the bar lines the file leaves out are drawn, counted on from the last one it writes (an
        // upbeat), and eighths are beamed by the beat of their bar; a meter may leave all bar lines to the file.
        Piece{"[\\meter<\"3/4\"> c/8 d | e/4 f g a b c d/2]", false,
              "S5.1=3/4 C4/5[ D4/5] S0.124 E4/4 F4/4 G4/4 S0.124 A4/4 B4/4 C4/4 S0.124 D4/3"},
        Piece{"[\\meter<\"2/4\"> c/8 | d e f g a/2]", false, "S5.1=2/4 C4/5 S0.124 D4/5[ E4/5] F4/5[ G4/5] S0.124 A4/3"},
        Piece{"[\\meter<\"2/4\", autoBarlines=\"off\"> c d e/2]", false, "S5.1=2/4 C4/4 D4/4 E4/3"},
        // A note over more bars than music holds is not cut at each of them (a very short meter).
        Piece{"[\\meter<\"1/64\"> c*5/1 d/64]", false, "S5.1=1/64 C4/0~ C4/2- S0.124 D4/8"},
        // The notes the file leaves out of its own beams are beamed by the beat, until it turns beams off.
        Piece{"[\\meter<\"2/4\"> c/8 d \\beam(e f) g/16 a b c \\beamsOff d/8 e]", false,
              "S5.1=2/4 C4/5[ D4/5] E4/5[ F4/5] S0.124 G4/6[ A4/6= B4/6= C4/6] D4/5 E4/5"},
        Piece{"[\\tie(c c c) \\slur(d e f) \\slur(g) a]", false, "C4/4~ C4/4~- C4/4- D4/4~ E4/4 F4/4- G4/4 A4/4"},
        // Begin and End tags pair by number; without one a tie end closes the oldest tie, a slur end the latest
        // slur. An end inside a chord closes after the chord. A repeat is a repeat bar line.
        Piece{"[\\repeatBegin \\tieBegin c/2 \\slurBegin:2 c/4 \\tieEnd \\slurBegin:1 d e \\slurEnd:2 f \\slurEnd:1 "
              "\\repeatEnd]",
              false, "S0.79 C4/3~ C4/4~- D4/4~ E4/4- F4/4- S0.70"},
        Piece{"[\\tieBegin c \\tieBegin c \\tieEnd c \\tieEnd \\slurBegin d \\slurBegin e f \\slurEnd g \\slurEnd]", false,
              "C4/4~ C4/4~- C4/4- D4/4~ E4/4~ F4/4- G4/4-"},
        // Laid out, a chord keeps its curve marks on its first and last members.
        Piece{"[{\\tieBegin:1 c, \\tieBegin:2 g} {c \\tieEnd:1, g \\tieEnd:2}]", false, "C4/4~& G4/4& C4/4& G4/4-&"},
        Piece{"[\\beamBegin c/8 d \\beamEnd e]", false, "C4/5[ D4/5] E4/5"},
        // A slur takes the side the file asks for, else the side away from the stems the file sets.
        Piece{"[\\stemsDown \\slur(c d) \\slur<\"up\">(e f) \\stemsUp \\slurBegin<curve=\"down\"> g a \\slurEnd "
              "\\slur(b c2) \\stemsAuto \\slur(d e)]",
              false, "C4/4~ D4/4-u E4/4~ F4/4-u G4/4~ A4/4- B4/4~ C5/4- D5/4~ E5/4-"},
        Piece{"[\\stacc(c d) \\accent(e) f]", false, "C4/4'!1 D4/4'!1 E4/4'!2 F4/4"},
        // A chord stands at one x and lasts as long as its longest note; notes of a value that is split stay chords
        // at each piece; chords are tied note to note.
        Piece{"[{c, e, g} {c/8, e*3/8} \\tie({d/4, f} {f, d}) g]", true,
              "C4/4&@40 E4/4&@40 G4/4&@40 C4/5&@200 E4/4.&@200 r/4h@280 D4/4~&@440 F4/4&@440 D4/4&@600 "
              "F4/4-&@600 G4/4@760"},
        // A hidden rest after the shortest note of a chord holds what follows until the longest ends; a bar line
        // drawn in front of a chord stands in front of all its notes.
        Piece{"[\\meter<\"2/4\"> {c/4, e/2} d/2 {f, a}]", true,
              "S5.1=2/4@40 C4/4&@100 E4/3&@100 r/4h@260 S0.124@420 D4/3@450 S0.124@770 A4/3&@800 F4/3&@800"},
        Piece{"[c empty/2 d/4]", true, "C4/4@40 r/3h@200 D4/4@520"}));  // an empty event is a hidden rest

TEST(GmnImport, KeysAreTheStaffsKeySignature) {
    const ScoreDocument flats = DocumentFromGuido("[\\key<\"E&\"> c]");
    EXPECT_EQ(flats.findPage(1)->staves[0].key().keyKind(), KeyKind::Flats);
    EXPECT_EQ(flats.findPage(1)->staves[0].key().keyCount(), 3u);
    const ScoreDocument zero = DocumentFromGuido("[\\key<2> \\key<-4> \\key<0>]");  // 0 changes only the count
    EXPECT_EQ(zero.findPage(1)->staves[0].key().keyKind(), KeyKind::Flats);
    EXPECT_EQ(zero.findPage(1)->staves[0].key().keyCount(), 0u);
    EXPECT_TRUE(GuidoStaff(zero).empty());
}

TEST(GmnImport, EachSequenceGoesToTheStaffOfItsRankAndThoseWithoutAStaffWriteNothing) {
    std::string gmn = "{[c d], [\\clef<\"f\"> e]";
    for (int i = 2; i < 12; ++i) gmn += ", [\\clef<\"f\"> \\key<3> c |]";
    const ScoreDocument doc = DocumentFromGuido(gmn + "}");
    EXPECT_EQ(Describe(GuidoStaff(doc, 1), true), "S6.3@40 E4/4@100");
    ASSERT_EQ(doc.findPage(1)->staves.size(), 10u);
    EXPECT_EQ(GuidoStaff(doc, 9).size(), 3u);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.currentPage, 1);
    EXPECT_EQ(doc.currentStaff, 0);
    // The insertion state is left as a new note would find it.
    const ScoreDocument beamed = DocumentFromGuido("[\\beam(c*1/12 d.. e#3)]");
    EXPECT_EQ(beamed.insertion.durationCode, 4u);
    EXPECT_EQ(beamed.insertion.octave, 4u);
    EXPECT_EQ(beamed.insertion.dots, 0u);
    EXPECT_EQ(beamed.insertion.proportionNum, 1u);
    EXPECT_EQ(beamed.insertion.proportionDen, 1u);
    EXPECT_EQ(beamed.insertion.word0Flags, 0u);
}

TEST(GmnImport, WhatWasConvertedBeforeAParseErrorStaysAndADocumentWithoutPagesTakesNothing) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    int errors = 0;
    EXPECT_NE(ImportGuidoText(doc, "[c d e ) f]", [&errors](const GmnError&) { ++errors; }), gmnReadOk);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(GuidoStaff(doc).size(), 3u);
    ScoreDocument empty;
    EXPECT_EQ(ImportGuidoText(empty, "[c d]", {}), gmnReadOk);
    EXPECT_TRUE(empty.pages.empty());
}

}  // namespace
}  // namespace notavera
