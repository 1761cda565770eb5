// Step entry from a MIDI keyboard end to end: events fed with "midi-in" in a script, the notes read back from
// the dump as a line ("D4b" a D flat in octave 4, "~" a hidden accidental, "+" a note of the chord before it,
// "[" and "]" a beam group's ends, "(" and ")" a slur's, "|" a bar, "R" a rest), or compared with the dump of the keys that do the same.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

std::string NoteLine(const nlohmann::json& dump) {
    static const char* const accidentals[] = {"", "#", "b", "n"};
    std::string line;
    for (const auto& staff : dump["pages"][0]["staves"]) {
        int lastX = -1;
        for (const auto& e : staff["elements"]) {
            const unsigned word0 = e["word0"];
            if (e["kind"] != "note" && e["kind"] != "rest") {
                if (e["signType"] == 0) line += " |";
                continue;
            }
            line += e["x"] == lastX ? "+" : " ";
            lastX = e["x"];
            if (word0 & 1u << 6) line += '[';
            if (word0 & 1u << 2) line += '(';
            const unsigned a = e["rest"].get<bool>() ? 0 : e["accidental"].get<unsigned>();
            if (e["rest"].get<bool>()) line += 'R';
            else line += "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>()) + accidentals[a];
            if (a != 0 && e["hiddenAccidental"].get<bool>()) line += '~';
            if (word0 & 1u << 7) line += ']';
            if (word0 & 1u << 3) line += ')';
        }
    }
    return line.empty() ? line : line.substr(1);
}

nlohmann::json RunOnNewScore(const std::string& script) {
    test::TempDir dir;
    EXPECT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", script + "dump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(test::ReadText(dir / "d.json"), nullptr, false);
}

struct EntryCase {
    const char* name;
    const char* script;
    const char* notes;
    const char* keys = nullptr;  // when set, the keys that change the score as the events do
};

class MidiInScriptTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(MidiInScriptTest, EntersTheNotes) {
    const EntryCase& c = GetParam();
    if (c.keys) EXPECT_EQ(RunOnNewScore(c.script)["pages"], RunOnNewScore(c.keys)["pages"]);
    else EXPECT_EQ(NoteLine(RunOnNewScore(c.script)), c.notes);
}

