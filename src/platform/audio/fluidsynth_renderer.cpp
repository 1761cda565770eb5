// Pumping FluidSynth's player and synthesizer by hand into a WAV file: the player's clock is the number of
// samples written, so rendering runs faster than real time and needs no sound card. The file is played twice:
// once to find its loudest sample, once to write it.
#include "platform/audio/fluidsynth_renderer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <vector>

#include "platform/audio/wav_file_writer.h"

namespace notavera {

namespace {

constexpr int blockFrames = 512;
// The loudest sample a rendering may reach: 1 dB below full scale, where nothing is clipped.
constexpr float ceiling = 0.891f;

// One pass of the player through the synthesizer, block by block, the player's clock being the number of
// frames written; `block` receives each block and returns false to stop.
template <class Block>
DeviceStatus play(const std::filesystem::path& midiFile, const SynthOptions& options, std::chrono::seconds longest,
                  Block&& block) {
    OpenedDevice<FluidSynth> synth = FluidSynth::create(options);
    if (!synth.device) return synth.status;
    FluidSynth::OpenedPlayer player = synth.device->makePlayer(midiFile);
    if (!player.player) return player.status;
    if (fluid_player_play(player.player.get()) != FLUID_OK)
        return {audio_error::synthesizer, "Le synthétiseur ne peut pas jouer ce fichier"};
    fluid_synth_t* s = synth.device->synth();
    const auto longestFrames = static_cast<std::uint64_t>(static_cast<double>(longest.count()) * options.sampleRate);
    std::uint64_t frames = 0;
    while (!PlayerReachedEnd(player.player.get())) {
        if (frames >= longestFrames)
            return {audio_error::tooLong, "Le fichier MIDI dure plus de " + std::to_string(longest.count() / 60) +
                                              " minutes : rendu abandonné"};
        if (!block(s)) return {audio_error::wavFile, {}};
        frames += blockFrames;
    }
    const auto fadeFrames = static_cast<std::uint64_t>(longestFadeSeconds * options.sampleRate);
    for (std::uint64_t faded = 0; faded < fadeFrames && fluid_synth_get_active_voice_count(s) > 0;
         faded += blockFrames) {
        if (!block(s)) return {audio_error::wavFile, {}};
    }
    return {};
}

// The loudest sample of the whole rendering, before any clipping.
DeviceStatus measurePeak(const std::filesystem::path& midiFile, const SynthOptions& options,
                         std::chrono::seconds longest, float& peak) {
    std::vector<float> left(blockFrames), right(blockFrames);
    peak = 0.0f;
    return play(midiFile, options, longest, [&](fluid_synth_t* synth) {
        fluid_synth_write_float(synth, blockFrames, left.data(), 0, 1, right.data(), 0, 1);
        for (int i = 0; i < blockFrames; ++i)
            peak = std::max({peak, std::abs(left[static_cast<std::size_t>(i)]),
                             std::abs(right[static_cast<std::size_t>(i)])});
        return true;
    });
}

// `created` tells whether the WAV file was made, so that a failure removes only what this rendering wrote.
// A first pass finds the loudest sample; when it would pass the ceiling, the second pass, which writes the
// file, plays with the gain lowered just enough: a loud file is not clipped, and the others sound as they do
// live.
DeviceStatus render(const std::filesystem::path& midiFile, const std::filesystem::path& wavFile,
                    SynthOptions options, std::chrono::seconds longest, bool& created) {
    const DeviceStatus cannotWrite{audio_error::wavFile, "Impossible d'écrire le fichier " + wavFile.string()};
    // The player reads its file only once playing starts: writing over it would destroy what is to be played.
    std::error_code ec;
    if (std::filesystem::equivalent(midiFile, wavFile, ec)) return cannotWrite;
    WavFileWriter wav(wavFile, static_cast<std::uint32_t>(options.sampleRate));
    created = wav.ok();
    if (!wav.ok()) return cannotWrite;
    float peak = 0.0f;
    if (const DeviceStatus measured = measurePeak(midiFile, options, longest, peak); !measured.ok())
        return measured;
    if (peak > ceiling) options.gain *= ceiling / peak;
    std::vector<std::int16_t> samples(blockFrames * 2);
    const DeviceStatus played = play(midiFile, options, longest, [&](fluid_synth_t* synth) {
        fluid_synth_write_s16(synth, blockFrames, samples.data(), 0, 2, samples.data(), 1, 2);
        return wav.write(samples);
    });
    if (played.code == audio_error::wavFile) return cannotWrite;
    if (!played.ok()) return played;
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
