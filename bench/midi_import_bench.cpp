// Speed of MIDI import on the corpus's largest orchestral file (36 tracks, about 19,000 notes): the reading alone,
// the reading written into staves, and the whole import laid out in systems and pages.
#include <benchmark/benchmark.h>

#include <vector>

#include "edit/midi_import.h"
#include "midi/midi_note_collector.h"
#include "midi/smf_reader.h"
#include "platform/headless/headless_ui.h"
#include "score/new_document.h"

namespace notavera {
namespace {

const std::vector<std::uint8_t>& Orchestra() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> b;
        ReadFileBytes(NOTAVERA_MIDI_BENCH_FILE, b);
        return b;
    }();
    return bytes;
}

void BM_ReadMidiForImport(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ReadMidiForImport(Orchestra(), 64).notes.size());
}
BENCHMARK(BM_ReadMidiForImport)->Unit(benchmark::kMillisecond);

void BM_ImportMidi(benchmark::State& state) {
    const bool layOut = state.range(0) != 0;
    for (auto _ : state) {
        HeadlessUi ui(nullptr);
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        MidiImportParameters params;
        benchmark::DoNotOptimize(ImportMidiBytes(doc, Orchestra(), params, ui, {}, layOut));
    }
}
BENCHMARK(BM_ImportMidi)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace notavera
