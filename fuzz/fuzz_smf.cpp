// libFuzzer target of the MIDI file reader: any bytes are dumped (all tracks and the first one), read for the
// import, and imported into a score; small files are also laid out.
#include <cstdint>
#include <span>

#include "edit/midi_import.h"
#include "midi/midi_dump.h"
#include "platform/headless/headless_ui.h"
#include "score/new_document.h"

namespace {

// The layout is slow next to the reading: only files of a few notes are laid out.
constexpr std::size_t laidOutSize = 512;

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
    ImportMidiBytes(doc, bytes, params, ui, {}, size <= laidOutSize);
    return 0;
}
