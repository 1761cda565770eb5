// The recording canvas: one JSON object per call, in order, and measurements from the font files.
#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/music_font.h"

namespace notavera {
namespace {

using nlohmann::json;

TEST(RecordingCanvas, KeepsEveryCallInOrderWithItsCoordinates) {
    RecordingCanvas c;
    c.setRasterOp(RasterOp::Xor);
    c.drawLine({1, 2}, {3, 4}, Pen{RgbColour(255, 0, 0), 2, PenStyle::Dot});
    const Point triangle[] = {{0, 0}, {10, 0}, {5, 8}};
    c.drawPolygon(triangle, ShapeStyle{std::nullopt, RgbColour(0, 255, 0)});
    c.drawRect({0, 0, 100, 50}, ShapeStyle{Pen{}, std::nullopt});
    c.drawEllipse({-5, -5, 5, 5}, ShapeStyle{Pen{}, 0});
    c.drawArc({0, 0, 100, 60}, {100, 30}, {0, 30}, Pen{0, 1});
    c.drawText({10, 20}, "Allegro", TextFont{"Times New Roman", 50, 700, true, 900, 0}, 0, RgbColour(255, 255, 255));
    c.setClip(Box{0, 0, 10, 10});
    c.setClip(std::nullopt);

    const json& calls = c.calls();
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0], json({{"op", "rasterOp"}, {"mode", "xor"}}));
    EXPECT_EQ(calls[1]["op"], "line");
    EXPECT_EQ(calls[1]["x2"], 3);
    EXPECT_EQ(calls[1]["pen"], json({{"width", 2}, {"colour", 0xFF}, {"style", "dot"}, {"ends", "round"}}));
    EXPECT_EQ(calls[2]["points"], json({{0, 0}, {10, 0}, {5, 8}}));
    EXPECT_TRUE(calls[2]["outline"].is_null());
    EXPECT_EQ(calls[2]["fill"], 0xFF00);
    EXPECT_EQ(calls[3]["op"], "rect");
    EXPECT_EQ(calls[3]["top"], 50);
    EXPECT_TRUE(calls[3]["fill"].is_null());
    EXPECT_EQ(calls[4]["op"], "ellipse");
    EXPECT_EQ(calls[5]["start"], json({100, 30}));
    EXPECT_EQ(calls[5]["end"], json({0, 30}));
    EXPECT_EQ(calls[6]["text"], "Allegro");
    EXPECT_EQ(calls[6]["font"]["escapement"], 900);
    EXPECT_EQ(calls[6]["font"]["italic"], true);
    EXPECT_EQ(calls[6]["background"], 0xFFFFFF);
    EXPECT_EQ(calls[7]["right"], 10);
    EXPECT_EQ(calls[8]["none"], true);
}

TEST(RecordingCanvas, NotesOfThePrimitivesCarryTheSystemCodesAndPageUnits) {
    RecordingCanvas c;
    c.note({.op = "glyph", .code = 233, .x1 = 100, .y1 = 200, .fontHeight = 160});
    c.note({.op = "glyphText", .text = "12", .x1 = 5, .y1 = 6, .fontHeight = 120, .centred = true});
    c.note({.op = "vline", .x1 = 7, .y1 = 8, .y2 = 9, .width = 2});
    c.note({.op = "band", .x1 = 1, .y1 = 2, .x2 = 3, .y2 = 4, .width = -10});
    c.note({.op = "disc", .x1 = 1, .y1 = 2, .width = 3});
    const json& calls = c.calls();
    EXPECT_EQ(calls[0], json({{"op", "glyph"}, {"code", 233}, {"x", 100}, {"y", 200}, {"fontHeight", 160},
                              {"colour", 0}}));
    EXPECT_EQ(calls[1]["codes"], json({49, 50}));
    EXPECT_EQ(calls[1]["centred"], true);
    EXPECT_EQ(calls[2]["y2"], 9);
    EXPECT_EQ(calls[3]["t"], -10);
    EXPECT_EQ(calls[4]["r"], 3);
    EXPECT_EQ(json::parse(calls.dump()), calls);
}

TEST(RecordingCanvas, MeasuresTextWithTheSubstitutedFacesMetrics) {
    RecordingCanvas c;
    const TextExtent serif = c.measureText("Allegro", TextFont{"Times New Roman", 100});
    const TextExtent sans = c.measureText("Allegro", TextFont{"arial", 100});
    const TextExtent bold = c.measureText("Allegro", TextFont{"Times New Roman", 100, 700});
    EXPECT_GT(serif.width, 250);
    EXPECT_LT(serif.width, 450);
    EXPECT_NE(serif.width, sans.width);
    EXPECT_GT(bold.width, serif.width);
    EXPECT_NEAR(serif.ascent, 89, 3);  // Liberation Serif: 0.891 em
    EXPECT_NEAR(serif.descent, 22, 3);
    EXPECT_EQ(c.measureText("", TextFont{"Arial", 100}).width, 0);
    EXPECT_EQ(c.calls().size(), 0u);
}

TEST(RecordingCanvas, MeasuresGlyphsFromTheMusicFontFile) {
    RecordingCanvas c;
    const GlyphFont bravura{"Bravura", MusicFontDirectory() + "/bravura/bravura.otf", 80};
    const TextExtent head = c.measureGlyphs(U"\uE0A4", bravura);
    EXPECT_EQ(head.width, 24);  // 1.18 staff spaces of 20
    EXPECT_EQ(c.measureGlyphs(U"\uE0A4\uE0A4", bravura).width, 47);
    EXPECT_EQ(c.measureGlyphs(U"", bravura).ascent, 161);  // 2.012 em
    EXPECT_EQ(c.measureGlyphs(U"\U0010FFFF", bravura).width, 0);
}

TEST(RecordingCanvas, WithoutAReadableFontItStillAnswers) {
    RecordingCanvas c;
    const TextExtent e = c.measureGlyphs(U"ab", GlyphFont{"None", "/nonexistent.otf", 100});
    EXPECT_EQ(e.width, 100);
    EXPECT_EQ(e.ascent, 80);
}

TEST(RecordingCanvas, KindAndPixelSizeAreThoseAskedFor) {
    RecordingCanvas printer(CanvasKind::Printer, 254);
    EXPECT_EQ(printer.kind(), CanvasKind::Printer);
    EXPECT_DOUBLE_EQ(printer.pixelWidth(), 1.0);
    EXPECT_EQ(RecordingCanvas().kind(), CanvasKind::Recording);
}

}  // namespace
}  // namespace notavera
