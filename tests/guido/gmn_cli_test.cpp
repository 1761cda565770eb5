// notavera-cli end to end: gmn-trace (the trace lines, the modes, the error lines, the exit status) and
// import-gmn, which saves what it read before an error and lays the piece out so that it sounds as written.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/midi_csv.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;

class GmnCli : public ::testing::Test {
protected:
    CliResult run(const std::string& command, const std::string& gmn, std::vector<std::string> args = {}) {
        test::WriteText(dir / "in.gmn", gmn);
        args.insert(args.begin(), {command, "in.gmn"});
        return RunCli(dir.path(), args);
    }
    test::TempDir dir;
};

TEST_F(GmnCli, TracePrintsTheCallbacksModesAndErrors) {
    CliResult r = run("gmn-trace", "[c d/8.]");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "na_segmInit()\nna_seqInit()\n"
              "na_seqAppendNote(pc=0,oct=1,acc=0, durN=1,durD=4,dots=0, durPosN=0,durPosD=1)\n"
              "na_seqAppendNote(pc=2,oct=1,acc=0, durN=1,durD=8,dots=1, durPosN=1,durPosD=4)\n"
              "na_seqExit()\nna_segmExit()\n");
    r = run("gmn-trace", "[c \\bar d | e]", {"--mode", "11"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("na_seqAppendNote"), std::string::npos);
    EXPECT_NE(r.out.find("na_tagStart(s=\\bar,no=0,tagno=2, durPosN=1,durPosD=2)"), std::string::npos);
    r = run("gmn-trace", "[c\n x ]]");
    EXPECT_EQ(r.status, 1);
    // A box is one line: its line breaks are printed as spaces.
    EXPECT_NE(r.out.find("MESSAGE Erreur 0 Erreur lors de l'analyse du fichier Guido Erreur: 'Unknown notename, "
                         "replaced by rest.' (ligne 2, caractère 2)"),
              std::string::npos);
    EXPECT_NE(r.out.find("Erreur: 'parse error' (ligne 2, caractère 5)"), std::string::npos);
    EXPECT_NE(r.out.find("na_seqAppendNote(pc=-1,"), std::string::npos);  // passed on before the reading stopped
    EXPECT_EQ(run("gmn-trace", "[c]", {"--mode", "5"}).status, 2);
    EXPECT_EQ(RunCli(dir.path(), {"gmn-trace"}).status, 2);
}

TEST_F(GmnCli, ImportReportsAReadingErrorAndSavesWhatWasRead) {
    const CliResult import = run("import-gmn", "[c d ) e]", {"out.mus"});
    EXPECT_EQ(import.status, 1);
    EXPECT_NE(import.err.find("Erreur: 'parse error' (ligne 1, caractère 6)"), std::string::npos) << import.err;
    const CliResult info = RunCli(dir.path(), {"info", "out.mus", "--elements"});
    // The two notes read before the error, behind the treble clef of a staff that names none, and a final bar.
    EXPECT_NE(info.out.find("\"elementCount\": 4,"), std::string::npos) << info.out;
    const CliResult missing = RunCli(dir.path(), {"import-gmn", "missing.gmn", "none.mus"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Could not open file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.mus"));
    EXPECT_EQ(RunCli(dir.path(), {"import-gmn", "only-one.gmn"}).status, 2);
}

// Sixteen bars of eighths over a staff without bar lines that holds long values (a rest of seven whole notes, a note
// of nine, a chord whose notes last sixteen and eight), or whose bar of ten wholes is longer than a line: the lines
// end inside the long values, which are written in tied parts and rests and still sound once, in time.
TEST_F(GmnCli, LinesEndingInsideLongValuesKeepEveryNoteInTime) {
    using Heard = std::vector<std::pair<std::uint32_t, int>>;
    constexpr std::uint32_t whole = 1024;
    const std::pair<const char*, Heard> cases[] = {
        {"[_*7/1 c0*9/1]", {{7 * whole, 48}}},
        {"[{c0*16/1, e0*8/1} g0*8/1]", {{0, 48}, {0, 52}, {16 * whole, 55}}},
        {"[\\meter<\"4/4\"> c0*3/1 \\meter<\"10/1\"> c0/1 d e f g a b c d e ]",
         {{0, 48}, {3 * whole, 48}, {4 * whole, 50}, {5 * whole, 52}, {6 * whole, 53}, {7 * whole, 55},
          {8 * whole, 57}, {9 * whole, 59}, {10 * whole, 48}, {11 * whole, 50}, {12 * whole, 52}}},
    };
    std::string eighths;
    for (int bar = 0; bar < 16; ++bar) eighths += "c1/8 d e f g a b c2 | ";
    for (const auto& [other, expected] : cases) {
        ASSERT_EQ(run("import-gmn", "{[\\meter<\"4/4\"> " + eighths + "], " + other + "}", {"out.mus"}).status, 0);
        const auto info = nlohmann::json::parse(RunCli(dir.path(), {"info", "out.mus"}).out);
        int staves = 0;
        for (const auto& page : info["pages"])
            for (const auto& staff : page["staves"]) staves += staff["elementCount"].get<int>() > 0;
        EXPECT_GE(staves, 6) << "the music goes on over three lines at least: " << other;
        ASSERT_EQ(RunCli(dir.path(), {"export-midi", "out.mus", "out.mid"}).status, 0);
        const test::MidiCsv midi = test::ReadMidiCsv(dir / "out.mid");
        ASSERT_EQ(midi.tracks.size(), 2u);
        Heard upper, lower;
        for (const test::HeardNote& n : test::HeardNotes(midi.tracks[1]))
            (n.key >= 60 ? upper : lower).push_back({n.on, n.key});
        constexpr int scale[] = {60, 62, 64, 65, 67, 69, 71, 72};
        ASSERT_EQ(upper.size(), 128u);
        for (std::uint32_t i = 0; i < 128; ++i) EXPECT_EQ(upper[i], std::make_pair(128 * i, scale[i % 8])) << i;
        std::sort(lower.begin(), lower.end());
        EXPECT_EQ(lower, expected) << other;
    }
}

// The first staff ends in 2/4 while the second goes on in 5/8 over several lines: the rests that hold the ended
// voice's time stand alone between the other staff's bar lines, and must last what they are worth, not a 2/4 bar.
TEST_F(GmnCli, AnEndedFirstVoiceKeepsTheVoicesGoingOnInTime) {
    for (const std::uint32_t bars : {12u, 30u}) {
        std::string music;
        for (std::uint32_t bar = 0; bar < bars; ++bar) music += "c2/2 d/8 ";
        ASSERT_EQ(run("import-gmn", "{[\\meter<\"2/4\"> c1/2], [\\meter<\"5/8\"> " + music + "]}", {"out.mus"}).status,
                  0);
        ASSERT_EQ(RunCli(dir.path(), {"export-midi", "out.mus", "out.mid"}).status, 0);
        const test::MidiCsv midi = test::ReadMidiCsv(dir / "out.mid");
        ASSERT_EQ(midi.tracks.size(), 2u);
        std::vector<std::pair<std::uint32_t, int>> heard, expected{{0, 60}};
        for (const test::HeardNote& n : test::HeardNotes(midi.tracks[1])) heard.push_back({n.on, n.key});
        for (std::uint32_t bar = 0; bar < bars; ++bar) {
            expected.push_back({640 * bar, 72});
            expected.push_back({640 * bar + 512, 74});
        }
        std::sort(heard.begin(), heard.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(heard, expected) << bars << " bars";
    }
}

}  // namespace
}  // namespace notavera
