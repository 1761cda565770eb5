// Speed of the undo history on a 60-page score: saving a step before an edit, and going back one step (the
// present state kept for redo, the document reloaded in place from the step file).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "edit/undo_steps.h"
#include "synthetic_page.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

constexpr int pageCount = 60;
using bench::SyntheticPage;

// A folder with the 60-page document, built in memory and saved once, then opened as the editor opens it.
struct OpenScore {
    OpenScore() : ctx(ui) {
        std::string pattern = (std::filesystem::temp_directory_path() / "notavera-undo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        dir = pattern;
        const std::filesystem::path document = dir / "bench.mus";
        {
            EditorContext maker(ui);
            maker.doc.storage.path = document;
            for (int n = 1; n <= pageCount; ++n) maker.doc.pages.push_back(SyntheticPage(n));
            maker.doc.pageCount = pageCount;
            maker.doc.currentPage = pageCount;
            if (!SavePages(maker.doc, maker.ui)) std::abort();
            DeleteWorkFiles(maker.doc);
        }
        if (ReadDocument(ctx.doc, ui, document, false) != FileOk) std::abort();
    }
    ~OpenScore() {
        DeleteWorkFiles(ctx.doc);
        std::filesystem::remove_all(dir);
    }
    HeadlessUi ui{nullptr};
    EditorContext ctx;
    std::filesystem::path dir;
};

void BM_SaveStep(benchmark::State& state) {
    OpenScore score;
    for (auto _ : state) {
        if (UndoStep(score.ctx.doc, score.ui, UndoKind::Save) != 1) state.SkipWithError("no step saved");
    }
}
BENCHMARK(BM_SaveStep)->Unit(benchmark::kMillisecond);

void BM_UndoOneStep(benchmark::State& state) {
    OpenScore score;
    for (auto _ : state) {
        state.PauseTiming();
        UndoStep(score.ctx.doc, score.ui, UndoKind::Save);
        state.ResumeTiming();
        if (UndoStep(score.ctx.doc, score.ui, UndoKind::Undo) != 1) state.SkipWithError("nothing undone");
    }
}
BENCHMARK(BM_UndoOneStep)->Unit(benchmark::kMillisecond);

void BM_RedoOneStep(benchmark::State& state) {
    OpenScore score;
    for (auto _ : state) {
        state.PauseTiming();
        UndoStep(score.ctx.doc, score.ui, UndoKind::Save);
        UndoStep(score.ctx.doc, score.ui, UndoKind::Undo);
        state.ResumeTiming();
        if (UndoStep(score.ctx.doc, score.ui, UndoKind::CancelUndo) != 1) state.SkipWithError("nothing redone");
    }
}
BENCHMARK(BM_RedoOneStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace notavera
