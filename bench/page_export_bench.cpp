// Speed of the whole-score exports: a 100-page score opened, every page laid out and drawn by the page-range pass
// into one PDF file (fonts embedded), and into one SVG file a page.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "synthetic_page.h"
#include "platform/headless/headless_ui.h"
#include "platform/qt/qt_page_devices.h"
#include "render/page_range_pass.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

constexpr int pageCount = 100;

// One folder and one 100-page document for the whole run, saved once.
struct BenchFiles {
    BenchFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "notavera-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        dir = pattern;
        document = dir / "bench.mus";
        HeadlessUi ui(nullptr);
        EditorContext ctx(ui);
        SetUpNewDocument(ctx.doc, 1);
        ctx.doc.pages.clear();
        for (int n = 1; n <= pageCount; ++n) ctx.doc.pages.push_back(bench::SyntheticPage(n));
        ctx.doc.pageCount = pageCount;
        ctx.doc.currentPage = 1;
        ctx.doc.storage.path = document;
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

template <typename Export>
void Run(benchmark::State& state, Export exportPages) {
    HeadlessUi ui(nullptr);
    for (auto _ : state) {
        EditorContext ctx(ui);
        if (InspectDocument(ctx.doc, ctx.ui, files().document) != FileOk) state.SkipWithError("not opened");
        if (!exportPages(ctx)) state.SkipWithError("not written");
        DeleteWorkFiles(ctx.doc);
    }
    state.SetItemsProcessed(state.iterations() * pageCount);
}

void BM_PdfOfEveryPage(benchmark::State& state) {
    Run(state, [](EditorContext& ctx) {
        PdfPages pdf(files().dir / "score.pdf", "bench");
        const bool drawn = DrawPageRange(ctx.doc, ctx.ui, {1, pageCount, 1}, pdf, {}) == PageRangeResult::Done;
        return pdf.finish(!drawn) && drawn;
    });
}
BENCHMARK(BM_PdfOfEveryPage)->Unit(benchmark::kMillisecond);

void BM_SvgOfEveryPage(benchmark::State& state) {
    Run(state, [](EditorContext& ctx) {
        SvgPages svg(files().dir);
        return DrawPageRange(ctx.doc, ctx.ui, {1, pageCount, 1}, svg, {}) == PageRangeResult::Done;
    });
}
BENCHMARK(BM_SvgOfEveryPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace notavera

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
