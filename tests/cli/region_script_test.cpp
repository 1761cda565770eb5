// Region commands and the region forms of the attributes end to end: notes typed in a script, marker Y set (Y)
// and the cursor moved, then the command; the staff is read back before, after, and after an undo. An element
// reads as its name and octave ("R" a rest, "T" a line label with its code), then its marks: /d duration code
// other than a quarter, # b accidental and ~ hidden, . dots and ! hidden, [ = ] beam start, member, end, S
// staccato and s on the other side, k accent kind, h hidden, m cue, c chord, @n octave-line code, xn head shape,
// ^ fixed stem up, v fixed stem down, <> group marking above, ' , placed on the staff above, below; " ; " starts
// the next staff.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

bool Bit(const nlohmann::json& e, const char* word, int bit) { return (e[word].get<std::uint32_t>() >> bit & 1u) != 0; }
unsigned Field(const nlohmann::json& e, const char* word, int lo, int width) {
    return e[word].get<std::uint32_t>() >> lo & ((1u << width) - 1);
}

std::string Token(const nlohmann::json& e) {
    const unsigned line = Field(e, "word1", 5, 3);
    if (e["kind"] == "sign") return e["signType"] == 4 ? "T" + std::to_string(line) : "|";
    std::string t = e["kind"] == "rest" ? "R" : "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>());
    if (e["durationCode"] != 4) t += "/" + std::to_string(e["durationCode"].get<int>());
    static const char* const accidentals[] = {"", "#", "b", "n", "x", "bb", "+", "-"};
    t += accidentals[e["accidental"].get<unsigned>()];
    if (Bit(e, "noteWord", 12)) t += '~';
    t += std::string(e["dots"].get<std::size_t>(), '.');
    const struct { const char* word; int bit; char mark; } marks[] = {
        {"word0", 18, '!'}, {"word0", 6, '['}, {"word0", 5, '='}, {"word0", 7, ']'},       {"noteWord", 15, 'S'},
        {"noteWord", 17, 's'}, {"word0", 17, 'h'}, {"word0", 11, 'm'}, {"noteWord", 18, 'c'}, {"word0", 21, '<'},
        {"word0", 14, '\''}, {"word0", 15, ','}};
    for (const auto& m : marks) if (Bit(e, m.word, m.bit)) t += m.mark;
    if (const unsigned k = Field(e, "noteWord", 29, 3)) t += "k" + std::to_string(k);
    if (line) t += "@" + std::to_string(line);
    if (const unsigned shape = Field(e, "noteWord", 26, 3)) t += "x" + std::to_string(shape);
    if (!Bit(e, "noteWord", 13)) t += Bit(e, "noteWord", 14) ? "^" : "v";
    return t;
}

std::string StaffLine(const std::string& dumpText) {
    const auto dump = nlohmann::json::parse(dumpText, nullptr, false);
    std::string line, separator;
    for (const auto& staff : dump["pages"][0]["staves"]) {
        if (staff["elements"].empty()) continue;
        line += std::exchange(separator, " ; ");
        std::string gap;
        for (const auto& e : staff["elements"]) line += std::exchange(gap, " ") + Token(e);
    }
    return line;
}

struct RegionCase {
    const char* name;
    const char* setup;    // the notes, marker Y and the cursor
    const char* command;  // the region command or attribute
    const char* before;
    const char* after;
};

class RegionScriptTest : public ::testing::TestWithParam<RegionCase> {};

