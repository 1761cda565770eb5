// Curve signs from their control points through the recording canvas: hairpins opening either way, brackets,
// manipulable curves on the screen and the printer, free ties on the side of their third point, dashed signs and
// damaged blobs.
#include <gtest/gtest.h>

#include "render/curve_signs.h"
#include "render/draw_signs.h"
#include "score/element_creation.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using nlohmann::json;

class CurveSigns : public test::NoteDrawingTest {
protected:
    // A curve sign of `type` at x on staff 0 with its four points; returns its index.
    int Sign(SignType type, int x, const CurvePoints& points, unsigned style = 0) {
        doc.currentStaff = 0;
        doc.currentElement = static_cast<int>(Staff(0).elements.size()) - 1;
        const auto blob = EncodeCurvePoints(points);
        ElementRecord* e = CreateSign(doc, x, 0, 0, type, 0, blob);
        EXPECT_NE(e, nullptr);
        e->signWord().setHigh7(style);
        return IndexOf(0, *e);
    }
    void Draw(int index) {
        canvas.clear();
        DrawSign(dc, Staff(0), index);
    }
    int Reference() const { return Top(0) + 4 * Space(); }
    json P(int x, int y) const { return json::array({x, y}); }
};

TEST_F(CurveSigns, PointsSurviveTheirBlob) {
    const CurvePoints points{{{-5, 7}, {100000, -100000}, {0, 0}, {-2147483647 - 1, 2147483647}}};
    const auto bytes = EncodeCurvePoints(points);
    EXPECT_EQ(DecodeCurvePoints(bytes), points);
    EXPECT_EQ(DecodeCurvePoints(std::span(bytes).first(31)), std::nullopt);
}

TEST_F(CurveSigns, ACrescendoOpensToTheRight) {
    // Tip at the sign's x on the bottom line's height, opening two spaces wide sixty units further.
    const int i = Sign(SignType::Hairpin, 500, {{{0, -100}, {300, -80}, {300, -120}, {0, 0}}});
    Draw(i);
    const auto lines = Calls("polyline");
    ASSERT_EQ(lines.size(), 1u);
    const int r = Reference();
    EXPECT_EQ(lines[0]["points"], json::array({P(800, r - 80), P(500, r - 100), P(800, r - 120)}));
    EXPECT_EQ(lines[0]["pen"]["style"], "solid");
    // The font's hairpin thickness: 0.16 of a space in Bravura.
    EXPECT_EQ(lines[0]["pen"]["width"], 3);
}

TEST_F(CurveSigns, ADiminuendoClosesToTheRight) {
    const int i = Sign(SignType::Hairpin, 500, {{{300, -100}, {0, -80}, {0, -120}, {0, 0}}});
    Draw(i);
    const auto lines = Calls("polyline");
    ASSERT_EQ(lines.size(), 1u);
    const json& points = lines[0]["points"];
    EXPECT_EQ(points[1], P(800, Reference() - 100));
    EXPECT_EQ(points[0][0].get<int>(), 500);
    EXPECT_EQ(points[2][0].get<int>(), 500);
    EXPECT_EQ(points[0][1].get<int>() - points[2][1].get<int>(), 40);
}

TEST_F(CurveSigns, ABracketIsAnOpenLineThroughItsFourPoints) {
    const int i = Sign(SignType::Bracket, 400, {{{0, 100}, {0, 120}, {500, 120}, {500, 100}}});
    Draw(i);
    const auto lines = Calls("polyline");
    ASSERT_EQ(lines.size(), 1u);
    const int r = Reference();
    EXPECT_EQ(lines[0]["points"], json::array({P(400, r + 100), P(400, r + 120), P(900, r + 120), P(900, r + 100)}));
}

TEST_F(CurveSigns, AManipulableCurveIsTwoStrokesOnScreenAndOneShapeOnThePrinter) {
    const int i = Sign(SignType::Curve, 500, {{{0, 0}, {100, 80}, {300, 80}, {400, 0}}});
    Draw(i);
    const auto strokes = Calls("bezier");
    ASSERT_EQ(strokes.size(), 2u);
    const int r = Reference();
    EXPECT_EQ(strokes[0]["points"], json::array({P(500, r), P(600, r + 80), P(800, r + 80), P(900, r)}));
    // The inner edge keeps the ends and comes towards the line between them by the thickness.
    EXPECT_EQ(strokes[1]["points"][0], P(500, r));
    EXPECT_EQ(strokes[1]["points"][3], P(900, r));
    const int t = Space() / 5;
    EXPECT_EQ(strokes[1]["points"][1][1].get<int>(), r + 80 - (4 * t + 1) / 3);

    RecordingCanvas printer(CanvasKind::Printer);
    dc.canvas = &printer;
    DrawSign(dc, Staff(0), i);
    ASSERT_EQ(printer.calls().size(), 1u);
    EXPECT_EQ(printer.calls()[0]["op"], "polygon");
    EXPECT_EQ(printer.calls()[0]["fill"], 0);
}

TEST_F(CurveSigns, AFreeTieCurvesTowardsItsThirdPoint) {
    const int above = Sign(SignType::FreeTie, 500, {{{0, 0}, {150, 40}, {0, 0}, {300, 0}}});
    Draw(above);
    auto arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_GT(arcs[0]["start"][0].get<int>(), arcs[0]["end"][0].get<int>());  // over the top, from the right

    const int below = Sign(SignType::FreeTie, 1000, {{{0, 0}, {150, -40}, {0, 0}, {300, 0}}});
    Draw(below);
    arcs = Calls("arc");
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_LT(arcs[0]["start"][0].get<int>(), arcs[0]["end"][0].get<int>());
}

TEST_F(CurveSigns, AStyledSignIsDrawnThinInItsStyle) {
    const int i = Sign(SignType::Hairpin, 500, {{{0, 0}, {300, 20}, {300, -20}, {0, 0}}}, 2);
    Draw(i);
    const auto lines = Calls("polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["pen"]["style"], "dot");
    EXPECT_EQ(lines[0]["pen"]["width"], 0);
}

TEST_F(CurveSigns, ADamagedBlobDrawsNothing) {
    doc.currentStaff = 0;
    doc.currentElement = -1;
    ElementRecord* e = CreateSign(doc, 500, 0, 0, SignType::Curve, 0);
    ASSERT_NE(e, nullptr);
    // As a damaged file may hold it: shorter than its points.
    const std::array<std::uint8_t, 12> shortBlob{};
    e->attachBlob(shortBlob);
    Draw(IndexOf(0, *e));
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(CurveSigns, TheMetafileSkipsASignOutsideItsRegion) {
    const int i = Sign(SignType::Bracket, 1500, {{{0, 0}, {0, 20}, {100, 20}, {100, 0}}});
    dc.outputMode = OutputMode::Metafile;
    dc.exportRegion = dc.visibleRegion = {0, 0, 1000, 2970};
    Draw(i);
    EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace notavera
