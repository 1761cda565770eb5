// The MIDI file the play commands write before handing it to the sequencer.
#pragma once

#include <filesystem>

namespace notavera {

inline constexpr const char* playbackFileName = "nv$$$.mid";

// "nv$$$.mid" inside a directory of this process's own, created on first use with mode 0700 in the system's
// temporary directory and removed with its content when the process ends. Another user or program can
// neither replace the file nor point its name elsewhere. Empty when the directory cannot be created.
std::filesystem::path PlaybackFilePath();

}  // namespace notavera