// The command changes the staff, one undo gives it back; a command that changes nothing is not undone.
TEST_P(RegionScriptTest, ChangesTheRegionAndUndoes) {
    const RegionCase& c = GetParam();
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    const bool changes = std::string(c.before) != c.after;
    test::WriteText(dir / "s.txt", std::string(c.setup) + "dump a.json\n" + c.command + "dump b.json\n" +
                                       (changes ? "undo\n" : "") + "dump c.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(StaffLine(test::ReadText(dir / "a.json")), c.before);
    EXPECT_EQ(StaffLine(test::ReadText(dir / "b.json")), c.after);
    EXPECT_EQ(StaffLine(test::ReadText(dir / "c.json")), c.before);
}

#define L1 "key Left\n"
#define L2 L1 L1
#define L3 L2 L1
#define R1 "key Right\n"
// C sharp, D, E flat; marker Y on the C, the cursor on the E.
// C with its staccato on the other side, D with its own; marker Y on the C.
#define FLIPPED "key F2\nkey F3\n" L2 "char Y\n" R1 "char T\n" L1 "char Y\ncmd 495\n"
#define THREE "chars d\nkey F2\nkey F3\nchars b\nkey F4\n" L3 "char Y\n" R1 R1

INSTANTIATE_TEST_SUITE_P(
    Cases, RegionScriptTest,
    ::testing::Values(
        RegionCase{"WithoutMarkerY", "chars d\nkey F2\nkey F3\n" L1, "cmd 494\ncmd 681\nchar 3\n", "C4# D4", "C4# D4/3"},
        RegionCase{"HideAccidentalsThatExist", THREE, "cmd 494\n", "C4# D4 E4b", "C4#~ D4 E4b~"},
        RegionCase{"RevealAccidentals", THREE "cmd 494\n" L2 "char Y\n" R1 R1, "cmd 678\n", "C4#~ D4 E4b~",
                   "C4# D4 E4b"},
        RegionCase{"MarkerAfterTheCursor", "chars d\nkey F2\nchars d\nkey F3\nchars d\nkey F4\n" L1 "char Y\n" L1,
                   "cmd 494\n", "C4# D4# E4#", "C4# D4#~ E4#~"},
        RegionCase{"HideAndRevealRests", "key F2\nchar S\n" L2 "char Y\n" R1, "cmd 676\n", "C4 R", "C4 Rh"},
        RegionCase{"RevealRests", "key F2\nchar S\n" L1 "char Y\ncmd 676\nchar Y\n", "cmd 679\n", "C4 Rh", "C4 R"},
        RegionCase{"HideDots", "chars .\nkey F2\nkey F3\n" L2 "char Y\n" R1, "cmd 677\n", "C4. D4", "C4.! D4"},
        RegionCase{"RevealDots", "chars .\nkey F2\n" L1 "char Y\ncmd 677\nchar Y\n", "cmd 680\n", "C4.!", "C4."},
        // Beamed eighths made quarters leave the group, which closes before them and opens again after them.
        RegionCase{"QuartersLeaveTheBeam", "char 5\nchar [\nkey F2\nkey F3\nkey F4\nkey F5\n" L3 "char Y\n" R1,
                   "char 4\n", "C4/5= D4/5= E4/5= F4/5=", "C4/5=] D4 E4 F4/5[="},
        RegionCase{"LastOfTheStaffLeaves", "char 5\nchar [\nkey F2\nkey F3\nkey F4\n" L1 "char Y\n", "char 4\n",
                   "C4/5= D4/5= E4/5=", "C4/5= D4/5=] E4"},
        RegionCase{"FirstOfTheBeamLeaves", "key F2\nchar 5\nchar [\nkey F3\nkey F4\n" L2 "char Y\n", "char 4\n",
                   "C4 D4/5= E4/5=", "C4 D4 E4/5[="},
        RegionCase{"ShorterValuesStayBeamed", "char 5\nchar [\nkey F2\nkey F3\nkey F4\n" L2 "char Y\n" R1, "char 6\n",
                   "C4/5= D4/5= E4/5=", "C4/5= D4/6= E4/6="},
        RegionCase{"StaccatoOnTheRegion", "key F2\nkey F3\n" L2 "char Y\n" R1, "char T\n", "C4 D4", "C4S D4S"},
        RegionCase{"StaccatosFlip", "key F2\nkey F3\n" L2 "char Y\n" R1 "char T\n" L1 "char Y\n", "cmd 495\n",
                   "C4S D4S", "C4Ss D4S"},
        // A breve keeps its staccato's side, which a half note loses; nor does the flip turn it.
        RegionCase{"BreveKeepsTheStaccatoSide", FLIPPED "char Y\n", "char 1\n", "C4Ss D4S", "C4/1Ss D4S"},
        RegionCase{"HalfLosesTheStaccatoSide", FLIPPED "char Y\n", "char 3\n", "C4Ss D4S", "C4/3S D4S"},
        RegionCase{"BreveStaccatoStays", "key F2\nchar 1\nkey F3\n" L2 "char Y\n" R1 "char T\n" L1 "char Y\n" R1,
                   "cmd 495\n", "C4S D4/1S", "C4Ss D4/1S"},
        RegionCase{"StaccatoKind", "key F2\nkey F3\n" L2 "char Y\n" R1, "answer TypeStaccato 1371=1 ok\ncmd 369\n",
                   "C4 D4", "C4Sk2 D4Sk2"},
        RegionCase{"HeadShapes", "key F2\nchar S\nkey F3\n" L3 "char Y\n" R1 R1,
                   "answer TeteNote \"Losange vide\"=1 ok\ncmd 379\n", "C4 R D4", "C4x1 R D4x1"},
        RegionCase{"GroupMarksFlip", "answer Fraction Numérateur=3 Dénominateur=2 ok\nchar G\nkey F2\nkey F3\nkey F4\n"
                   "char g\n" L3 "char Y\n" R1 R1, "cmd 496\n", "C4 D4 E4", "C4< D4 E4"},
        RegionCase{"CueSize", "key F2\nkey F3\n" L2 "char Y\n" R1, "char M\n", "C4 D4", "C4m D4m"},
        RegionCase{"FixedStemsDown", "key F2\nchar S\nkey F3\n" L3 "char Y\n" R1 R1, "cmd 40\n", "C4 R D4",
                   "C4v R D4v"},
        RegionCase{"PlacedAbove", "key Down\nkey F2\nkey F3\nkey F4\n" L3 "char Y\n" R1, "key Ctrl+PageUp\n",
                   "C4 D4 E4", "C4' D4' E4"},
        RegionCase{"ChordAttribute", "key F2\nkey F3\n" L2 "char Y\n" R1, "char C\n", "C4 D4", "C4c D4c"},
        // 8va alta writes the notes an octave lower under code 1; Effacer 8va writes them back.
        RegionCase{"OttavaAlta", "key PageUp\nkey F2\nkey F3\n" L2 "char Y\n" R1, "cmd 681\n", "C5 D5",
                   "T1 C4@1 D4@1"},
        RegionCase{"OttavaAfterANote", "key F2\nkey PageUp\nkey F3\nkey F4\n" L2 "char Y\n" R1, "cmd 681\n",
                   "C4 D5 E5", "C4 T1 D4@1 E4@1"},
        RegionCase{"QuindicesimaAlta", "key PageUp\nkey F2\n" L1 "char Y\n", "cmd 682\n", "C5", "T2 C3@2"},
        RegionCase{"NoLineWithoutNotes", "char S\n" L1 "char Y\n", "cmd 681\n", "R", "R"},
        RegionCase{"QuindicesimaBassa", "key F2\n" L1 "char Y\n", "cmd 684\n", "C4", "T4 C6@4"},
        RegionCase{"EraseOctaveLine", "key PageUp\nkey F2\nkey F3\n" L2 "char Y\n" R1 "cmd 681\n" L2 "char Y\n" R1 R1,
                   "cmd 685\n", "T1 C4@1 D4@1", "C5 D5"},
        // Over two staves: from the cursor to the end of the upper staff, and the lower one up to marker Y.
        RegionCase{"OverTwoStaves",
                   "chars d\nkey F2\nchars d\nkey F3\nkey Down\nchars d\nkey F2\nchars d\nkey F3\n" L1 "char Y\nkey Up\n" R1,
                   "cmd 494\n", "C4# D4# ; C4# D4#", "C4# D4#~ ; C4#~ D4#~"},
        // In a marked rectangle, each staff keeps to the rectangle's sides.
        RegionCase{"InTheMarkedRectangle",
                   "chars d\nkey F2\nchars d\nkey F3\nchars d\nkey F4\nkey Down\nchars d\nkey F2\nchars d\nkey F3\n",
                   "cmd 233\nclick 100 2700\nclick 180 2300\ncmd 494\n", "C4# D4# E4# ; C4# D4#",
                   "C4# D4#~ E4# ; C4# D4#~"},
        // The "Val" menu changes the note at the cursor, and the region when marker Y is set.
        RegionCase{"ValueAtTheCursor", "key F2\n" L1, "cmd 533\n", "C4", "C4/3"},
        RegionCase{"ValueOverTheRegion", "key F2\nkey F3\n" L2 "char Y\n" R1, "cmd 535\n", "C4 D4", "C4/5 D4/5"},
        // A dot under the alternate action goes to the whole chord.
        RegionCase{"DotOnTheChord", "char C\nkey F2\nkey F4\nkey F6\nchar c\n" L1 "cmd 22\n", "char .\n",
                   "C4c E4c G4c", "C4.c E4.c G4.c"}),
    [](const ::testing::TestParamInfo<RegionCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
