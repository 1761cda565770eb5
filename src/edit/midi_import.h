// Importing a MIDI file into the score: the import parameters the user sets, and the building of the score from the
// notes the file's reading collected, one staff for each voice, laid out in systems over as many pages as it needs.
#pragma once

#include <array>
#include <filesystem>
#include <span>

#include "render/spacing_settings.h"
#include "score/score_document.h"

namespace notavera {

class UiServices;

struct MidiImportParameters {
    static constexpr int countedPages = 60;

    // The bar: a numerator over 2^exponent. A numerator of 0 takes the file's time signature (4/4 without one);
    // the import clears it afterwards, so that each file is read for its own.
    unsigned barNumerator = 0;
    unsigned barExponent = 2;
    unsigned upbeat = 0;  // the first bar's length in sixteenths; 0 for a full first bar
    std::array<unsigned, countedPages> barsPerPage = FilledBarCounts(15);
    unsigned rounding = 64;  // 32, 64, 128 or 256: the grid unit is a whole note divided by it
    bool numberedBars = false;

    // Pages after the counted ones take the last page's count.
    unsigned barsOnPage(int page) const;
    static std::array<unsigned, countedPages> FilledBarCounts(unsigned count);
};

// Reads the file and writes its music into `doc`: a new staff for every voice, then the systems and pages laid out
// and respaced ("Recalculer Distances") unless `layOut` is false, which leaves every voice on one long staff of
// page 1. The file's errors are shown through `ui`. Returns 0 when nothing could be imported (the file cannot be
// read, is no MIDI file, or holds too many notes), 1 otherwise.
int ImportMidiFile(ScoreDocument& doc, const std::filesystem::path& path, MidiImportParameters& params,
                   UiServices& ui, const SignDistances& distances = {}, bool layOut = true);
int ImportMidiBytes(ScoreDocument& doc, std::span<const std::uint8_t> bytes, MidiImportParameters& params,
                    UiServices& ui, const SignDistances& distances = {}, bool layOut = true);

}  // namespace notavera
