// Offline rendering of MIDI files to WAV with FluidSynth, measured by sox.
#include <gtest/gtest.h>

#include "platform/audio/fluidsynth_renderer.h"
#include "support/audio_test_files.h"

namespace notavera {
namespace {

using test::MeasureWithSox;

const std::filesystem::path corpus = NOTAVERA_CORPUS_DIR "/midi";

class RenderTest : public testing::Test {
protected:
    test::TempDir dir;
};

// A file sounds for its length and its fade (a hand-written melody of four eighths lasts one second); a file
// without notes gives an almost empty recording.
TEST_F(RenderTest, FilesSoundForTheirLengthAndTheirFade) {
    test::WriteBytes(dir / "melodie.mid", test::MelodyMidi({60, 64, 67, 72}, 240));
    for (const auto& [midi, seconds] : {std::pair{dir / "melodie.mid", test::MelodySeconds(4, 240)},
                                        {corpus / "good/jazzsoft_test-empty.mid", 0.0}}) {
        ASSERT_TRUE(RenderMidiToWav(midi, dir / "sortie.wav").ok()) << midi;
        const auto stat = MeasureWithSox(dir / "sortie.wav");
        ASSERT_TRUE(stat) << midi;
        EXPECT_GE(stat->seconds, seconds) << midi;
        EXPECT_LE(stat->seconds, seconds > 0 ? seconds + longestFadeSeconds + 0.05 : 0.1) << midi;
        EXPECT_TRUE(seconds == 0 || stat->rmsAmplitude > 0.001) << midi;
    }
}

// FluidSynth plays what it cannot read as silence; the renderer reports it instead, and leaves no WAV.
TEST_F(RenderTest, UnreadableFilesAreRefusedWithTheirNameAndLeaveNoWav) {
    test::WriteBytes(dir / "sortie.wav", {1, 2, 3});
    for (const char* name : {"malformed/jazzsoft_test-empty-file.mid", "malformed/jazzsoft_test-not-a-midi-file.mid",
                             "malformed/jazzsoft_test-corrupt-file-missing-byte.mid",
                             "malformed/jazzsoft_test-illegal-message-all.mid", "malformed/midly_PiDamaged.mid",
                             "malformed/nfroidure_MIDIBadHeaderSMTPE.mid", "malformed/nfroidure_MIDIBadTrackHdr.mid",
                             "good/no-such-file.mid"}) {
        const DeviceStatus status = RenderMidiToWav(corpus / name, dir / "sortie.wav");
        EXPECT_EQ(status.code, audio_error::badMidiFile) << name;
        EXPECT_EQ(status.text.rfind("Fichier MIDI illisible : " + (corpus / name).string(), 0), 0u) << status.text;
    }
    EXPECT_EQ(test::ReadBytes(dir / "sortie.wav"), (std::vector<std::uint8_t>{1, 2, 3}));  // left alone
}

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
