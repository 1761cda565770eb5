// libFuzzer target of the MIDI file reader: any bytes are dumped (all tracks and the first one), read for the
// import, and imported into a score; small files are also laid out.
#include <cstdint>
#include <span>

#include "edit/midi_import.h"
#include "midi/midi_dump.h"
#include "midi/midi_note_collector.h"
#include "platform/headless/headless_ui.h"
#include "score/new_document.h"

namespace {

// The layout is slow next to the reading: only files of a few notes within a few bars are laid out.
constexpr std::size_t laidOutSize = 512;
constexpr std::int64_t laidOutQuarters = 64;

bool LaysOut(std::span<const std::uint8_t> bytes, unsigned rounding) {
    if (bytes.size() > laidOutSize) return false;
    const notavera::MidiImportReading reading = notavera::ReadMidiForImport(bytes, rounding);
    for (const notavera::ImportNote& n : reading.notes)
        if (n.onset + n.duration > laidOutQuarters * reading.division) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace notavera;
    const std::span<const std::uint8_t> bytes(data, size);
    (void)DumpMidiBytes("fuzz.mid", bytes, false);
    (void)DumpMidiBytes("fuzz.mid", bytes, true);
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    MidiImportParameters params;
    // The rounding and the upbeat come from the file's last byte, so that every grid is tried.
    if (size > 0) {
        params.rounding = 32u << (data[size - 1] & 3);
        params.upbeat = (data[size - 1] >> 2) & 7;
    }
    // Pages dealt two bars at a time: every page is reached while the score stays small.
    params.barsPerPage.fill(2);
    ImportMidiBytes(doc, bytes, params, ui, {}, LaysOut(bytes, params.rounding));
    return 0;
}
