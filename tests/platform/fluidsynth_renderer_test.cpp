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

}  // namespace
}  // namespace notavera
