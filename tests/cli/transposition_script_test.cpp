// Transposition end to end: a score imported from GUIDO, a dialog answered, the command run on the region marked
// with marker Y or on the voice; the staves read back before, after, and after one undo. A note reads as its name,
// octave and accidental (~ when the key hides it), /n a value other than a quarter, [ = ] its beam marks, R a rest;
// signs are left out; " ; " the next staff, " // " the next page.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using nlohmann::json;

bool Bit(const json& e, const char* word, int bit) { return (e[word].get<std::uint32_t>() >> bit & 1u) != 0; }

std::string Token(const json& e) {
    std::string t = e["kind"] == "rest" ? "R" : "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>());
    if (e["durationCode"] != 4) t += "/" + std::to_string(e["durationCode"].get<int>());
    static const char* const accidentals[] = {"", "#", "b", "n", "x", "bb", "+", "-"};
    t += accidentals[e["accidental"].get<unsigned>()];
    if (Bit(e, "noteWord", 12)) t += '~';
    for (const auto& [bit, mark] : {std::pair{6, '['}, {5, '='}, {7, ']'}})
        if (Bit(e, "word0", bit)) t += mark;
    return t;
}

std::string Score(const std::string& dumpText) {
    const json dump = json::parse(dumpText);
    std::string text, pageGap;
    for (const json& page : dump["pages"]) {
        text += std::exchange(pageGap, " // ");
        std::string staffGap;
        for (const json& staff : page["staves"]) {
            if (staff["elements"].empty()) continue;
            text += std::exchange(staffGap, " ; ");
            std::string gap;
            for (const json& e : staff["elements"])
                if (e["kind"] != "sign") text += std::exchange(gap, " ") + Token(e);
        }
    }
    return text;
}

struct TranspositionCase {
    const char* name;
    const char* music;
    std::string edits;   // the cursor, the markers, the answers and the command
    const char* before;
    const char* after;
    std::string setup = "";  // before the first reading
    int steps = 1;           // the undo steps the edits made
};

// The cursor on element n of the first staff.
std::string At(int n) {
    std::string keys = "key Ctrl+Home\n";
    for (int i = 0; i < n; ++i) keys += "key Right\n";
    return keys;
}
// Marker Y on element a, the cursor on element b.
std::string Region(int a, int b) {
    std::string keys = At(a) + "char Y\n";
    for (int i = a; i < b; ++i) keys += "key Right\n";
    return keys;
}

std::string Pitch(const char* answer, int command = 227) {
    return std::string("answer TranspHaut ") + answer + " ok\ncmd " + std::to_string(command) + "\n";
}
std::string Durations(const char* answer) { return std::string("answer TranspDurees ") + answer + " ok\ncmd 229\n"; }

// Three pages: page 1 from the GUIDO text, a C on page 2 and on page 3, the page marker on page 2, the cursor back
// on page 1.
constexpr const char* threePages = "cmd 63\ncmd 63\nkey F2\ncmd 64\nkey F2\ncmd 598\ncmd 64\n";

const TranspositionCase cases[] = {
    {"B up two degrees is the next octave's C", "[ b1 ]", Pitch("252=2 Haut=1"), "B4", "C5"},
    {"One degree is a unison", "[ c1 d ]", Pitch("252=1 Haut=1"), "C4 D4", "C4 D4"},
    {"Down three degrees wraps below C", "[ d1 e ]", Pitch("252=3 Bas=1"), "D4 E4", "B3 C4"},
    {"Down into the lowest octave, and no lower", "[ c-2 c-3 ]", Pitch("252=2 Bas=1"), "C1 C0", "B0 B0"},
    {"A count beyond its range stops at two octaves", "[ c1 ]", Pitch("252=99 Haut=1"), "C4", "C6"},
    {"Diatonic steps keep the key's accidentals", "[ \\key<2> c1 e f# ]", Pitch("252=2 Haut=1"), "C4n E4 F4#~",
     "D4 F4#~ G4"},
    {"A key transposition up a fifth", "[ c1 e b ]", Pitch("252=5 Haut=1", 228), "C4 E4 B4", "G4 B4 F5#"},
    {"A key unison is a chromatic semitone", "[ c1 e& ]", Pitch("252=1 Haut=1", 228), "C4 E4b", "C4# E4"},
    {"Down a major second by key", "[ c1 f ]", Pitch("252=2 Bas=1", 228), "C4 F4", "B3b E4b"},
    {"Only the region moves", "[ c1 d e f ]", Region(2, 3) + Pitch("252=3 Haut=1"), "C4 D4 E4 F4", "C4 F4 G4 F4"},
    {"Rapide 1 makes a sixteenth a thirty-second", "[ c1/16 ]", Durations("255=1 Rapide=1"), "C4/6", "C4/7"},
    {"Lent 3 makes a half a longa", "[ c1/2 ]", Durations("255=3 Lent=1"), "C4/3", "C4/0"},
    {"Lent 4 on a half changes nothing", "[ c1/2 ]", Durations("255=4 Lent=1"), "C4/3", "C4/3"},
    {"Eighths made quarters leave their beam", "[ \\beam( c1/8 d e f ) ]", Region(2, 3) + Durations("255=1 Lent=1"),
     "C4/5[= D4/5= E4/5= F4/5=]", "C4/5[=] D4 E4 F4/5[=]"},
    // The second time, the marker used up, the voice moves to the end of the score.
    {"The voice up to the page marker, which is used up", "[ c1 ]",
     Pitch("252=2 Haut=1") + "answer TranspHaut ok\ncmd 227\n", "C4 // C4 // C4", "E4 // E4 // D4", threePages, 2},
    {"The dialog offers the last count and direction again", "[ c1 ]",
     Pitch("252=3 Haut=1") + "answer TranspHaut ok\ncmd 227\n", "C4", "G4", "", 2},
};

