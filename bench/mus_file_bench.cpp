// Speed of the ".mus" document file: opening a 255-page score, visiting every page through the
// window, saving the window and the whole score, against a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "synthetic_page.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

constexpr int pageCount = 255;
using bench::SyntheticPage;

void fillScore(ScoreDocument& doc) {
    for (int n = 1; n <= pageCount; ++n) doc.pages.push_back(SyntheticPage(n));
    doc.pageCount = pageCount;
    doc.currentPage = pageCount;
}

// One folder and one document for the whole run, built in memory and saved once.
struct BenchFiles {
    BenchFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "notavera-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        dir = pattern;
        document = dir / "bench.mus";
        HeadlessUi ui(nullptr);
        EditorContext ctx(ui);
        ctx.doc.storage.path = document;
        fillScore(ctx.doc);
        if (!SavePages(ctx.doc, ctx.ui)) std::abort();
        DeleteWorkFiles(ctx.doc);
    }
    ~BenchFiles() { std::filesystem::remove_all(dir); }
    std::filesystem::path dir, document;
};

const BenchFiles& files() {
    static const BenchFiles f;
    return f;
}

std::int64_t documentSize() { return static_cast<std::int64_t>(std::filesystem::file_size(files().document)); }

void BM_ReadDocument(benchmark::State& state) {
    HeadlessUi ui(nullptr);
    for (auto _ : state) {
        EditorContext ctx(ui);
        if (ReadDocument(ctx.doc, ctx.ui, files().document) != FileOk) state.SkipWithError("not opened");
        benchmark::DoNotOptimize(ctx.doc.pages.data());
        DeleteWorkFiles(ctx.doc);
    }
    state.SetBytesProcessed(state.iterations() * documentSize());
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

void BM_VisitEveryPage(benchmark::State& state) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    if (ReadDocument(ctx.doc, ctx.ui, files().document) != FileOk) state.SkipWithError("not opened");
    for (auto _ : state) {
        for (int n = 1; n <= pageCount; n += ctx.doc.storage.keepBefore + 1) MoveWindowTo(ctx.doc, ctx.ui, n);
        MoveWindowTo(ctx.doc, ctx.ui, 1);
    }
    DeleteWorkFiles(ctx.doc);
}
BENCHMARK(BM_VisitEveryPage)->Unit(benchmark::kMillisecond);

void BM_SaveWindow(benchmark::State& state) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    if (ReadDocument(ctx.doc, ctx.ui, files().document) != FileOk) state.SkipWithError("not opened");
    for (auto _ : state) {
        ctx.doc.markModified();
        if (!SaveToWorkingFile(ctx.doc, ctx.ui)) state.SkipWithError("not saved");
    }
    DeleteWorkFiles(ctx.doc);
}
BENCHMARK(BM_SaveWindow)->Unit(benchmark::kMicrosecond);

// The whole score in memory written to a new working file and published as a new document.
void BM_SaveWholeScore(benchmark::State& state) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ctx.doc.storage.path = files().dir / "saved.mus";
    fillScore(ctx.doc);
    for (auto _ : state) {
        ctx.doc.storage.pageTable = {};
        ctx.doc.header.setEndOfData(firstPageOffset);
        ctx.doc.storage.fileState = FileState::None;
        if (!SavePages(ctx.doc, ctx.ui)) state.SkipWithError("not saved");
        state.PauseTiming();
        DeleteWorkFiles(ctx.doc);
        std::filesystem::remove(files().dir / "saved.mus");
        std::filesystem::remove(files().dir / "saved.bak");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveWholeScore)->Unit(benchmark::kMillisecond);

void BM_CopyFileReference(benchmark::State& state) {
    const auto copy = files().dir / "copy.mus";
    for (auto _ : state) {
        std::filesystem::copy_file(files().document, copy, std::filesystem::copy_options::overwrite_existing);
    }
    state.SetBytesProcessed(state.iterations() * documentSize());
}
BENCHMARK(BM_CopyFileReference)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace notavera
