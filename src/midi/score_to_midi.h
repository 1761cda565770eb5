// Writing the score as a Standard MIDI File: the conductor track (tempo, meter, key) and, per voice, the
// name, the program and the timed notes of its staves from the current page to the last page asked for.
#pragma once

#include <filesystem>
#include <optional>

#include "midi/midi_byte_sink.h"
#include "midi/track_plan.h"
#include "score/score_document.h"

namespace notavera {

class UiServices;

// Writes the file at `path` from the document's current place, its page to |lastPage|; a negative last page
// writes only the voice of the current staff, from that staff on. With a region, only the region of the current
// page is written. Pages outside the memory window are loaded on the way (read failures and the beep of an empty
// range through `ui`); the current page, staff and element are restored. 1 on success, 0 when the file could not
// be created or completely written (a partial file is removed).
int WriteScoreMidi(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& path, int lastPage,
                   const std::optional<MidiRegion>& region = std::nullopt);

// The same file into any byte sink (memory, for rendering without a file). 1 on success.
int WriteScoreMidi(ScoreDocument& doc, UiServices& ui, MidiByteSink& sink, int lastPage,
                   const std::optional<MidiRegion>& region = std::nullopt);

}  // namespace notavera
