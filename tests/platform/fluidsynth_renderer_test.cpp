// Offline rendering of MIDI files to WAV with FluidSynth, measured by sox.
#include <gtest/gtest.h>

#include "platform/audio/fluidsynth_renderer.h"
#include "support/audio_test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

using test::MeasureWithSox;

const std::filesystem::path corpus = test::CorpusDir() / "midi";

class RenderTest : public testing::Test {
protected:
    test::TempDir dir;
};

TEST_F(RenderTest, AHandWrittenMelodySoundsForItsLengthAndItsFade) {
    const auto midi = dir / "melodie.mid";
    test::WriteBytes(midi, test::MelodyMidi({60, 64, 67, 72}, 240));  // four eighths: one second
    ASSERT_TRUE(RenderMidiToWav(midi, dir / "melodie.wav").ok());

    const auto stat = MeasureWithSox(dir / "melodie.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001);
    const double length = test::MelodySeconds(4, 240);
    EXPECT_GE(stat->seconds, length);
    EXPECT_LE(stat->seconds, length + longestFadeSeconds + 0.05);
}

TEST_F(RenderTest, ACorpusFileSoundsForItsLength) {
    // C major scale, eight quarters at 120: four seconds.
    ASSERT_TRUE(RenderMidiToWav(corpus / "good/jazzsoft_test-c-major-scale.mid", dir / "gamme.wav").ok());
    const auto stat = MeasureWithSox(dir / "gamme.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001);
    EXPECT_GE(stat->seconds, 4.0);
    EXPECT_LE(stat->seconds, 4.0 + longestFadeSeconds + 0.05);
}

TEST_F(RenderTest, AFileWithoutNotesGivesAnAlmostEmptyRecording) {
    ASSERT_TRUE(RenderMidiToWav(corpus / "good/jazzsoft_test-empty.mid", dir / "vide.wav").ok());
    const auto stat = MeasureWithSox(dir / "vide.wav");
    ASSERT_TRUE(stat);
    EXPECT_LT(stat->seconds, 0.1);
}

class UnreadableMidiTest : public testing::TestWithParam<const char*> {
protected:
    test::TempDir dir;
};

// FluidSynth plays what it cannot read as silence; the renderer reports it instead, and leaves no WAV.
TEST_P(UnreadableMidiTest, IsRefusedWithItsNameAndLeavesNoWav) {
    const auto input = corpus / GetParam();
    const DeviceStatus status = RenderMidiToWav(input, dir / "sortie.wav");
    EXPECT_EQ(status.code, audio_error::badMidiFile);
    EXPECT_EQ(status.text.rfind("Fichier MIDI illisible : " + input.string(), 0), 0u) << status.text;
    EXPECT_FALSE(std::filesystem::exists(dir / "sortie.wav"));
}

INSTANTIATE_TEST_SUITE_P(Corpus, UnreadableMidiTest,
                         testing::Values("malformed/jazzsoft_test-empty-file.mid",
                                         "malformed/jazzsoft_test-not-a-midi-file.mid",
                                         "malformed/jazzsoft_test-corrupt-file-missing-byte.mid",
                                         "malformed/jazzsoft_test-illegal-message-all.mid",
                                         "malformed/midly_PiDamaged.mid", "malformed/nfroidure_MIDIBadHeaderSMTPE.mid",
                                         "malformed/nfroidure_MIDIBadTrackHdr.mid", "good/no-such-file.mid"));

TEST_F(RenderTest, AFailedRenderLeavesAnExistingFileAlone) {
    test::WriteBytes(dir / "garde.wav", {1, 2, 3});
    EXPECT_FALSE(RenderMidiToWav(corpus / "malformed/jazzsoft_test-not-a-midi-file.mid", dir / "garde.wav").ok());
    EXPECT_EQ(test::ReadBytes(dir / "garde.wav"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(RenderTest, TheInputIsNeverWrittenOver) {
    const auto midi = dir / "morceau.mid";
    const auto bytes = test::MelodyMidi({60}, 480);
    test::WriteBytes(midi, bytes);
    const DeviceStatus status = RenderMidiToWav(midi, midi);
    EXPECT_EQ(status.code, audio_error::wavFile);
    EXPECT_EQ(test::ReadBytes(midi), bytes);
}

TEST_F(RenderTest, AnUnwritableDestinationIsReported) {
    const auto midi = dir / "morceau.mid";
    test::WriteBytes(midi, test::MelodyMidi({60}, 480));
    const DeviceStatus status = RenderMidiToWav(midi, dir / "absent/sortie.wav");
    EXPECT_EQ(status.code, audio_error::wavFile);
    EXPECT_EQ(status.text, "Impossible d'écrire le fichier " + (dir / "absent/sortie.wav").string());
}

TEST_F(RenderTest, AFileLongerThanTheLimitIsRefused) {
    const auto midi = dir / "long.mid";
    test::WriteBytes(midi, test::MelodyMidi({60, 62, 64, 65}, 960));  // four seconds
    const DeviceStatus status = RenderMidiToWav(midi, dir / "long.wav", {}, std::chrono::seconds(1));
    EXPECT_EQ(status.code, audio_error::tooLong);
    EXPECT_FALSE(std::filesystem::exists(dir / "long.wav"));
}

TEST_F(RenderTest, AMissingSoundFontIsReported) {
    const auto midi = dir / "morceau.mid";
    test::WriteBytes(midi, test::MelodyMidi({60}, 480));
    SynthOptions options;
    options.soundFont = dir / "absente.sf2";
    const DeviceStatus status = RenderMidiToWav(midi, dir / "sortie.wav", options);
    EXPECT_EQ(status.code, audio_error::badSoundFont);
    EXPECT_EQ(status.text.rfind("Banque de sons illisible : ", 0), 0u) << status.text;
}

}  // namespace
}  // namespace notavera
