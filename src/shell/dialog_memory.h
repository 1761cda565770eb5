// The last answers the dialogs offer again at their next opening.
#pragma once

#include <filesystem>

#include "edit/midi_import.h"
#include "render/zoom.h"
#include "shell/transposition_commands.h"

namespace notavera {

struct DialogMemory {
    struct {                         // "Armure"
        int number = 0;              // sharps or flats, 0–7
        int kind = 0;                // 0 no button chosen yet, 1 "Dièse", 2 "Bémol"
    } keyDialog;
    unsigned meterFlags = 1;         // "IndMesure": its flag byte and symbol style
    unsigned meterStyle = 0;
    ZoomFraction customZoom;         // the last fraction accepted in "&AUTRE"
    int lastMeasureSought = 1;       // "MesNo" opens with the measure asked for last
    unsigned menuDuration = 4;       // the duration last chosen in "Val" (or by a digit), read by the N and S tools
    TranspositionMemory transposition;
    MidiImportParameters midiImport;  // "Information": the parameters of the next MIDI import
    std::filesystem::path midiFolder;  // the folder the "MIDI" browser showed last; empty for the current one
};

}  // namespace notavera
