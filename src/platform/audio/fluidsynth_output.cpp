// Short MIDI messages played live by the built-in FluidSynth synthesizer.
#include "platform/audio/fluidsynth_output.h"

#include <fluidsynth.h>

namespace notavera {

namespace {

const DeviceStatus closedError{audio_error::synthesizer, "Le synthétiseur est fermé"};

// Hands one channel message to the synthesizer; system messages have no effect on it.
void play(fluid_synth_t* synth, ShortMessage message) {
    const int status = static_cast<int>(message & 0xFF);
    const int channel = status & 0x0F;
    const int data1 = static_cast<int>((message >> 8) & 0x7F);
    const int data2 = static_cast<int>((message >> 16) & 0x7F);
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
        case 0x90:
            if (data2 == 0)
                fluid_synth_noteoff(synth, channel, data1);
            else
                fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
        case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, data1 | data2 << 7); break;
        default: break;
    }
}

}  // namespace

OpenedDevice<MidiOutput> FluidSynthOutput::open(const SynthOptions& options) {
    OpenedDevice<FluidSynth> made = FluidSynth::create(options);
    if (!made.device) return {nullptr, made.status};
    const DeviceStatus audio = made.device->startAudio(options.audioDrivers);
    if (!audio.ok()) return {nullptr, audio};
    return {std::unique_ptr<MidiOutput>(new FluidSynthOutput(std::move(made.device))), {}};
}

FluidSynthOutput::FluidSynthOutput(std::unique_ptr<FluidSynth> synth)
    : synth_(std::move(synth)), fullGain_(fluid_synth_get_gain(synth_->synth())) {}

DeviceStatus FluidSynthOutput::setVolume(std::uint32_t volume) {
    const std::lock_guard lock(mutex_);
    if (!synth_) return closedError;
    fluid_synth_set_gain(synth_->synth(), fullGain_ * static_cast<float>(volume & 0xFFFF) / 0xFFFF);
    return {};
}

DeviceStatus FluidSynthOutput::send(ShortMessage message) {
    const std::lock_guard lock(mutex_);
    if (!synth_) return closedError;
    if ((message & 0x80) == 0) return {audio_error::synthesizer, "Message MIDI sans octet d'état"};
    play(synth_->synth(), message);
    return {};
}

DeviceStatus FluidSynthOutput::close() {
    const std::lock_guard lock(mutex_);
    synth_.reset();
    return {};
}

}  // namespace notavera
