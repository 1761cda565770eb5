// Pumping FluidSynth's player and synthesizer by hand into a WAV file: the player's clock is the number of
// samples written, so rendering runs faster than real time and needs no sound card.
#include "platform/audio/fluidsynth_renderer.h"

#include <fluidsynth.h>

#include <system_error>
#include <vector>

#include "platform/audio/wav_file_writer.h"

namespace notavera {

namespace {

constexpr int blockFrames = 512;

class BlockRenderer {
public:
    BlockRenderer(fluid_synth_t* synth, WavFileWriter& wav) : synth_(synth), wav_(wav), samples_(blockFrames * 2) {}

    bool next() {
        fluid_synth_write_s16(synth_, blockFrames, samples_.data(), 0, 2, samples_.data(), 1, 2);
        return wav_.write(samples_);
    }

private:
    fluid_synth_t* synth_;
    WavFileWriter& wav_;
    std::vector<std::int16_t> samples_;
};

// `created` tells whether the WAV file was made, so that a failure removes only what this rendering wrote.
DeviceStatus render(const std::filesystem::path& midiFile, const std::filesystem::path& wavFile,
                    const SynthOptions& options, std::chrono::seconds longest, bool& created) {
    OpenedDevice<FluidSynth> synth = FluidSynth::create(options);
    if (!synth.device) return synth.status;
    FluidSynth::OpenedPlayer player = synth.device->makePlayer(midiFile);
    if (!player.player) return player.status;

    const DeviceStatus cannotWrite{audio_error::wavFile, "Impossible d'écrire le fichier " + wavFile.string()};
    // The player reads its file only once playing starts: writing over it would destroy what is to be played.
    std::error_code ec;
    if (std::filesystem::equivalent(midiFile, wavFile, ec)) return cannotWrite;
    WavFileWriter wav(wavFile, static_cast<std::uint32_t>(options.sampleRate));
    created = wav.ok();
    if (!wav.ok()) return cannotWrite;
    if (fluid_player_play(player.player.get()) != FLUID_OK)
        return {audio_error::synthesizer, "Le synthétiseur ne peut pas jouer ce fichier"};

    BlockRenderer blocks(synth.device->synth(), wav);
    const auto longestFrames = static_cast<std::uint64_t>(static_cast<double>(longest.count()) * options.sampleRate);
    while (!PlayerReachedEnd(player.player.get())) {
        if (wav.frames() >= longestFrames)
            return {audio_error::tooLong, "Le fichier MIDI dure plus de " + std::to_string(longest.count() / 60) +
                                              " minutes : rendu abandonné"};
        if (!blocks.next()) return cannotWrite;
    }
    const auto fadeFrames = static_cast<std::uint64_t>(longestFadeSeconds * options.sampleRate);
    for (std::uint64_t faded = 0; faded < fadeFrames && fluid_synth_get_active_voice_count(synth.device->synth()) > 0;
         faded += blockFrames) {
        if (!blocks.next()) return cannotWrite;
    }
    return wav.finish() ? DeviceStatus{} : cannotWrite;
}

}  // namespace

DeviceStatus RenderMidiToWav(const std::filesystem::path& midiFile, const std::filesystem::path& wavFile,
                             const SynthOptions& options, std::chrono::seconds longest) {
    bool created = false;
    const DeviceStatus status = render(midiFile, wavFile, options, longest, created);
    if (!status.ok() && created) {
        std::error_code ignored;
        std::filesystem::remove(wavFile, ignored);
    }
    return status;
}

}  // namespace notavera
