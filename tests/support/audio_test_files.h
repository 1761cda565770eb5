// Test material for the audio tests: small Standard MIDI Files written by hand and the measure of a WAV file
// by sox.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "support/test_files.h"

namespace notavera::test {

// A format-0 file at 120 beats a minute, 480 ticks a quarter: `keys` played one after the other on a piano,
// each lasting `ticksEach`. It lasts keys.size() × ticksEach / 960 seconds.
std::vector<std::uint8_t> MelodyMidi(const std::vector<int>& keys, int ticksEach);
// The same with chords struck at `velocity`.
std::vector<std::uint8_t> ChordsMidi(const std::vector<std::vector<int>>& chords, int ticksEach, int velocity);

struct SoundStat {
    double seconds = 0;
    double rmsAmplitude = 0;
    double peak = 0;  // the largest sample, 1 at full scale
};
// What `sox FILE -n stat` says of the file; nothing when sox could not read it.
std::optional<SoundStat> MeasureWithSox(const std::filesystem::path& file);

}  // namespace notavera::test
