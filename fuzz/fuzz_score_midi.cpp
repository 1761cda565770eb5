// libFuzzer target of the MIDI conversion: any page a document can hold, with any MIDI settings and voice
// transpositions, is written for all voices, for one voice and for a region, into memory.
#include <algorithm>
#include <cstdint>
#include <span>

#include "midi/score_to_midi.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_page_codec.h"

namespace {

// Input: the 172 bytes of the MIDI settings, 128 voice transpositions, 4 region bytes, then a stored page.
constexpr std::size_t settingsBytes = notavera::MidiSettings::size;
constexpr std::size_t transpositionBytes = 128;
constexpr std::size_t regionBytes = 4;
constexpr std::size_t prefix = settingsBytes + transpositionBytes + regionBytes;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace notavera;
    if (size < prefix) return 0;
    const std::span<const std::uint8_t> input(data, size);
    auto decoded = DecodePage(input.subspan(prefix), 1);
    if (!decoded) return 0;

    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    std::copy_n(data, settingsBytes, doc.header.bytes.begin() + FileHeader::partB);
    for (int v = 0; v < 128; ++v)
        doc.header.setVoiceTransposition(v, static_cast<std::int8_t>(data[settingsBytes + v]));
    doc.pages.push_back(std::move(decoded->page));
    doc.pageCount = 1;
    doc.currentPage = 1;
    doc.storage.windowFirst = doc.storage.windowLast = 1;
    const int staves = static_cast<int>(doc.pages.front().staves.size());
    const std::uint8_t* r = data + settingsBytes + transpositionBytes;
    doc.currentStaff = staves > 0 ? r[0] % staves : 0;

    MemoryByteSink all, voice, region;
    WriteScoreMidi(doc, ui, all, 1);
    WriteScoreMidi(doc, ui, voice, -1);
    WriteScoreMidi(doc, ui, region, 1, MidiRegion{r[1], r[2], r[3] * 8, r[3] * 16});
    return 0;
}
