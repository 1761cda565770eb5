// The metafile export: the region in page units and the left edge's reach, the clipboard picture's size, the
// replay of measured widths (centred numbers and running texts land where the measuring pass put them), what the
// passes cull, and the context left as it was.
#include "render/metafile_export.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/primitives.h"
#include "score/little_endian.h"
#include "support/page_fixtures.h"
#include "support/wmf_records.h"

namespace notavera {
namespace {

using test::CallsOf;
using test::ElementSpy;
using test::NewDocument;
using test::NoteAt;
using test::SignAt;

// A screen that measures every string wider than the fonts make it: what the metafile shows can then only come
// from what this screen measured.
class WideScreen : public RecordingCanvas {
public:
    static constexpr int GlyphsWidth = 300, TextWidth = 400;
    WideScreen() : RecordingCanvas(CanvasKind::Screen) {}
    TextExtent measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) override {
        TextExtent e = RecordingCanvas::measureGlyphs(codePoints, font);
        if (!codePoints.empty()) e.width = GlyphsWidth;
        return e;
    }
    TextExtent measureText(std::string_view utf8, const TextFont& font) override {
        TextExtent e = RecordingCanvas::measureText(utf8, font);
        e.width = TextWidth;
        return e;
    }
};

// The x of each text record of the metafile, in metafile units from the picture's left edge.
std::vector<int> TextOutXs(const MetafileExport& exported) {
    const test::ParsedMetafile m = test::ParseMetafile(exported.picture->fileBytes());
    std::vector<int> xs;
    for (const test::WmfRecord* r : test::FindRecords(m, wmf::TextOut)) xs.push_back(r->param(r->params.size() - 1));
    return xs;
}

TEST(ClipboardPicture, ARegionOf1000By500UnitsIs10000By5000Hundredths) {
    EXPECT_EQ(ClipboardPictureSizeOf({100, 1000, 1100, 1500}), (ClipboardPictureSize{8, 10000, 5000}));
    EXPECT_EQ(ClipboardPictureSizeOf({1100, 1500, 100, 1000}), (ClipboardPictureSize{8, 10000, 5000}));
}

TEST(MetafileExport, TheRegionIsTakenIntoPageUnitsAtTheZoom) {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;
    ApplyZoom(dc, {2, 1});
    RecordingCanvas measuring(CanvasKind::Screen);
    const MetafileExport exported = ExportMetafile(dc, doc, {200, 2000, 2200, 3000}, measuring);
    EXPECT_EQ(exported.region.x0, 100);
    EXPECT_EQ(exported.region.y1, 1500);
    EXPECT_EQ(exported.clipboard, (ClipboardPictureSize{8, 10000, 5000}));
    const test::ParsedMetafile m = test::ParseMetafile(exported.picture->fileBytes());
    ASSERT_EQ(m.placeable.size(), 11u);
    EXPECT_EQ(m.placeable[5] - m.placeable[3], 2000);  // the zoomed width, one logical unit to a metafile unit
    EXPECT_EQ(m.placeable[7], 508);                    // ... at twice 254 units to the inch: the same printed size
}

TEST(MetafileExport, ALeftEdgeAtZeroReachesLeftForBracesAndBrackets) {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;
    RecordingCanvas measuring(CanvasKind::Screen);
    const MetafileExport exported = ExportMetafile(dc, doc, {0, 1000, 1000, 1500}, measuring);
    EXPECT_EQ(exported.region.x0, -40);
    EXPECT_EQ(exported.clipboard.width, 10400);
}

TEST(MetafileExport, CentredNumbersLandWhereTheMeasuringPassPutThem) {
    ScoreDocument doc = NewDocument();
    doc.pages[0].staves[0].elements = {NoteAt(1000)};
    PageDrawOptions options;
    options.drawElement = [](DrawingContext& dc, const StaffRecord& staff, int i) {
        PutGlyphText(dc, staff.elements[static_cast<std::size_t>(i)].x, 2500, "12", true);
    };
    DrawingContext dc;
    WideScreen measuring;
    const MetafileExport exported = ExportMetafile(dc, doc, {500, 2000, 1500, 2900}, measuring, options);
    const auto runs = CallsOf(measuring.calls(), "glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    const int measuredX = runs[0]["x"];
    EXPECT_NEAR(measuredX, 1000 - WideScreen::GlyphsWidth / 2, 10);  // moved left by half the measured width
    const std::vector<int> xs = TextOutXs(exported);
    ASSERT_EQ(xs.size(), 2u);
    EXPECT_EQ(xs[0] + 500, measuredX);
    EXPECT_EQ(xs[1] + 500, runs[1]["x"].get<int>());
}

TEST(MetafileExport, RunningTextsKeepTheirMeasuredPlace) {
    ScoreDocument doc = NewDocument();
    std::array<std::uint8_t, 10> pagination{};
    pagination[4] = 1;  // "Première page incluse"
    pagination[5] = 3;  // "Droite"
    pagination[6] = 1;
    pagination[9] = 2;
    le::putU32(pagination, 0, 122);
    doc.optional.pagination = pagination;
    doc.header.blockFlags() |= block_flag::pagination;
    DrawingContext dc;
    WideScreen measuring;
    const MetafileExport exported = ExportMetafile(dc, doc, {1000, 2000, 2010, 2970}, measuring);
    const auto texts = CallsOf(measuring.calls(), "text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]["text"], "123");
    const int measuredX = texts[0]["x"];
    EXPECT_EQ(measuredX, 2010 - WideScreen::TextWidth);
    const std::vector<int> xs = TextOutXs(exported);
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_EQ(xs[0] + 1000, measuredX);
}

TEST(MetafileExport, StaffLinesAreCutToTheRegionAndStavesOutsideItLeftOut) {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;
    RecordingCanvas measuring(CanvasKind::Screen);
    ExportMetafile(dc, doc, {500, 2000, 1500, 2900}, measuring);
    const auto lines = CallsOf(measuring.calls(), "line");
    ASSERT_EQ(lines.size(), 15u);  // the three staves between 2000 and 2900
    for (const auto& l : lines) {
        EXPECT_EQ(l["x1"], 500);
        EXPECT_EQ(l["x2"], 1500);
    }
}

TEST(MetafileExport, DrawingsWaitForTheMainPassAndTheContextIsRestored) {
    ScoreDocument doc = NewDocument();
    doc.pages[0].staves[0].elements = {SignAt(SignType::Drawing, 600), SignAt(SignType::Clef, 700, 1)};
    ElementSpy spy;
    PageDrawOptions options;
    options.drawElement = spy.drawer();
    DrawingContext dc;
    RecordingCanvas window;
    dc.canvas = &window;
    dc.visibleRegion = {1, 2, 3, 4};
    RecordingCanvas measuring(CanvasKind::Screen);
    ExportMetafile(dc, doc, {500, 2000, 1500, 2900}, measuring, options);
    ASSERT_EQ(spy.handed().size(), 4u);
    EXPECT_EQ(spy.handed()[0].x, 700);
    EXPECT_EQ(spy.handed()[1].x, 600);
    EXPECT_EQ(spy.handed()[0].mode, OutputMode::Measuring);
    EXPECT_EQ(spy.handed()[3].mode, OutputMode::Metafile);
    EXPECT_EQ(dc.canvas, &window);
    EXPECT_EQ(dc.outputMode, OutputMode::Normal);
    EXPECT_EQ(dc.visibleRegion.x1, 3);
    EXPECT_EQ(dc.centredWidths.size(), 0u);
}

}  // namespace
}  // namespace notavera
