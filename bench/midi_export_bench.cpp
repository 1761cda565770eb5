// Speed of writing a 60-page score as a MIDI file: 10 staves a page in systems of two, about 60 notes and
// bars on each staff; from memory, and from a saved document whose pages pass through the memory window.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "midi/score_to_midi.h"
#include "platform/headless/headless_ui.h"
#include "score/element_creation.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"

namespace notavera {
namespace {

constexpr int pages = 60;
constexpr int staves = 10;
constexpr int notesPerStaff = 60;

std::filesystem::path benchDirectory() {
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "notavera-bench-XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()) ? pattern : std::string("."));
    }();
    return dir;
}

// Systems of two staves (voices 1 and 2); eighths, quarters and a few ties and staccatos, a bar every
// four quarters.
void fillScore(ScoreDocument& doc, bool sameChannel) {
    for (int i = 0; i < staves; ++i) {
        std::uint32_t& w = doc.layoutModel.staffWord(i);
        staff_model::SystemGrouping::set(w, i % 2 == 0 ? 1u : 2u);
    }
    SetUpNewDocument(doc, pages);
    doc.header.midi().channelOfVoice(2) = sameChannel ? 14 : 3;
    for (int p = 1; p <= pages; ++p) {
        for (int s = 0; s < staves; ++s) {
            doc.currentPage = p;
            doc.currentStaff = s;
            doc.currentElement = -1;
            doc.staff()->voice().setVoice(static_cast<unsigned>(s % 2 + 1));
            int x = 60;
            int beat = 0;
            for (int n = 0; n < notesPerStaff; ++n) {
                doc.insertion.durationCode = n % 3 == 0 ? 4 : 5;
                doc.insertion.octave = static_cast<unsigned>(3 + s % 3);
                ElementRecord* e = CreateNoteOrRest(doc, x, n % 17 == 16, static_cast<unsigned>(1 + n % 7));
                if (n % 11 == 0) e->noteWord().setStaccato(true);
                x += doc.insertion.durationCode == 4 ? 30 : 15;
                beat += doc.insertion.durationCode == 4 ? 2 : 1;
                if (beat >= 8) {
                    CreateSign(doc, x - 5, 0, '|', SignType::Bar, 0);
                    beat = 0;
                }
            }
        }
    }
    doc.currentPage = 1;
    doc.currentStaff = 0;
    doc.currentElement = -1;
}

void ExportFromMemory(benchmark::State& state) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    fillScore(doc, state.range(0) != 0);
    const auto out = benchDirectory() / "memory.mid";
    for (auto _ : state) {
        if (!WriteScoreMidi(doc, ui, out, pages)) state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(out));
    state.SetItemsProcessed(state.iterations() * pages * staves * notesPerStaff);
}
BENCHMARK(ExportFromMemory)->Arg(0)->Arg(1)->ArgName("merged")->Unit(benchmark::kMillisecond);

void ExportSavedDocument(benchmark::State& state) {
    const auto document = benchDirectory() / "bench.mus";
    {
        HeadlessUi ui(nullptr);
        ScoreDocument doc;
        fillScore(doc, false);
        doc.storage.path = document;
        if (!SavePages(doc, ui)) state.SkipWithError("save failed");
        DeleteWorkFiles(doc);
    }
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    if (ReadDocument(doc, ui, document) != FileOk || MoveWindowTo(doc, ui, 1) != FileOk)
        state.SkipWithError("read failed");
    const auto out = benchDirectory() / "saved.mid";
    for (auto _ : state) {
        if (!WriteScoreMidi(doc, ui, out, pages)) state.SkipWithError("export failed");
    }
    DeleteWorkFiles(doc);
    state.SetItemsProcessed(state.iterations() * pages * staves * notesPerStaff);
}
BENCHMARK(ExportSavedDocument)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace notavera
