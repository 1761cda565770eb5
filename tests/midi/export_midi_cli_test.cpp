// notavera-cli export-midi end to end: a saved document of many pages (more than its memory window holds)
// exported whole, by page range and for one voice, read back by midicsv; failures reported in French.
#include <gtest/gtest.h>

#include <string>

#include "support/cli_runner.h"
#include "support/score_builder.h"
#include "support/midi_csv.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::HeardNote;

constexpr int pageCount = 12;

// Page p holds, on its two staves (one system, voices 1 and 2 on different channels), one quarter note of
// key 40 + p and one half note of key 80 + p.
class ExportMidiCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::ScoreBuilder b(pageCount, 2, 2);
        b.setChannel(2, 5);
        for (int p = 1; p <= pageCount; ++p) {
            b.on(p, 0).note(100, 1 + (p - 1) % 7, 4, 0, 2 + (p - 1) / 7);
            b.on(p, 1).note(100, 1 + (p - 1) % 7, 3, 0, 5 + (p - 1) / 7);
        }
        b.setCurrent(pageCount, 1);  // saved on the last page: the export still starts on page 1
        ASSERT_TRUE(b.saveAs(document));
    }
    test::CliResult run(std::vector<std::string> args) {
        args.insert(args.begin(), "export-midi");
        return test::RunCli(dir.path(), args);
    }

    // The file written, as an independent reader (midicsv) reads it without complaint.
    test::MidiCsv exported(std::vector<std::string> options) {
        options.insert(options.begin(), {document.string(), output.string()});
        const test::CliResult r = run(options);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        test::MidiCsv file = test::ReadMidiCsv(output);
        EXPECT_EQ(file.errors, "");
        return file;
    }
    static std::vector<int> keys(const std::vector<HeardNote>& notes) {
        std::vector<int> k;
        for (const auto& n : notes) k.push_back(n.key);
        return k;
    }
    test::TempDir dir;
    std::filesystem::path document = dir / "partition.mus";
    std::filesystem::path output = dir / "partition.mid";
};

// Key of the note of voice 1 (octave 2) or voice 2 (octave 5) on page p.
int keyOn(int page, int octave) {
    constexpr int pitch[] = {0, 2, 4, 5, 7, 9, 11};
    return (octave + (page - 1) / 7 + 1) * 12 + pitch[(page - 1) % 7];
}

std::vector<int> voiceKeys(int first, int last, int octave) {
    std::vector<int> k;
    for (int p = first; p <= last; ++p) k.push_back(keyOn(p, octave));
    return k;
}

TEST_F(ExportMidiCli, WholeScoreWalksEveryPage) {
    const test::MidiCsv f = exported({});
    ASSERT_EQ(f.tracks.size(), 3u);
    const auto voice1 = test::HeardNotes(f.tracks[1]);
    const auto voice2 = test::HeardNotes(f.tracks[2]);
    EXPECT_EQ(keys(voice1), voiceKeys(1, pageCount, 2));
    EXPECT_EQ(keys(voice2), voiceKeys(1, pageCount, 5));
    ASSERT_EQ(voice2.size(), static_cast<std::size_t>(pageCount));
    // Each page follows the previous one's last note: the half notes of voice 2 are back to back.
    EXPECT_EQ(voice2.back().on, 512u * (pageCount - 1));
    EXPECT_EQ(voice1.back().on, 256u * (pageCount - 1));
    EXPECT_EQ(voice2[3].channel, 5u);
    EXPECT_EQ(f.tracks[0], std::vector<std::string>{"0, Tempo, 500000"});
}

TEST_F(ExportMidiCli, PageRangeAndVoiceOptionsLimitWhatIsWritten) {
    test::MidiCsv f = exported({"--from-page", "9", "--to-page", "11"});
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_EQ(keys(test::HeardNotes(f.tracks[1])), voiceKeys(9, 11, 2));
    EXPECT_EQ(keys(test::HeardNotes(f.tracks[2])), voiceKeys(9, 11, 5));
    f = exported({"--voice", "--to-page", "3"});  // the first staff's voice alone
    ASSERT_EQ(f.tracks.size(), 2u);
    EXPECT_EQ(keys(test::HeardNotes(f.tracks[1])), voiceKeys(1, 3, 2));
    f = exported({"--from-page", "5", "--to-page", "2"});  // a last page before the first: tracks without notes
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_TRUE(test::HeardNotes(f.tracks[1]).empty());
}

}  // namespace
}  // namespace notavera
