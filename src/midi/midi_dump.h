// The readable dump of a MIDI file that the "Information" dialog lists: its header values, then one line for
// each event of every track, kept to about 4 KB.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace notavera {

struct MidiDump {
    std::string text;
    // The last time signature met: numerator and the denominator as a power of two.
    std::optional<std::pair<unsigned, unsigned>> meter;
};

// The dump's size: a line is kept only while the text stays this far below its block.
inline constexpr std::size_t midiDumpLimit = 4096;

// Nothing when the file cannot be opened or is not a MIDI file. A reading error ends the text with its line.
std::optional<MidiDump> DumpMidiFile(const std::filesystem::path& path, bool firstTrackOnly);
std::optional<MidiDump> DumpMidiBytes(const std::string& name, std::span<const std::uint8_t> bytes,
                                      bool firstTrackOnly);

}  // namespace notavera
