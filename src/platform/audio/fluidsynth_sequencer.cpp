// Live playback of Standard MIDI Files with FluidSynth, end detection and stop.
#include "platform/audio/fluidsynth_sequencer.h"

#include <fluidsynth.h>

namespace notavera {

namespace {

constexpr std::chrono::milliseconds pollInterval{20};
// Notes still ringing when the file ends may fade before the end is reported: the close that follows the
// report would cut them off.
constexpr std::chrono::milliseconds longestFade{static_cast<int>(longestFadeSeconds * 1000)};

}  // namespace

DeviceStatus FluidSynthSequencer::open(const std::filesystem::path& file) {
    close();
    OpenedDevice<FluidSynth> made = FluidSynth::create(options_);
    if (!made.device) return made.status;
    FluidSynth::OpenedPlayer player = made.device->makePlayer(file);
    if (!player.player) return player.status;
    const DeviceStatus audio = made.device->startAudio(options_.audioDrivers);
    if (!audio.ok()) return audio;
    synth_ = std::move(made.device);
    player_ = std::move(player.player);
    return {};
}

DeviceStatus FluidSynthSequencer::play(EndHandler onEnd) {
    if (!player_ || watcher_.joinable())
        return {audio_error::synthesizer, "Aucun fichier MIDI n'est prêt à jouer"};
    if (fluid_player_play(player_.get()) != FLUID_OK)
        return {audio_error::synthesizer, "Le synthétiseur ne peut pas jouer ce fichier"};
    {
        const std::lock_guard lock(mutex_);
        stopRequested_ = false;
    }
    watcher_ = std::thread([this, onEnd = std::move(onEnd)] { watch(onEnd); });
    return {};
}

bool FluidSynthSequencer::stopRequestedWithin(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, delay, [this] { return stopRequested_; });
}

void FluidSynthSequencer::watch(EndHandler onEnd) {
    while (!PlayerReachedEnd(player_.get())) {
        if (stopRequestedWithin(pollInterval)) return;
    }
    for (auto faded = std::chrono::milliseconds(0);
         faded < longestFade && fluid_synth_get_active_voice_count(synth_->synth()) > 0; faded += pollInterval) {
        if (stopRequestedWithin(pollInterval)) return;
    }
    if (onEnd) onEnd();
}

void FluidSynthSequencer::close() {
    if (watcher_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stopRequested_ = true;
        }
        wake_.notify_all();
        watcher_.join();
    }
    // The audio thread drives the player: it stops before the player and the synthesizer go.
    if (synth_) synth_->stopAudio();
    player_.reset();
    synth_.reset();
}

}  // namespace notavera
