// notavera-cli dump-midi and import-midi end to end: the dump on standard output, the import's options, and the
// errors in French on standard error.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

// Division 96, format 0: eight quarter notes, two bars of 4/4.
std::vector<std::uint8_t> EightQuarters() {
    std::vector<std::uint8_t> track;
    for (int i = 0; i < 8; ++i) {
        const auto key = static_cast<std::uint8_t>(60 + i);
        track.insert(track.end(), {0, 0x90, key, 64, 96, 0x80, key, 0});
    }
    track.insert(track.end(), {0, 0xFF, 0x2F, 0});
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0,
                                   static_cast<std::uint8_t>(track.size())};
    for (const std::uint8_t b : track) file.push_back(b);
    return file;
}

class MidiReadCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(dir.path() / "in.mid", EightQuarters());
        test::WriteText(dir.path() / "text.mid", "not a MIDI file");
    }
    test::CliResult run(std::vector<std::string> args) { return test::RunCli(dir.path(), args); }
    test::TempDir dir;
};

TEST_F(MidiReadCli, DumpsTheFileOrSaysItCannotBeRead) {
    const auto dump = run({"dump-midi", "in.mid"});
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out.rfind("FICHIER MIDI:\t\t in.mid\nFORMAT:\t\t\t 0\nTRACKS:\t\t\t 1\nDIVISION:\t\t 96\n", 0), 0u);
    EXPECT_NE(dump.out.find("NOTE OFF:\t\t note 67 - vel 0 - chan 0 - 96\nFIN DE PISTE\n"), std::string::npos);
    EXPECT_EQ(run({"dump-midi", "in.mid", "--first-track"}).out, dump.out);
    const auto bad = run({"dump-midi", "text.mid"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "MESSAGE Erreur 9 Erreur de lecture.\n");
    EXPECT_EQ(run({"dump-midi", "in.mid", "--all"}).status, 2);
}

TEST_F(MidiReadCli, ImportsOverThePagesItIsGiven) {
    const auto imported = run({"import-midi", "in.mid", "out.mus", "--bars-per-page", "1", "--rounding", "128"});
    EXPECT_EQ(imported.status, 0) << imported.err;
    const auto info = run({"info", "out.mus"});
    EXPECT_EQ(nlohmann::json::parse(info.out)["pageCount"], 2);
    EXPECT_EQ(run({"import-midi", "in.mid", "raw.mus", "--raw", "--upbeat", "4"}).status, 0);
    EXPECT_EQ(run({"import-midi", "text.mid", "x.mus"}).status, 1);
    EXPECT_EQ(run({"import-midi", "in.mid", "x.mus", "--rounding", "48"}).status, 2);
}

}  // namespace
}  // namespace notavera
