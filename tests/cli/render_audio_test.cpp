// notavera-cli render-audio end to end: a MIDI file becomes a WAV that sox hears; errors are the editor's
// message lines on stderr with a non-zero status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "support/audio_test_files.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

struct CliRun {
    int status;
    std::string errors;
};

CliRun renderAudio(const std::string& arguments, const test::TempDir& dir) {
    const auto errors = dir / "stderr.txt";
    const std::string command = std::string(NOTAVERA_CLI) + " render-audio " + arguments + " 2>'" + errors.string() + "'";
    const int raw = std::system(command.c_str());
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

TEST(RenderAudioCommand, WritesAWavThatIsNotSilent) {
    test::TempDir dir;
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67, 69, 71}, 320));  // one second
    const CliRun run = renderAudio(quoted(dir / "air.mid") + " " + quoted(dir / "air.wav"), dir);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
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
    const CliRun run = renderAudio(quoted(dir / "song.mus") + " " + quoted(dir / "song.wav"), dir);
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto stat = test::MeasureWithSox(dir / "song.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001);
    EXPECT_GE(stat->seconds, 4.0);
    EXPECT_LE(stat->seconds, 7.0);
    EXPECT_FALSE(std::filesystem::exists(dir / "song.sum")) << "the working file is removed";
}

TEST(RenderAudioCommand, AnUnreadableFileIsAFrenchErrorLine) {
    test::TempDir dir;
    const auto bad = std::filesystem::path(NOTAVERA_CORPUS_DIR) / "midi/malformed/jazzsoft_test-not-a-midi-file.mid";
    const CliRun run = renderAudio(quoted(bad) + " " + quoted(dir / "x.wav"), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "MESSAGE Message 0 Fichier MIDI illisible : " + bad.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.wav"));
}

TEST(RenderAudioCommand, AnUnwritableWavIsTheFileMessage) {
    test::TempDir dir;
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67}, 320));
    const auto wav = dir / "absent" / "air.wav";
    const CliRun run = renderAudio(quoted(dir / "air.mid") + " " + quoted(wav), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "MESSAGE Notavera 2 Impossible d'écrire le fichier " + wav.string() + "\n");
}

TEST(RenderAudioCommand, WrongArgumentsShowTheUsage) {
    test::TempDir dir;
    const CliRun run = renderAudio("seul.mid", dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("render-audio"), std::string::npos);
}

}  // namespace
}  // namespace notavera
