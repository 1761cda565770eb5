// notavera-cli render-audio end to end: a MIDI file, a document or an imported GUIDO score becomes a WAV that sox
// hears for as long as the music lasts; errors are the editor's message lines on stderr with a non-zero status.
#include <gtest/gtest.h>

#include "support/audio_test_files.h"
#include "support/cli_runner.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

// The WAV written from `source` lasts between `shortest` and `longest` seconds and is not silent.
void ExpectHeard(const test::TempDir& dir, const std::string& source, double shortest, double longest) {
    const test::CliResult run = test::RunCli(dir.path(), {"render-audio", source, "out.wav"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto stat = test::MeasureWithSox(dir / "out.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001) << source;
    EXPECT_GE(stat->seconds, shortest) << source;
    EXPECT_LE(stat->seconds, longest) << source;
}

TEST(RenderAudioCommand, MidiFilesDocumentsAndGuidoScoresAreHeardForAsLongAsTheyLast) {
    test::TempDir dir;
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67, 69, 71}, 320));  // one second
    ExpectHeard(dir, "air.mid", 1.0, 3.0);
    test::ScoreBuilder score(2);
    score.on(1, 0).notes(100, 150, 4, 5);  // four quarters on G at 120 a minute: two seconds
    score.on(2, 0).notes(100, 150, 4, 1);  // and two more on the second page
    ASSERT_TRUE(score.saveAs(dir / "song.mus"));
    ExpectHeard(dir, "song.mus", 4.0, 7.0);
    EXPECT_FALSE(fs::exists(dir / "song.sum")) << "the working file is removed";
    // Bach's first two-part invention: 22 bars of 4/4 at the default 120 quarters a minute, two voices.
    const auto gmn = fs::path(NOTAVERA_CORPUS_DIR) / "gmn/guidolib_complex_Bach-BWV772.gmn";
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", gmn.string(), "bach.mus"}).status, 0);
    ExpectHeard(dir, "bach.mus", 44.0, 47.0);
}

TEST(RenderAudioCommand, UnreadableMidiUnwritableWavAndWrongArgumentsAreReported) {
    test::TempDir dir;
    const auto bad = fs::path(NOTAVERA_CORPUS_DIR) / "midi/malformed/jazzsoft_test-not-a-midi-file.mid";
    test::CliResult run = test::RunCli(dir.path(), {"render-audio", bad.string(), "x.wav"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "MESSAGE Message 0 Fichier MIDI illisible : " + bad.string() + "\n");
    EXPECT_FALSE(fs::exists(dir / "x.wav"));
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67}, 320));
    const auto wav = dir / "absent" / "air.wav";
    run = test::RunCli(dir.path(), {"render-audio", "air.mid", wav.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "MESSAGE Notavera 2 Impossible d'écrire le fichier " + wav.string() + "\n");
    run = test::RunCli(dir.path(), {"render-audio", "seul.mid"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("render-audio"), std::string::npos);
}

}  // namespace
}  // namespace notavera
