// The MusicXML tree of small GUIDO pieces laid out as the import lays them out: what each kind of element becomes.
#include "edit/musicxml_export.h"

#include <gtest/gtest.h>

#include "guido/gmn_import.h"
#include "platform/headless/headless_ui.h"
#include "score/new_document.h"

namespace notavera {
namespace {

XmlElement ExportOf(std::string_view gmn) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    HeadlessUi ui(stderr);
    EXPECT_EQ(ImportGuidoPieceText(doc, gmn, ui), gmnReadOk);
    auto tree = MusicXmlOfScore(doc, ui);
    EXPECT_TRUE(tree);
    return tree ? *tree : XmlElement{};
}

// The texts (or with "name@attribute" the attribute values) of every element of that name, in document order.
std::string Values(const XmlElement& root, const std::string& what) {
    const auto at = what.find('@');
    const std::string name = what.substr(0, at);
    std::string out;
    bool first = true;
    for (const XmlElement* e : Descendants(root, name)) {
        if (!first) out += ' ';
        first = false;
        out += at == std::string::npos ? e->text : e->attribute(what.substr(at + 1));
    }
    return out;
}

struct ExportCase {
    const char* gmn;
    const char* what;
    const char* expected;
};

class MusicXmlExport : public ::testing::TestWithParam<ExportCase> {};

TEST_P(MusicXmlExport, WritesWhatTheScoreHolds) {
    const ExportCase& c = GetParam();
    EXPECT_EQ(Values(ExportOf(c.gmn), c.what), c.expected) << c.gmn << "  " << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Elements, MusicXmlExport,
    ::testing::Values(
        // Pitches as written.
        ExportCase{"[c#2/4 d&0 e##1]", "step", "C D E"}, ExportCase{"[c#2/4 d&0 e##1]", "alter", "1 -1 2"},
        ExportCase{"[c#2/4 d&0 e##1]", "octave", "5 3 4"},
        ExportCase{"[c#2/4 d&0 e##1]", "accidental", "sharp flat double-sharp"},
        ExportCase{"[\\key<-3> \\meter<\"3/4\"> \\clef<\"f4\"> c0/4 d e]", "fifths", "-3"},
        ExportCase{"[\\key<-3> \\meter<\"3/4\"> \\clef<\"f4\"> c0/4 d e]", "beats", "3"},
        ExportCase{"[\\key<-3> \\meter<\"3/4\"> \\clef<\"f4\"> c0/4 d e]", "sign", "F"},
        // Values, dots and rests; divisions count 64 to the quarter.
        ExportCase{"[c1/8. d/16 e/2 _/4]", "duration", "48 16 128 64"},
        ExportCase{"[c1/8. d/16 e/2 _/4]", "type", "eighth 16th half quarter"},
        ExportCase{"[c1/8. d/16 e/2 _/4]", "dot", ""},
        // Triplets: divisions grow so that each third of a quarter is whole.
        ExportCase{"[\\meter<\"2/4\"> c1/12 d e f/4]", "divisions", "192"},
        ExportCase{"[\\meter<\"2/4\"> c1/12 d e f/4]", "duration", "64 64 64 192"},
        ExportCase{"[\\meter<\"2/4\"> c1/12 d e f/4]", "actual-notes", "3 3 3"},
        ExportCase{"[\\meter<\"2/4\"> c1/12 d e f/4]", "tuplet@type", "start stop"},
        // A chord takes its time once.
        ExportCase{"[{c1/4, e, g} d/4]", "chord", " "}, ExportCase{"[{c1/4, e, g} d/4]", "duration", "64 64 64 64"},
        // Ties join equal notes that follow each other; other curves are slurs.
        ExportCase{"[\\tie(c1/4 c/4) \\slur(d/4 e/4)]", "tied@type", "start stop"},
        ExportCase{"[\\tie(c1/4 c/4) \\slur(d/4 e/4)]", "slur@type", "start stop"},
        // Beams: eighths under one beam, a sixteenth pair adding a second level.
        ExportCase{"[\\meter<\"2/4\"> \\beam(c1/8 d/8) \\beam(e/16 f/16 g/8)]", "beam",
                   "begin end begin begin continue end end"},
        // Bars: a measure each, the final bar a light-heavy line, a repeat going back.
        ExportCase{"[\\meter<\"2/4\"> c1/2 \\repeatEnd d/2 \\bar e/2 \\endBar]", "measure@number", "1 2 3"},
        ExportCase{"[\\meter<\"2/4\"> c1/2 \\repeatEnd d/2 \\bar e/2 \\endBar]", "repeat@direction", "backward"},
        // An upbeat takes no number of its own.
        ExportCase{"[\\meter<\"2/4\"> c1/4 \\bar d/2 \\bar e/2]", "measure@number", "0 1 2"},
        ExportCase{"[\\meter<\"2/4\"> c1/4 \\bar d/2 \\bar e/2]", "measure@implicit", "yes  "},
        // Lyrics: the hyphens of a word become its syllabic.
        ExportCase{"[\\lyrics<\"Glo-ri-a in\">(c1/4 d e f)]", "syllabic", "begin middle end single"},
        ExportCase{"[\\lyrics<\"Glo-ri-a in\">(c1/4 d e f)]", "lyric", "   "},
        // A further verse, written on a voice of empty events of the staff, goes to the notes it stands under.
        ExportCase{"{[\\lyrics<\"Glo-ri-a\">(c1/4 d e)], [\\staff<1> \\lyrics<\"Sing we all\">(empty/4 empty empty)]}",
                   "lyric@number", "1 2 1 2 1 2"},
        ExportCase{"{[\\lyrics<\"Glo-ri-a\">(c1/4 d e)], [\\staff<1> \\lyrics<\"Sing we all\">(empty/4 empty empty)]}",
                   "text", "Glo Sing ri we a all"},
        // Texts by category: the title as a credit, the dynamics and the tempo as directions.
        ExportCase{"[\\title<\"Menuet\"> \\intens<\"mf\"> \\tempo<\"Allegro\"> c1/4]", "credit-type", "title"},
        ExportCase{"[\\title<\"Menuet\"> \\intens<\"mf\"> \\tempo<\"Allegro\"> c1/4]", "work-title", "Menuet"},
        ExportCase{"[\\title<\"Menuet\"> \\intens<\"mf\"> \\tempo<\"Allegro\"> c1/4]", "words", "Allegro"},
        ExportCase{"[\\title<\"Menuet\"> \\intens<\"mf\"> \\tempo<\"Allegro\"> c1/4]", "mf", ""},
        // An octave line: the pitches heard, the line from its first note to its last.
        ExportCase{"[c1/4 \\oct<1> c4/4 d4/4 \\oct<0> e1/4]", "octave-shift@type", "down stop"},
        ExportCase{"[c1/4 \\oct<1> c4/4 d4/4 \\oct<0> e1/4]", "octave", "4 7 7 4"},
        // A grace note takes no time.
        ExportCase{"[\\grace(c1/16) d/4]", "grace", ""}, ExportCase{"[\\grace(c1/16) d/4]", "duration", "64"},
        // Treble over bass: one part of two staves, the second written after a backup.
        ExportCase{"{[c2/2 d/2], [\\clef<\"f4\"> c0/1]}", "score-part@id", "P1"},
        ExportCase{"{[c2/2 d/2], [\\clef<\"f4\"> c0/1]}", "staff", "1 1 2"},
        ExportCase{"{[c2/2 d/2], [\\clef<\"f4\"> c0/1]}", "backup", ""},
        // Two voices of one kind: two parts; braced, one part of two staves whatever their clefs. A straight brace
        // joins parts.
        ExportCase{"{[c2/1], [e2/1]}", "score-part@id", "P1 P2"},
        ExportCase{"{[\\accol<range=\"1-2\"> c2/1], [e2/1]}", "score-part@id", "P1"},
        ExportCase{"{[c2/1], [\\accol<range=\"2-3\", type=\"thinBrace\"> e2/1], [g1/1]}", "staff", "1 2"},
        ExportCase{"{[c2/1], [\\accol<range=\"2-3\", type=\"thinBrace\"> e2/1], [g1/1]}", "score-part@id", "P1 P2"},
        ExportCase{"{[\\accol<range=\"1-2\", type=\"straightBrace\"> c2/1], [e2/1]}", "score-part@id", "P1 P2"},
        // Two voices of one staff: one part of one staff; the shorter voice, written last, moves on to the bar's end.
        ExportCase{"{[c2/1], [\\staff<1> e1/2]}", "score-part@id", "P1"},
        ExportCase{"{[c2/1], [\\staff<1> e1/2]}", "voice", "1 2"},
        ExportCase{"{[c2/1], [\\staff<1> e1/2]}", "duration", "256 256 128 128"},
        // A voice written without bar lines is measured by the bars of the first.
        ExportCase{"{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> e1/1 f1/1]}", "measure@number", "1 2"},
        ExportCase{"{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> e1/1 f1/1]}", "step", "C E D F"},
        // A note of that voice across a bar of the first is written as its two parts, tied.
        ExportCase{"{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> e1/2 \\slur(f1/1 g1/2)]}", "step", "C E F D F G"},
        ExportCase{"{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> e1/2 \\slur(f1/1 g1/2)]}", "tie@type", "start stop"},
        ExportCase{"{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> e1/2 \\slur(f1/1 g1/2)]}", "slur@type", "start stop"},
        ExportCase{"{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> e1/2 \\slur(f1/1 g1/2)]}", "type",
                   "whole half half whole half half"}));

// The parts of a note that a bar of the first voice cuts: the first keeps the slur that starts on the note, the last
// the one that ends on it.
TEST(MusicXmlExportParts, CurvesStayAtTheEndsOfTheNoteTheyStartOrEndOn) {
    const XmlElement root = ExportOf("{[\\meter<\"4/4\"> c2/1 d2/1], [\\staff<1> \\slur(e1/2 f1/1) \\slur(g1/2 a1/1) b1/2]}");
    std::string slurs;
    for (const XmlElement* measure : Descendants(root, "measure")) slurs += "|" + Values(*measure, "slur@type");
    EXPECT_EQ(slurs, "|start|stop start|stop");
}

}  // namespace
}  // namespace notavera
