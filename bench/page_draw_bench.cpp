// Speed of the page pass on a dense page (10 staves of 80 elements: clefs, bars, single notes and three-note
// chords with accidentals, braces and brackets): to a raster at 96 and 300 dpi, as the editor's window and a
// print preview draw it, to SVG, and the layout alone. What is drawn is whatever the element drawer draws.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

#include "platform/qt/qt_canvas.h"
#include "render/page_pass.h"
#include "render/page_sheet.h"
#include "score/new_document.h"

namespace notavera {
namespace {

constexpr int Staves = 10;
constexpr int ElementsPerStaff = 80;

ElementRecord Sign(SignType type, int x, int code) {
    ElementRecord e;
    e.x = x;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    e.signWord().setCode(static_cast<unsigned>(code));
    return e;
}

ElementRecord Note(int x, unsigned step, unsigned octave, unsigned duration, Accidental accidental, bool chord) {
    ElementRecord e;
    e.x = x;
    e.w0().setOctave(octave);
    auto n = e.noteWord();
    n.setDurationCode(duration);
    n.setStep(step);
    n.setAccidental(accidental);
    n.setStemAutomatic(true);
    n.setBit(18, chord);
    return e;
}

// Staves in pairs under braces, the first four also under a bracket; each staff a clef, then bars every eighth
// element and, between them, single notes and three-note chords, one element in three with an accidental.
ScoreDocument DensePage() {
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    PageRecord& page = doc.pages[0];
    for (int s = 0; s < Staves; ++s) {
        StaffRecord& staff = page.staves[static_cast<std::size_t>(s)];
        staff.key().setSystemGrouping(s % 2 == 0 ? 1 : 2);
        staff.key().setBlockGrouping(s % 2 == 0 ? 1 : 2);
        staff.lines().setBrace(s >= 4);
        const bool bass = s % 2 == 1;
        staff.elements.push_back(Sign(SignType::Clef, 40, bass ? 3 : 1));
        int x = 80;
        for (int i = 1; static_cast<int>(staff.elements.size()) < ElementsPerStaff; ++i, x += 22) {
            if (i % 8 == 0) {
                staff.elements.push_back(Sign(SignType::Bar, x, '|'));
                continue;
            }
            const auto accidental = static_cast<Accidental>(i % 3 == 0 ? 1 + i % 5 : 0);
            const unsigned octave = bass ? 3 : 4, step = static_cast<unsigned>(1 + i % 7);
            if (i % 2 == 0 && static_cast<int>(staff.elements.size()) + 3 <= ElementsPerStaff) {
                for (unsigned k = 0; k < 3; ++k)
                    staff.elements.push_back(Note(x, (step + 2 * k - 1) % 7 + 1, octave, 4, accidental, true));
            } else {
                staff.elements.push_back(Note(x, step, octave, 3 + i % 4, accidental, false));
            }
        }
    }
    return doc;
}

void DrawToImage(benchmark::State& state, double dpi) {
    ScoreDocument doc = DensePage();
    const Box area = PageArea(doc, 1);
    const double pixelsPerUnit = dpi / 254.0;
    QImage image(static_cast<int>(std::ceil((area.right - area.left) * pixelsPerUnit)),
                 static_cast<int>(std::ceil((area.top - area.bottom) * pixelsPerUnit)), QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    DrawingContext dc;
    for (auto _ : state) {
        // As a paint event does: the device cleared, a painter and a canvas for this one frame.
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(painter, CanvasKind::Image);
        canvas.setWindowOrigin({area.left, area.bottom});
        dc.canvas = &canvas;
        DrawPage(dc, doc);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pixels"] = static_cast<double>(image.width()) * image.height();
}

void BM_DrawPage96Dpi(benchmark::State& state) { DrawToImage(state, 96); }
void BM_DrawPage300Dpi(benchmark::State& state) { DrawToImage(state, 300); }

void BM_DrawPageSvg(benchmark::State& state) {
    ScoreDocument doc = DensePage();
    const Box area = PageArea(doc, 1);
    DrawingContext dc;
    std::size_t bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(254);
        svg.setSize(QSize(area.right - area.left, area.top - area.bottom));
        QPainter painter(&svg);
        QtCanvas canvas(painter, CanvasKind::Svg);
        canvas.setWindowOrigin({area.left, area.bottom});
        dc.canvas = &canvas;
        DrawPage(dc, doc);
        painter.end();
        bytes = static_cast<std::size_t>(buffer.size());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The layout state alone (staff places, clef tables), as editing rebuilds it between paints.
void BM_PageLayoutOnly(benchmark::State& state) {
    ScoreDocument doc = DensePage();
    DrawingContext dc;
    for (auto _ : state) {
        DrawPage(dc, doc);
        benchmark::DoNotOptimize(dc.staves.data());
    }
}

BENCHMARK(BM_DrawPage96Dpi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPage300Dpi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPageSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageLayoutOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace notavera

// Fonts and painting need an application object; the benchmark runs without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
