// Speed of "Recalculer Distances" page by page over a 60-page score of 10 staves a page, the staves alone or in
// blocks of two, with the music at rough entry positions before every run.
#include <benchmark/benchmark.h>

#include "platform/headless/headless_ui.h"
#include "render/recalculate_distances.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

constexpr int pageCount = 60;
constexpr int stavesPerPage = 10;
constexpr int barsPerStaff = 4;

ElementRecord Sign(SignType type, unsigned code, int x) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    e.signWord().setCode(code);
    e.x = x;
    return e;
}

ElementRecord Note(unsigned code, unsigned step, int x) {
    ElementRecord e;
    e.noteWord().setDurationCode(code);
    e.noteWord().setStep(step);
    e.w0().setOctave(4);
    e.w1().setNumerator(1);
    e.w1().setDenominator(1);
    e.x = x;
    return e;
}

// A bar of quarters on one staff of a block, of eighths on the other, at the x a hurried entry leaves.
StaffRecord MakeStaff(int index, int blockSize) {
    StaffRecord staff;
    const int position = index % blockSize;
    staff.voice().setVoice(static_cast<unsigned>(position + 1));
    staff.voice().setPositionInGroup(static_cast<unsigned>(position + 1));
    staff.voice().setGroupSize(static_cast<unsigned>(blockSize));
    staff.key().setIndex(static_cast<unsigned>(index));
    staff.elements.push_back(Sign(SignType::Clef, 1, 40));
    int x = 100;
    for (int bar = 0; bar < barsPerStaff; ++bar) {
        const bool eighths = position == 1;
        for (int n = 0; n < (eighths ? 8 : 4); ++n) {
            staff.elements.push_back(Note(eighths ? 5 : 4, static_cast<unsigned>(1 + (n + bar) % 7), x));
            x += eighths ? 33 : 61;
        }
        staff.elements.push_back(Sign(SignType::Bar, '|', x));
        x += 29;
    }
    return staff;
}

void FillScore(ScoreDocument& doc, int blockSize) {
    doc.pages.clear();
    for (int n = 1; n <= pageCount; ++n) {
        PageRecord page;
        page.number = static_cast<std::uint32_t>(n);
        page.lineLength = 1800;
        page.layoutWord().setStaffCount(stavesPerPage);
        page.layoutWord().setStaffSize(20);
        for (int s = 0; s < stavesPerPage; ++s) page.staves.push_back(MakeStaff(s, blockSize));
        doc.pages.push_back(std::move(page));
    }
    doc.pageCount = pageCount;
    doc.storage.windowFirst = 1;
    doc.storage.windowLast = pageCount;
}

void BM_RecalculateDistancesPageByPage(benchmark::State& state) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    const int blockSize = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FillScore(ctx.doc, blockSize);
        state.ResumeTiming();
        for (int n = 1; n <= pageCount; ++n) {
            ctx.doc.currentPage = n;
            ctx.doc.currentStaff = 0;
            ctx.doc.currentElement = -1;
            benchmark::DoNotOptimize(RecalculateDistances(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, false));
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(static_cast<double>(pageCount), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RecalculateDistancesPageByPage)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("staves_per_block")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace notavera
