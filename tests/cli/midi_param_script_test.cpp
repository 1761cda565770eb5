// "Paramètres MIDI" and "Détermination des voix" answered in scripts on a three-staff system (voices 1, 2, 3), the
// document dumped after, the exported file read back by midicsv.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/midi_csv.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using nlohmann::json;

constexpr const char* threeStaves = "{ [ c1 d e f ], [ e1 f g a ], [ g0 a b c1 ] }\n";
// The MIDI dialog with its answers, then OK or cancel.
std::string Midi(const std::string& answers, const char* close = "ok") {
    return "answer \"Paramètres MIDI\" " + answers + " " + close + "\ncmd 243\n";
}
std::string Voices(const std::string& answers, const char* close = "ok") {
    return "answer \"Détermination des voix\" " + answers + " " + close + "\ncmd 234\n";
}

struct Dumps { json before, after, undone; };

Dumps RunScript(const test::TempDir& dir, const std::string& setup, const std::string& edits) {
    test::WriteText(dir / "score.gmn", threeStaves);
    EXPECT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
    test::WriteText(dir / "s.txt", setup + "dump a.json\n" + edits + "dump b.json\nundo\ndump c.json\nsave\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "s.txt"});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    const auto read = [&](const char* name) { return json::parse(test::ReadText(dir / name), nullptr, false); };
    return {read("a.json"), read("b.json"), read("c.json")};
}

struct SettingCase {
    const char* name;
    std::string edits;
    const char* pointer;  // into the dump
    int expected;
};

// Voice 1 plays on channel 15 (index 14) in a new score.
const SettingCase settingCases[] = {
    {"Tempo 120 is 500000 microseconds", Midi("501=60 501=120"), "/midi/tempo", 500000},
    {"Tempo 0 is ignored", Midi("501=60 501=0"), "/midi/tempo", 1000000},
    {"Tempo 1001 is ignored", Midi("501=60 \"Tempo (Noire) MM\"=1001"), "/midi/tempo", 1000000},
    {"Tempo 1000 is the fastest", Midi("501=1000"), "/midi/tempo", 60000},
    {"Volume 128 is accepted", Midi("Volume=128"), "/midi/volumes/14", 128},
    {"Volume 129 is ignored", Midi("Volume=100 Volume=129"), "/midi/volumes/14", 100},
    {"Transposition -48 is accepted", Midi("Transposition=-48"), "/midi/voiceTranspositions/1", -48},
    {"Transposition -49 is ignored", Midi("Transposition=-5 Transposition=-49"), "/midi/voiceTranspositions/1", -5},
    {"Transposition above 48 is ignored", Midi("Transposition=48 Transposition=49"), "/midi/voiceTranspositions/1", 48},
    {"A transposition is kept only on OK", Midi("Transposition=7", "cancel"), "/midi/voiceTranspositions/1", 0},
    {"A channel chosen is the voice's", Midi("CANAL=3"), "/midi/voiceChannels/1", 2},
    {"The first channel may be chosen", Midi("CANAL=1"), "/midi/voiceChannels/1", 0},
    {"The volume goes to the new channel", Midi("CANAL=3 Volume=99"), "/midi/volumes/2", 99},
    {"The instrument goes to the voice's channel", Midi("CANAL=4 INSTRUMENT=\"Accoustic Bass\""), "/midi/programs/3",
     32},
    {"The staff picked is the voice set", Midi("110=3 CANAL=5"), "/midi/voiceChannels/3", 4},
    {"The first voice picked keeps its pending transposition", Midi("Transposition=5 110=2 Transposition=-3"),
     "/midi/voiceTranspositions/1", 5},
    {"The second voice picked takes its own", Midi("Transposition=5 110=2 Transposition=-3"),
     "/midi/voiceTranspositions/2", -3},
    {"A staff not on the page leaves the voice", Midi("110=9 Transposition=4"), "/midi/voiceTranspositions/1", 4},
    {"A tolerance is clamped", Midi("\"Résolution x horiz.\"=150"), "/midi/tolerances/0", 99},
    {"The second tolerance", Midi("342=7"), "/midi/tolerances/1", 7},
    {"Ornaments as appoggiaturas", Midi("518=1"), "/midi/ornamentsAsAppoggiaturas", 1},
    {"Meters as proportions", Midi("519=1"), "/midi/metersAsProportions", 1},
    // "Annuler" rolls every live change back.
    {"Cancel keeps the channel", Midi("CANAL=3 INSTRUMENT=40 501=60 Transposition=7", "cancel"),
     "/midi/voiceChannels/1", 14},
    {"Cancel keeps the program", Midi("CANAL=3 INSTRUMENT=40 501=60 Transposition=7", "cancel"), "/midi/programs/14",
     0},
    {"Cancel keeps the tempo", Midi("CANAL=3 INSTRUMENT=40 501=60 Transposition=7", "cancel"), "/midi/tempo", 500000},
    {"Cancel keeps the program of the channel chosen", Midi("CANAL=3 INSTRUMENT=40", "cancel"), "/midi/programs/2",
     19},
};

class MidiSettingScript : public ::testing::TestWithParam<SettingCase> {};

TEST_P(MidiSettingScript, StoresWhatTheDialogAllowsAndOneUndoTakesItBack) {
    const SettingCase& c = GetParam();
    test::TempDir dir;
    const Dumps r = RunScript(dir, "", c.edits);
    EXPECT_EQ(r.after.at(json::json_pointer(c.pointer)), c.expected);
    EXPECT_EQ(r.undone.at(json::json_pointer(c.pointer)), r.before.at(json::json_pointer(c.pointer)));
}

// The voice numbers of each page's staves.
std::vector<std::vector<int>> VoiceNumbers(const json& dump) {
    std::vector<std::vector<int>> pages;
    for (const json& page : dump["pages"]) {
        std::vector<int>& voices = pages.emplace_back();
        for (const json& staff : page["staves"]) voices.push_back(staff["voiceWord"].get<int>() & 0xFF);
    }
    return pages;
}

struct NumberingCase {
    const char* name;
    std::string setup;
    std::string edits;
    std::vector<std::vector<int>> voices;
};

// Three pages, the cursor back on page 1.
constexpr const char* threePages = "cmd 63\ncmd 63\ncmd 64\ncmd 64\n";
using Pages = std::vector<std::vector<int>>;

const NumberingCase numberingCases[] = {
    {"Voice 125 on three staves would pass 126", "", Voices("674=125"), Pages{{1, 2, 3}}},
    {"Voice 124 numbers the system up to 126", "", Voices("674=124"), Pages{{124, 125, 126}}},
    {"A staff picked numbers the rest of its system", "", Voices("110=2 \"Numéro de voix :\"=10"), Pages{{1, 10, 11}}},
    {"The last staff may take 126", "", Voices("110=3 674=126"), Pages{{1, 2, 126}}},
    {"The last staff may not take 127", "", Voices("110=3 674=127"), Pages{{1, 2, 3}}},
    {"Voice 0 is refused", "", Voices("674=0"), Pages{{1, 2, 3}}},
    {"Cancel keeps the numbers", "", Voices("674=40", "cancel"), Pages{{40, 41, 42}}},
    {"The numbers go on to the last page chosen", threePages, Voices("674=20 \"Jusqu'à page no\"=3"),
     Pages{{20, 21, 22}, {20, 21, 22}, {20, 21, 22}}},
    {"Only up to the page chosen", threePages, Voices("674=20 281=2"), Pages{{20, 21, 22}, {20, 21, 22}, {1, 2, 3}}},
    {"A page past the score is ignored", threePages, Voices("674=20 281=4"), Pages{{20, 21, 22}, {1, 2, 3}, {1, 2, 3}}},
    {"Cancel copies nothing on", threePages, Voices("674=20 281=3", "cancel"),
     Pages{{20, 21, 22}, {1, 2, 3}, {1, 2, 3}}},
};

class VoiceNumberingScript : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(VoiceNumberingScript, NumbersTheStavesAndOneUndoTakesItBack) {
    const NumberingCase& c = GetParam();
    test::TempDir dir;
    const Dumps r = RunScript(dir, c.setup, c.edits);
    EXPECT_EQ(VoiceNumbers(r.after), c.voices);
    EXPECT_EQ(VoiceNumbers(r.undone), VoiceNumbers(r.before));
}

std::string CaseName(const char* name) {
    std::string s;
    for (const char* p = name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) s += *p;
    return s;
}

INSTANTIATE_TEST_SUITE_P(Cases, MidiSettingScript, ::testing::ValuesIn(settingCases),
                         [](const auto& info) { return CaseName(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Cases, VoiceNumberingScript, ::testing::ValuesIn(numberingCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// The program change and the keys of the first voice's track.
struct Track {
    std::vector<std::string> programs;
    std::vector<int> keys;
};

Track FirstVoiceTrack(const std::filesystem::path& midi) {
    const test::MidiCsv csv = test::ReadMidiCsv(midi);
    EXPECT_EQ(csv.errors, "");
    Track t;
    if (csv.tracks.size() < 2) return t;
    for (const std::string& record : csv.tracks[1])
        if (record.find("Program_c") != std::string::npos) t.programs.push_back(record);
    for (const test::HeardNote& n : test::HeardNotes(csv.tracks[1])) t.keys.push_back(n.key);
    return t;
}

// A voice given its own channel, an instrument and a transposition plays them in the exported file.
TEST(MidiSettingExport, AVoicesInstrumentAndTranspositionReachTheExportedFile) {
    if (!test::HaveMidiCsv()) GTEST_SKIP() << "midicsv is not installed: the exported file cannot be read back";
    test::TempDir dir;
    test::WriteText(dir / "score.gmn", "[ c1 d e f ]\n");
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"export-midi", "score.mus", "before.mid"}).status, 0);
    test::WriteText(dir / "s.txt", Midi("CANAL=2 INSTRUMENT=40 Transposition=-12") + "save\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    ASSERT_EQ(test::RunCli(dir.path(), {"export-midi", "score.mus", "after.mid"}).status, 0);

    const Track before = FirstVoiceTrack(dir / "before.mid");
    const Track after = FirstVoiceTrack(dir / "after.mid");
    EXPECT_EQ(after.programs, std::vector<std::string>{"0, Program_c, 1, 40"});
    ASSERT_EQ(after.keys.size(), before.keys.size());
    ASSERT_FALSE(before.keys.empty());
    for (std::size_t i = 0; i < before.keys.size(); ++i) EXPECT_EQ(after.keys[i], before.keys[i] - 12) << i;
}

}  // namespace
}  // namespace notavera