class TranspositionScriptTest : public ::testing::TestWithParam<TranspositionCase> {};

TEST_P(TranspositionScriptTest, ChangesThePassageAndOneUndoTakesItBack) {
    const TranspositionCase& c = GetParam();
    test::TempDir dir;
    test::WriteText(dir / "score.gmn", std::string(c.music) + "\n");
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
    std::string undo;
    for (int i = 0; i < c.steps; ++i) undo += "undo\n";
    test::WriteText(dir / "s.txt", c.setup + "dump a.json\n" + c.edits + "dump b.json\n" + undo + "dump c.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string before = Score(test::ReadText(dir / "a.json"));
    EXPECT_EQ(before, c.before);
    EXPECT_EQ(Score(test::ReadText(dir / "b.json")), c.after);
    EXPECT_EQ(Score(test::ReadText(dir / "c.json")), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, TranspositionScriptTest, ::testing::ValuesIn(cases),
                         [](const auto& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.name))
                                 if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
                             return name;
                         });

// The x of every note and rest on the first staff of each page.
std::vector<std::vector<int>> NoteXs(const std::string& dumpText) {
    std::vector<std::vector<int>> pages;
    const json dump = json::parse(dumpText);
    for (const json& page : dump["pages"]) {
        std::vector<int>& xs = pages.emplace_back();
        for (const json& e : page["staves"][0]["elements"])
            if (e["kind"] != "sign") xs.push_back(e["x"].get<int>());
    }
    return pages;
}

TEST(RegularSpacesScript, TheRegionsSystemMovesThenTheVoiceUpToThePageMarkerByTheSameCount) {
    test::TempDir dir;
    test::WriteText(dir / "score.gmn", "[ c1 d e f ]\n");
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
    test::WriteText(dir / "s.txt", std::string(threePages) + "dump a.json\n" + Region(2, 3) +
                                       "answer TransposEsp \"Nombre d'espaces:\"=2 Ajouter=1 ok\ncmd 220\n"
                                       "dump b.json\ncmd 220\ndump c.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const auto a = NoteXs(test::ReadText(dir / "a.json"));
    ASSERT_EQ(a.size(), 3U);
    ASSERT_EQ(a[0].size(), 4U);
    const auto b = NoteXs(test::ReadText(dir / "b.json"));
    const int moved = b[0][1] - a[0][1];
    EXPECT_GT(moved, 0);
    EXPECT_EQ(b[0], (std::vector<int>{a[0][0], a[0][1] + moved, a[0][2] + moved, a[0][3] + moved}));
    EXPECT_EQ(std::vector(b.begin() + 1, b.end()), std::vector(a.begin() + 1, a.end()));
    // Without a region: every page's line from its first element, up to the page marker on page 2.
    const auto c = NoteXs(test::ReadText(dir / "c.json"));
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(c[0][i], b[0][i] + moved);
    EXPECT_EQ(c[1][0], a[1][0] + moved);
    EXPECT_EQ(c[2], a[2]);
}

}  // namespace
}  // namespace notavera
