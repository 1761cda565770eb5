// Offline rendering of MIDI files to WAV with FluidSynth: what the render-audio command does not show, the refusals
// that protect the input and the machine.
#include <gtest/gtest.h>

#include "platform/audio/fluidsynth_renderer.h"
#include "support/audio_test_files.h"

namespace notavera {
namespace {

class RenderTest : public testing::Test {
protected:
    test::TempDir dir;
};

TEST_F(RenderTest, DestinationLengthAndSoundFontFailuresAreReported) {
    const auto midi = dir / "morceau.mid";
    const auto bytes = test::MelodyMidi({60, 62, 64, 65}, 960);  // four seconds
    test::WriteBytes(midi, bytes);
    EXPECT_EQ(RenderMidiToWav(midi, midi).code, audio_error::wavFile);
    EXPECT_EQ(test::ReadBytes(midi), bytes);  // the input is never written over
    const DeviceStatus unwritable = RenderMidiToWav(midi, dir / "absent/sortie.wav");
    EXPECT_EQ(unwritable.code, audio_error::wavFile);
    EXPECT_EQ(unwritable.text, "Impossible d'écrire le fichier " + (dir / "absent/sortie.wav").string());
    EXPECT_EQ(RenderMidiToWav(midi, dir / "long.wav", {}, std::chrono::seconds(1)).code, audio_error::tooLong);
    EXPECT_FALSE(std::filesystem::exists(dir / "long.wav"));
    SynthOptions options;
    options.soundFont = dir / "absente.sf2";
    const DeviceStatus noFont = RenderMidiToWav(midi, dir / "sortie.wav", options);
    EXPECT_EQ(noFont.code, audio_error::badSoundFont);
    EXPECT_EQ(noFont.text.rfind("Banque de sons illisible : ", 0), 0u) << noFont.text;
}

// Two hands of six-note chords at the velocity our files give every note sound a few decibels below full scale
// (−6 to −1 dB); struck as hard as MIDI allows they reach −1 dB and are not clipped.
TEST_F(RenderTest, PianoChordsPeakBelowFullScaleWithoutClipping) {
    const std::vector<std::vector<int>> chords = {
        {36, 48, 55, 64, 67, 72}, {41, 53, 57, 65, 69, 72}, {43, 55, 59, 62, 67, 71}, {36, 48, 55, 64, 67, 72}};
    const double minus6dB = 0.501, minus1dB = 0.8913;
    for (const int velocity : {64, 127}) {
        test::WriteBytes(dir / "accords.mid", test::ChordsMidi(chords, 480, velocity));
        ASSERT_TRUE(RenderMidiToWav(dir / "accords.mid", dir / "accords.wav").ok());
        const auto stat = test::MeasureWithSox(dir / "accords.wav");
        ASSERT_TRUE(stat);
        EXPECT_GE(stat->peak, velocity == 64 ? minus6dB : 0.85) << velocity;
        EXPECT_LE(stat->peak, minus1dB) << velocity;
    }
}

}  // namespace
}  // namespace notavera
