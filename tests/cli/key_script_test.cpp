// The "Armure" menu and the respelling commands end to end: notes typed in a script, a key put on the staff, then
// the command; the accidentals of the dump read as a line of note names ("F4#~" is an F sharp whose sharp is
// hidden, "|" a bar, "K" a key change, " ; " the next staff, " / " the next page).
#include <gtest/gtest.h>

#include <utility>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

struct KeyCase {
    const char* name;
    const char* script;
    const char* notes;
};

// The notes, bars and key changes of the staves that hold something, page by page.
std::string NoteLine(const nlohmann::json& dump) {
    static const char* const accidentals[] = {"", "#", "b", "n", "x", "bb", "+", "-"};
    std::string line, separator;
    for (const auto& page : dump["pages"]) {
        for (const auto& staff : page["staves"]) {
            const std::size_t before = line.size();
            for (const auto& e : staff["elements"]) {
                const bool note = e["kind"] == "note";
                if (!note && e["signType"] != 0 && e["signType"] != 13) continue;  // the clef a key needs
                line += std::exchange(separator, " ");
                if (!note) {
                    line += e["signType"] == 0 ? '|' : 'K';
                    continue;
                }
                const unsigned a = e["accidental"];
                line += "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>()) + accidentals[a];
                if (a != 0 && e["hiddenAccidental"].get<bool>()) line += '~';
            }
            if (line.size() != before) separator = " ; ";
        }
        if (!line.empty()) separator = " / ";
    }
    return line;
}

class KeyScriptTest : public ::testing::TestWithParam<KeyCase> {};

// Typing: F2 … F8 give C … B in octave 4, "d" "b" "h" force the next note's sharp, flat or natural, a note typed
// after another of its name in the bar takes that one's accidental, hidden. "key Left" goes back one element
// (the first press onto the last note). The key is put on the staff after the notes, so that they keep the
// accidentals they were typed with.
#define STAFF_KEY_AFTER(notes, lefts) "cmd 201\n" notes lefts "answer Armure Nombre=2 Dièse=1 ok\ncmd 125\n"
#define L1 "key Left\n"
#define L2 L1 L1
#define L3 L2 L1
#define L4 L2 L2
#define FS_F_BAR "key F5\nkey F5\nchar |\n" L3 "char d\n"
#define RESPELT "chars d\nkey F2\nchars b\nkey F3\nchars d\nkey F4\nchars b\nkey F5\n"

TEST_P(KeyScriptTest, LeavesTheAccidentals) {
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", std::string(GetParam().script) + "dump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto dump = nlohmann::json::parse(test::ReadText(dir / "d.json"), nullptr, false);
    EXPECT_EQ(NoteLine(dump), GetParam().notes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyScriptTest,
    ::testing::Values(
        // Two sharps: a plain F needs a natural, the sharp of an F sharp and the natural of a G are implied.
        KeyCase{"ReadKey", STAFF_KEY_AFTER("key F5\nchars d\nkey F5\nchars h\nkey F6\n", L3) "cmd 127\n",
                "F4n F4#~ G4n~"},
        KeyCase{"LoadKey", STAFF_KEY_AFTER("key F2\n", L1) "cmd 129\n", "C4#~"},
        KeyCase{"UnloadKey", STAFF_KEY_AFTER("key F2\n", L1) "cmd 129\ncmd 130\n", "C4n"},
        // Inclusive bars: the sharp carries to the plain F of its bar (shown in another octave), not past the bar.
        KeyCase{"InclusiveBars", "key F5\nkey F5\nchar |\nkey F5\n" L4 "char d\ncmd 131\n", "F4# F4#~ | F4"},
        KeyCase{"InclusiveBarsOtherOctave", "key F5\nkey PageUp\nkey F5\nchar |\n" L3 "char d\ncmd 131\n",
                "F4# F5# |"},
        // Exclusive bars: pitches stay; a repeated sharp is hidden, a plain F after it needs its natural.
        KeyCase{"ExclusiveBars", "key F5\nkey F5\nkey F5\nchar |\n" L4 "char d\nkey Right\nchar d\ncmd 132\n",
                "F4# F4#~ F4n |"},
        // Without any bar there is no bar context to read.
        KeyCase{"NoBarNoBarContext", "key F5\nkey F5\n" L2 "char d\ncmd 132\n", "F4# F4"},
        // Voir-#b shows every accidental but the one a tie carries over.
        KeyCase{"ShowAllButTies", "chars d_\nkey F5\nchar -\nkey F5\nkey F5\ncmd 126\n", "F4# F4#~ F4#"},
        // After a cancelling key change the key alters nothing: a plain F stays, a natural is needless.
        KeyCase{"CancellingKeyChange",
                STAFF_KEY_AFTER("key F5\n", L1) "key Right\nkey Space\nkey Space\nanswer Armure Nombre=0 ok\n"
                                                "cmd 125\nkey F5\nchars h\nkey F5\ncmd 127\n",
                "F4n K F4 F4n~"},
        // Over the pages up to the page marker, or to the last page; the marker is used up. The others keep to
        // their line.
        KeyCase{"OnlyTheCurrentLine", FS_F_BAR "cmd 63\n" FS_F_BAR "cmd 64\ncmd 132\n", "F4# F4n | / F4# F4 |"},
        KeyCase{"InclusiveToTheLastPage", FS_F_BAR "cmd 63\n" FS_F_BAR "cmd 64\ncmd 595\n",
                "F4# F4#~ | / F4# F4#~ |"},
        KeyCase{"ToTheLastPage", FS_F_BAR "cmd 63\n" FS_F_BAR "cmd 64\ncmd 597\n", "F4# F4n | / F4# F4n |"},
        KeyCase{"OnlyToThePageMarker", FS_F_BAR "cmd 598\ncmd 63\n" FS_F_BAR "cmd 64\ncmd 597\n",
                "F4# F4n | / F4# F4 |"},
        KeyCase{"ThePageMarkerIsUsedUp", FS_F_BAR "cmd 598\ncmd 63\n" FS_F_BAR "cmd 64\ncmd 597\ncmd 597\n",
                "F4# F4n | / F4# F4n |"},
        // Inverser #-b over the region between marker Y, set here on the first note, and the cursor.
        KeyCase{"RespellRegion", RESPELT L4 "char Y\nkey Right\nkey Right\nkey Right\ncmd 283\n", "D4b C4# F4 E4"},
        KeyCase{"RespellOverTwoStaves",
                "chars d\nkey F2\nchars d\nkey F2\nkey Down\nchars d\nkey F2\nchars d\nkey F2\n" L2
                "char Y\nkey Up\nkey Right\ncmd 283\n",
                "C4# D4b ; D4b C4#"},
        KeyCase{"RespellDoublesAcrossOctaves",
                "chars D\nkey F2\nchars B\nkey F5\nchars b\nkey F2\nchars d\nkey F8\nchar Y\n" L4 "cmd 283\n",
                "D4 E4b B3 C5"},
        // The tool of "Note # -> Note+1 b" also respells natural notes, across the octave where it must.
        KeyCase{"RespellTool", "key F2\nkey F5\ncmd 89\n" L1 "key Enter\n" L1 "key Enter\n", "B3# E4#"},
        // In a key, a respelt note on a name of the key loses its sharp to the key or gets a natural.
        KeyCase{"RespellInKey",
                STAFF_KEY_AFTER("chars b\nkey F6\nchars d\nkey F4\n", L2) "cmd 89\nkey Right\nkey Enter\n" L1
                    "key Enter\n",
                "F4#~ F4n"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
