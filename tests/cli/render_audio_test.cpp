// notavera-cli render-audio end to end: a MIDI file becomes a WAV that sox hears; errors are the editor's
// message lines on stderr with a non-zero status.
#include <gtest/gtest.h>


#include "support/audio_test_files.h"
#include "support/cli_runner.h"
#include "support/score_builder.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

// notavera-cli render-audio with these arguments, run in the test's folder.
test::CliResult renderAudio(const std::vector<std::string>& arguments, const test::TempDir& dir) {
    std::vector<std::string> words{"render-audio"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return test::RunCli(dir.path(), words);
}

TEST(RenderAudioCommand, WritesAWavThatIsNotSilent) {
    test::TempDir dir;
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67, 69, 71}, 320));  // one second
    const test::CliResult run = renderAudio({(dir / "air.mid").string(), (dir / "air.wav").string()}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto stat = test::MeasureWithSox(dir / "air.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001);
    EXPECT_GE(stat->seconds, 1.0);
}

TEST(RenderAudioCommand, PlaysADocumentFromItsFirstPageToItsLast) {
    test::TempDir dir;
    test::ScoreBuilder score(2);
    score.on(1, 0).notes(100, 150, 4, 5);  // four quarters on G at 120 a minute: two seconds
    score.on(2, 0).notes(100, 150, 4, 1);  // and two more on the second page
    ASSERT_TRUE(score.saveAs(dir / "song.mus"));
    const test::CliResult run = renderAudio({(dir / "song.mus").string(), (dir / "song.wav").string()}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto stat = test::MeasureWithSox(dir / "song.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001);
    EXPECT_GE(stat->seconds, 4.0);
    EXPECT_LE(stat->seconds, 7.0);
    EXPECT_FALSE(std::filesystem::exists(dir / "song.sum")) << "the working file is removed";
}

TEST(RenderAudioCommand, AGuidoScoreIsHeardForAsLongAsItsBarsLast) {
    // Bach's first two-part invention: 22 bars of 4/4 at the default 120 quarters a minute, two voices.
    test::TempDir dir;
    const auto gmn = test::CorpusDir() / "gmn/guidolib_complex_Bach-BWV772.gmn";
    const test::CliResult imported = test::RunCli(dir.path(), {"import-gmn", gmn.string(), "bach.mus"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const test::CliResult run = renderAudio({"bach.mus", "bach.wav"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto stat = test::MeasureWithSox(dir / "bach.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001);
    EXPECT_GE(stat->seconds, 44.0);
    EXPECT_LE(stat->seconds, 47.0);
}

TEST(RenderAudioCommand, AnUnreadableFileIsAFrenchErrorLine) {
    test::TempDir dir;
    const auto bad = test::CorpusDir() / "midi/malformed/jazzsoft_test-not-a-midi-file.mid";
    const test::CliResult run = renderAudio({bad.string(), (dir / "x.wav").string()}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "MESSAGE Message 0 Fichier MIDI illisible : " + bad.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.wav"));
}

TEST(RenderAudioCommand, AnUnwritableWavIsTheFileMessage) {
    test::TempDir dir;
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67}, 320));
    const auto wav = dir / "absent" / "air.wav";
    const test::CliResult run = renderAudio({(dir / "air.mid").string(), wav.string()}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "MESSAGE Notavera 2 Impossible d'écrire le fichier " + wav.string() + "\n");
}

TEST(RenderAudioCommand, WrongArgumentsShowTheUsage) {
    test::TempDir dir;
    const test::CliResult run = renderAudio({"seul.mid"}, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("render-audio"), std::string::npos);
}

}  // namespace
}  // namespace notavera
