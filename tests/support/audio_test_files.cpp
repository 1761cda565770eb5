// Hand-written MIDI files, scratch folders and sox measurements for the audio tests.
#include "support/audio_test_files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/test_files.h"

namespace notavera::test {

namespace {

void putVariableLength(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(v & 0x7F)};
    while (v >>= 7) bytes.insert(bytes.begin(), static_cast<std::uint8_t>(0x80 | (v & 0x7F)));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// "Length (seconds):      5.050340" → 5.05
std::optional<double> valueAfter(const std::string& text, const std::string& label) {
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return std::nullopt;
    return std::strtod(text.c_str() + at + label.size(), nullptr);
}

}  // namespace

std::vector<std::uint8_t> MelodyMidi(const std::vector<int>& keys, int ticksEach) {
    std::vector<std::vector<int>> chords;
    for (const int key : keys) chords.push_back({key});
    return ChordsMidi(chords, ticksEach, 100);
}

std::vector<std::uint8_t> ChordsMidi(const std::vector<std::vector<int>>& chords, int ticksEach, int velocity) {
    std::vector<std::uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000
                                       0x00, 0xC0, 0x00};                         // piano
    for (const auto& chord : chords) {
        const auto v = static_cast<std::uint8_t>(velocity);
        for (const int key : chord) track.insert(track.end(), {0x00, 0x90, static_cast<std::uint8_t>(key), v});
        for (std::size_t i = 0; i < chord.size(); ++i) {
            putVariableLength(track, i == 0 ? static_cast<std::uint32_t>(ticksEach) : 0);
            track.insert(track.end(), {0x80, static_cast<std::uint8_t>(chord[i]), 0});
        }
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    putU32(file, static_cast<std::uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

std::optional<SoundStat> MeasureWithSox(const std::filesystem::path& file) {
    const std::string text = CommandOutput("sox '" + file.string() + "' -n stat 2>&1");
    const std::optional<double> seconds = valueAfter(text, "Length (seconds):");
    const std::optional<double> rms = valueAfter(text, "RMS     amplitude:");
    const std::optional<double> highest = valueAfter(text, "Maximum amplitude:");
    const std::optional<double> lowest = valueAfter(text, "Minimum amplitude:");
    if (!seconds || !rms || !highest || !lowest) return std::nullopt;
    return SoundStat{*seconds, *rms, std::max(*highest, -*lowest)};
}

}  // namespace notavera::test
