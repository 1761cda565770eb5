// The "Information" dialog (InfoBox) of a MIDI file: the file's dump listed line by line, and the import parameters
// (bar, bars per page, upbeat, rounding, numbered bars) that the next import uses.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "edit/midi_import.h"
#include "platform/dialog_model.h"

namespace notavera {

class UiServices;

namespace midi_info_field {
inline constexpr int lines = 101;
inline constexpr const char* bar = "Mesure (en 16e)";
inline constexpr const char* page = "Page";
inline constexpr const char* barsOnPage = "Nombre de mesures";
inline constexpr const char* initialise = "Initialiser";
inline constexpr const char* upbeat = "Levée (en 16e)";
inline constexpr const char* numbered = "Mes Numerotées";
}  // namespace midi_info_field

// Opens "InfoBox" on `dumpText` with `params` and, on OK, keeps what was set in `params`. `meter` is the time
// signature the dump met (numerator, denominator exponent), which the bar shows in sixteenths.
bool RunMidiInfoDialog(UiServices& ui, const std::string& dumpText,
                       std::optional<std::pair<unsigned, unsigned>> meter, MidiImportParameters& params);

}  // namespace notavera
