// Setting up FluidSynth: the SoundFont, the synthesizer, the live audio output with its fallback, the MIDI
// file player, and FluidSynth's own log kept out of the terminal.
#include "platform/audio/fluidsynth_synth.h"

#include <fluidsynth.h>

#include <mutex>
#include <system_error>

#include "platform/audio/alsa_quiet.h"

namespace notavera {

namespace {

const std::filesystem::path fluidR3SoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
const std::filesystem::path timGm6mbSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

std::mutex logMutex;
std::string lastError;

void keepError(int level, const char* message, void*) {
    if (level > FLUID_ERR || !message) return;
    const std::lock_guard lock(logMutex);
    lastError = message;
}

// FluidSynth logs through process-wide handlers; ours are installed once, before the first synthesizer.
void captureFluidSynthLog() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, keepError, nullptr);
    });
}

void clearLastError() {
    const std::lock_guard lock(logMutex);
    lastError.clear();
}

// Our text, followed by FluidSynth's own detail when it gave one.
DeviceStatus failure(int code, std::string text) {
    const std::string detail = LastFluidSynthError();
    if (!detail.empty()) text += "\n" + detail;
    return {code, std::move(text)};
}

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string driverList(const std::vector<std::string>& drivers) {
    std::string list;
    for (const auto& d : drivers) list += (list.empty() ? "" : ", ") + d;
    return list;
}

// FluidSynth reads a file only when its player first runs, and a file it cannot read simply plays nothing.
// A silent synthesizer without SoundFont runs the player for one block: a file that failed to load has
// already ended.
bool fileLoads(const std::filesystem::path& file) {
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return false;
    bool loaded = false;
    if (fluid_synth_t* synth = new_fluid_synth(settings)) {
        if (fluid_player_t* player = new_fluid_player(synth)) {
            if (fluid_player_add(player, file.c_str()) == FLUID_OK && fluid_player_play(player) == FLUID_OK) {
                std::int16_t block[2 * 64];
                fluid_synth_write_s16(synth, 64, block, 0, 2, block, 1, 2);
                loaded = fluid_player_get_status(player) != FLUID_PLAYER_DONE;
            }
            FluidPlayerDeleter()(player);
        }
        delete_fluid_synth(synth);
    }
    delete_fluid_settings(settings);
    return loaded;
}

}  // namespace

std::optional<std::filesystem::path> DefaultSoundFont() {
    if (isRegularFile(fluidR3SoundFont)) return fluidR3SoundFont;
    if (isRegularFile(timGm6mbSoundFont)) return timGm6mbSoundFont;
    return std::nullopt;
}

std::string LastFluidSynthError() {
    const std::lock_guard lock(logMutex);
    return lastError;
}

void FluidPlayerDeleter::operator()(fluid_player_t* player) const {
    fluid_player_stop(player);
    delete_fluid_player(player);
}

bool PlayerReachedEnd(fluid_player_t* player) {
    if (fluid_player_get_status(player) == FLUID_PLAYER_DONE) return true;
    // The file is loaded once the player has run: before that both counts are still 0.
    const int tick = fluid_player_get_current_tick(player);
    return tick > 0 && tick >= fluid_player_get_total_ticks(player);
}

OpenedDevice<FluidSynth> FluidSynth::create(const SynthOptions& options) {
    captureFluidSynthLog();
    clearLastError();
    const std::optional<std::filesystem::path> soundFont =
        options.soundFont.empty() ? DefaultSoundFont() : std::optional(options.soundFont);
    if (!soundFont)
        return {nullptr, {audio_error::noSoundFont,
                          "Aucune banque de sons General MIDI n'est installée (/usr/share/sounds/sf2)"}};

    std::unique_ptr<FluidSynth> made(new FluidSynth());
    made->settings_ = new_fluid_settings();
    if (!made->settings_) return {nullptr, failure(audio_error::synthesizer, "Le synthétiseur ne peut pas démarrer")};
    fluid_settings_setnum(made->settings_, "synth.sample-rate", options.sampleRate);
    fluid_settings_setnum(made->settings_, "synth.gain", options.gain);
    if (!options.audioFile.empty())
        fluid_settings_setstr(made->settings_, "audio.file.name", options.audioFile.c_str());
    made->synth_ = new_fluid_synth(made->settings_);
    if (!made->synth_) return {nullptr, failure(audio_error::synthesizer, "Le synthétiseur ne peut pas démarrer")};
    if (fluid_synth_sfload(made->synth_, soundFont->c_str(), 1) == FLUID_FAILED)
        return {nullptr, failure(audio_error::badSoundFont, "Banque de sons illisible : " + soundFont->string())};
    return {std::move(made), {}};
}

FluidSynth::~FluidSynth() {
    stopAudio();
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

FluidSynth::OpenedPlayer FluidSynth::makePlayer(const std::filesystem::path& file) const {
    clearLastError();
    if (!isRegularFile(file) || !fluid_is_midifile(file.c_str()))
        return {nullptr, {audio_error::badMidiFile, "Fichier MIDI illisible : " + file.string()}};
    if (!fileLoads(file)) return {nullptr, failure(audio_error::badMidiFile, "Fichier MIDI illisible : " + file.string())};
    FluidPlayer player(new_fluid_player(synth_));
    if (!player || fluid_player_add(player.get(), file.c_str()) != FLUID_OK)
        return {nullptr, failure(audio_error::badMidiFile, "Fichier MIDI illisible : " + file.string())};
    return {std::move(player), {}};
}

DeviceStatus FluidSynth::startAudio(const std::vector<std::string>& drivers) {
    stopAudio();
    clearLastError();
    SilenceAlsaLibrary();
    for (const auto& name : drivers) {
        if (fluid_settings_setstr(settings_, "audio.driver", name.c_str()) != FLUID_OK) continue;
        driver_ = new_fluid_audio_driver(settings_, synth_);
        if (driver_) return {};
    }
    return failure(audio_error::noAudioOutput, "Aucune sortie audio ne fonctionne (" + driverList(drivers) + ")");
}

void FluidSynth::stopAudio() {
    if (!driver_) return;
    delete_fluid_audio_driver(driver_);
    driver_ = nullptr;
}

}  // namespace notavera
