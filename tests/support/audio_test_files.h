// Test material for the audio tests: small Standard MIDI Files written by hand, a private scratch folder, and
// the measure of a WAV file by sox.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace notavera::test {

// A format-0 file at 120 beats a minute, 480 ticks a quarter: `keys` played one after the other on a piano,
// each lasting `ticksEach`. It lasts keys.size() × ticksEach / 960 seconds.
std::vector<std::uint8_t> MelodyMidi(const std::vector<int>& keys, int ticksEach);
double MelodySeconds(std::size_t notes, int ticksEach);

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

// A fresh folder of its own, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct SoundStat {
    double seconds = 0;
    double rmsAmplitude = 0;
};
// What `sox FILE -n stat` says of the file; nothing when sox could not read it.
std::optional<SoundStat> MeasureWithSox(const std::filesystem::path& file);

}  // namespace notavera::test