#define ON(key, velocity, at) "midi-in 0x90 " #key " " #velocity " at " #at "\n"
#define OFF(key) "midi-in 0x80 " #key " 0\n"
#define D_MAJOR "answer Armure Nombre=2 Dièse=1 ok\ncmd 125\n"
#define TWO_NOTES ON(60, 80, 0) ON(62, 80, 100)
#define TWO_KEYS "key F2\nkey F3\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiInScriptTest,
    ::testing::Values(
        // Soft black keys are flats, hard ones sharps; in between the last choice holds, sharps at first.
        EntryCase{"SoftIsFlat", ON(61, 40, 0) ON(68, 40, 100) ON(70, 50, 200), "D4b A4b B4b"},
        EntryCase{"HardIsSharp", ON(61, 120, 0) ON(68, 110, 100), "C4# G4#"},
        EntryCase{"MiddleStartsSharp", ON(61, 80, 0), "C4#"},
        EntryCase{"MiddleAfterFlat", ON(61, 40, 0) ON(63, 80, 100), "D4b E4b"},
        EntryCase{"SharpKeyOverridesFlat", D_MAJOR ON(63, 40, 0) ON(61, 80, 100), "E4b C4#~"},
        // The octave follows the key number; middle C is octave 4.
        EntryCase{"Octaves", ON(48, 80, 0) ON(72, 80, 100) ON(71, 80, 200), "C3 C5 B4"},
        // The key signature takes over its own accidentals and asks naturals of the others.
        EntryCase{"KeyImplied", D_MAJOR ON(66, 120, 0) ON(65, 120, 100), "F4#~ F4n"},
        EntryCase{"FlatKeySpellsCFlat", "answer Armure Nombre=6 Bémol=1 ok\ncmd 125\n" ON(71, 30, 0) ON(64, 30, 100),
                  "C5b~ E4n"},
        EntryCase{"SharpKeySpellsESharp", "answer Armure Nombre=6 Dièse=1 ok\ncmd 125\n" ON(65, 120, 0),
                  "E4#~"},
        // A plain note after an altered one of its name in the bar says its natural.
        EntryCase{"BarAccidentalCancelled", ON(66, 120, 0) ON(65, 120, 100), "F4# F4n"},
        // Keys struck within 30 ms make a chord; the next key later ends it.
        EntryCase{"Chord", ON(60, 80, 0) ON(64, 80, 10) ON(67, 80, 60) ON(71, 80, 70) ON(72, 80, 200),
                  "C4+E4 B4+G4 C5"},
        // A zone marked with marker Y keeps its notes as they are: the chord belongs to the keys played.
        EntryCase{"ChordBesideAMarkedZone",
                  "key F2\nkey F3\nkey Left\nkey Left\nchar Y\nkey Right\nkey Right\n" ON(64, 80, 0) ON(67, 80, 10)
                      ON(72, 80, 100),
                  "C4 D4 E4+G4 C5"},
        EntryCase{"ChordOfThree", ON(60, 80, 0) ON(64, 80, 10) ON(67, 80, 29) ON(72, 80, 59), "C4+E4+G4 C5"},
        // The pedal pressed down enters a bar (closing a chord first); pressed partly it does nothing.
        EntryCase{"PedalDown", ON(60, 80, 0) "midi-in 0xB0 64 127\n", "C4 |"},
        EntryCase{"PedalForRests", "answer Environnement Silence=1 ok\ncmd 335\n" ON(60, 80, 0) "midi-in 0xB0 64 127\n",
                  "C4 R"},
        EntryCase{"PedalHalf", ON(60, 80, 0) "midi-in 0xB0 64 64\n", "C4"},
        EntryCase{"SoundOffEndsChord", ON(60, 80, 0) ON(64, 80, 5) "midi-in 0xB0 120 0\n", "C4+E4 |"},
        EntryCase{"ChannelPressure", ON(60, 80, 0) "midi-in 0xD0 0 0\n", "C4 R"},
        // Eighths played legato are beamed; the release of the last key closes the group.
        EntryCase{"LegatoBeam", "char 5\n" ON(60, 80, 0) ON(62, 80, 100) OFF(60) ON(64, 80, 200) OFF(62) OFF(64)
                      ON(65, 80, 300) OFF(65), "[C4 D4 E4] F4"},
        // In the slur setting, notes played legato are slurred instead.
        EntryCase{"LegatoSlur", "answer Environnement Liaison=1 ok\ncmd 335\n" ON(60, 80, 0) ON(62, 80, 100) OFF(60)
                      ON(64, 80, 200) OFF(62) OFF(64) ON(65, 80, 300) OFF(65), "(C4 D4 E4) F4"},
        // Data bytes above 127 and other messages are ignored.
        EntryCase{"Ignored", "midi-in 0x90 61 200\nmidi-in 0xC0 5 0\nmidi-in 0xB0 7 127\n", ""},
        // Pitch bend up is Space, down Backspace, centred nothing; undo takes the notes as it takes typed ones.
        EntryCase{"BendUp", TWO_NOTES "midi-in 0xE0 0 127\n" ON(64, 80, 300), "", TWO_KEYS "key Space\nkey F4\n"},
        EntryCase{"BendDown", TWO_NOTES "midi-in 0xE0 0 0\n" ON(64, 80, 300), "", TWO_KEYS "key Backspace\nkey F4\n"},
        EntryCase{"BendCentre", TWO_NOTES "midi-in 0xE0 0 64\n" ON(64, 80, 300), "", TWO_KEYS "key F4\n"},
        EntryCase{"Undo", TWO_NOTES "undo\n", "", TWO_KEYS "undo\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
