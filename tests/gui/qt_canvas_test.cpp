// The Qt canvas on real devices: where lines, arcs, ellipses and music glyphs land in pixels at 254 dpi (one
// pixel per logical unit, y up), raster operations, text on its baseline, and the SVG, PDF and PNG files.
#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cmath>
#include <filesystem>
#include <unistd.h>

#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_picture_files.h"
#include "render/music_font.h"

namespace notavera {
namespace {

constexpr double kDpi = 254.0;  // one pixel per tenth of a millimetre
constexpr Box kArea{0, 0, 200, 100};

const GlyphFont kBravura{"Bravura", MusicFontDirectory() + "/bravura/bravura.otf", 80.0, 0};  // staff space 20

// The pixel of logical point (x, y) in an image whose area starts at 0: columns from the left, rows from the top.
bool DarkAt(const QImage& image, int x, int y) { return qGray(image.pixel(x, image.height() - 1 - y)) < 128; }

// The logical box of the dark pixels; left > right when there are none.
Box DarkBox(const QImage& image) {
    Box box{image.width(), image.height(), -1, -1};
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            if (qGray(image.pixel(column, row)) >= 128) continue;
            const int y = image.height() - 1 - row;
            box = {std::min(box.left, column), std::min(box.bottom, y), std::max(box.right, column),
                   std::max(box.top, y)};
        }
    }
    return box;
}

QImage Render(const DrawOnCanvas& draw) { return RenderImage(kArea, kDpi, draw); }

TEST(QtCanvas, OneLogicalUnitIsOnePixelAt254DpiWithYUpFromTheWindowOrigin) {
    const QImage image = Render([](Canvas& c) {
        EXPECT_DOUBLE_EQ(c.pixelWidth(), 1.0);
        c.drawLine({10, 20}, {150, 20}, Pen{});
        c.drawLine({170, 10}, {170, 90}, Pen{});
    });
    ASSERT_EQ(image.size(), QSize(200, 100));
    for (int x = 10; x <= 150; x += 10) EXPECT_TRUE(DarkAt(image, x, 20)) << x;
    for (int y = 10; y <= 90; y += 10) EXPECT_TRUE(DarkAt(image, 170, y)) << y;
    for (const auto& [x, y] : {std::pair{80, 19}, {80, 21}, {160, 20}, {169, 50}, {171, 50}})
        EXPECT_FALSE(DarkAt(image, x, y)) << x << "," << y;
    const QImage moved = RenderImage({1000, 2000, 1200, 2100}, kDpi, [](Canvas& c) {
        c.drawRect({1050, 2030, 1060, 2040}, ShapeStyle{std::nullopt, 0});
    });
    const Box dark = DarkBox(moved);
    EXPECT_NEAR(dark.left, 50, 1);
    EXPECT_NEAR(dark.right, 60, 1);
    EXPECT_NEAR(dark.bottom, 30, 1);
    EXPECT_NEAR(dark.top, 40, 1);
}

// An image fills its box with its top row along the box's top, and its transparent pixels leave the page white.
TEST(QtCanvas, ImagesFillTheirBoxTopRowUpAndLetTransparencyThrough) {
    const Image image{2, 2, {0xFF000000u, 0x00000000u, 0xFFFF0000u, 0xFF0000FFu}};  // black, clear / red, blue
    const QImage drawn = Render([&image](Canvas& c) { c.drawImage({20, 10, 120, 90}, image); });
    // The image is smoothed as it is stretched: each quarter's centre keeps its colour within a few levels.
    const auto near = [&drawn](int x, int y, QRgb expected) {
        const QRgb c = drawn.pixel(x, drawn.height() - 1 - y);
        return std::abs(qRed(c) - qRed(expected)) < 8 && std::abs(qGreen(c) - qGreen(expected)) < 8 &&
               std::abs(qBlue(c) - qBlue(expected)) < 8;
    };
    EXPECT_TRUE(near(45, 70, qRgb(0, 0, 0)));
    EXPECT_TRUE(near(95, 70, qRgb(255, 255, 255)));
    EXPECT_TRUE(near(45, 30, qRgb(255, 0, 0)));
    EXPECT_TRUE(near(95, 30, qRgb(0, 0, 255)));
    EXPECT_TRUE(near(10, 50, qRgb(255, 255, 255)));
    EXPECT_TRUE(near(150, 50, qRgb(255, 255, 255)));
}

TEST(QtCanvas, PensAreLogicalWidthsDashesLeaveGapsAndColoursAreWindowsValues) {
    const QImage image = Render([](Canvas& c) {
        c.drawLine({10, 50}, {190, 50}, Pen{0, 9, PenStyle::Solid});
        c.drawLine({10, 20}, {190, 20}, Pen{0, 0, PenStyle::Dash});
        c.drawLine({10, 80}, {190, 80}, Pen{0, 5, PenStyle::Null});
        c.drawRect({10, 85, 20, 95}, ShapeStyle{std::nullopt, 0x00FF8000});  // blue 255, green 128, red 0
    });
    EXPECT_TRUE(DarkAt(image, 100, 54));
    EXPECT_TRUE(DarkAt(image, 100, 46));
    EXPECT_FALSE(DarkAt(image, 100, 56));
    int dark = 0;
    for (int x = 10; x <= 190; ++x) dark += DarkAt(image, x, 20) ? 1 : 0;
    EXPECT_GT(dark, 60);
    EXPECT_LT(dark, 170);
    EXPECT_FALSE(DarkAt(image, 100, 80));
    const QRgb p = image.pixel(15, image.height() - 1 - 90);
    EXPECT_EQ(std::tuple(qRed(p), qGreen(p), qBlue(p)), std::tuple(0, 128, 255));
}

// Counter-clockwise from the start radial to the end radial, as seen on the page.
TEST(QtCanvas, ArcsRunCounterClockwiseFromStartToEnd) {
    const Box box{20, 20, 80, 80};  // centre (50, 50), radius 30
    const auto on = [](const QImage& image, double degrees) {
        const double a = degrees * 3.14159265358979 / 180.0;
        const int x = static_cast<int>(std::lround(50 + 30 * std::cos(a)));
        const int y = static_cast<int>(std::lround(50 + 30 * std::sin(a)));
        return DarkAt(image, x, y) || DarkAt(image, x + 1, y) || DarkAt(image, x, y + 1) || DarkAt(image, x - 1, y) ||
               DarkAt(image, x, y - 1);
    };
    const QImage eastToNorth = Render([&](Canvas& c) { c.drawArc(box, {90, 50}, {50, 200}, Pen{0, 2}); });
    const QImage northToEast = Render([&](Canvas& c) { c.drawArc(box, {50, 200}, {90, 50}, Pen{0, 2}); });
    const QImage whole = Render([&](Canvas& c) { c.drawArc(box, {0, 0}, {0, 0}, Pen{0, 2}); });
    for (int degrees = 45; degrees < 360; degrees += 90) {
        EXPECT_EQ(on(eastToNorth, degrees), degrees == 45) << degrees;
        EXPECT_EQ(on(northToEast, degrees), degrees != 45) << degrees;
    }
    for (int degrees = 0; degrees < 360; degrees += 45) EXPECT_TRUE(on(whole, degrees)) << degrees;
    // On a flat ellipse the radials meet it where they cross it, not at the same parametric angle: from the centre
    // (100, 50) of this 80 × 20 ellipse the 45° radial meets it at about (119, 69), the parametric 45° at (157, 64).
    const QImage flat = Render([](Canvas& c) { c.drawArc({20, 30, 180, 70}, {200, 50}, {200, 150}, Pen{0, 2}); });
    EXPECT_TRUE(DarkAt(flat, 179, 50) || DarkAt(flat, 180, 50));
    EXPECT_TRUE(DarkAt(flat, 130, 68) || DarkAt(flat, 130, 69));
    EXPECT_FALSE(DarkAt(flat, 105, 69) || DarkAt(flat, 105, 70));
}

TEST(QtCanvas, RasterOperationsDrawnTwiceRestoreTheImageAndOnceChangeIt) {
    const auto scene = [](Canvas& c) {
        c.drawEllipse({20, 10, 120, 90}, ShapeStyle{Pen{RgbColour(0, 0, 200), 3}, RgbColour(200, 180, 0)});
        c.drawGlyphs({130, 40}, U"\uE050", kBravura, 0);
    };
    const QImage blank = Render([](Canvas&) {});
    for (const RasterOp op : {RasterOp::Xor, RasterOp::Invert, RasterOp::NotXor}) {
        const auto over = [op](int times) {
            return [op, times](Canvas& c) {
                c.setRasterOp(op);
                for (int i = 0; i < times; ++i) {
                    c.drawRect({10, 30, 190, 70}, ShapeStyle{std::nullopt, RgbColour(255, 255, 255)});
                    c.drawLine({0, 0}, {199, 99}, Pen{RgbColour(0, 255, 0), 5});
                }
            };
        };
        EXPECT_EQ(Render([&](Canvas& c) { scene(c), over(2)(c); }), Render(scene)) << static_cast<int>(op);
        EXPECT_NE(Render(over(1)), blank) << static_cast<int>(op);
    }
    const QImage marked = Render([](Canvas& c) {  // NOT-XOR of the ink colour marks white paper
        c.setRasterOp(RasterOp::NotXor);
        c.drawLine({10, 50}, {190, 50}, Pen{0, 3});
    });
    EXPECT_TRUE(DarkAt(marked, 100, 50));
}

// A black notehead is 1.18 staff spaces wide in Bravura and sits centred on its baseline.
TEST(QtCanvas, GlyphsSitOnTheirOriginWithTheFontsWidthsAndSkipWhatTheFontLacks) {
    const QImage one = Render([](Canvas& c) { c.drawGlyphs({60, 50}, U"\uE0A4", kBravura, 0); });
    const Box dark = DarkBox(one);
    ASSERT_LE(dark.left, dark.right) << "nothing drawn";
    EXPECT_NEAR(dark.left, 60, 1.5);
    EXPECT_NEAR(dark.right - dark.left + 1, 1.18 * 20, 1.5);
    EXPECT_NEAR((dark.bottom + dark.top) / 2.0, 50, 1.5);
    EXPECT_NEAR(dark.top - dark.bottom + 1, 20, 2.5);  // one staff space high
    const QImage two = Render([](Canvas& c) { c.drawGlyphs({60, 50}, U"\uE0A4\uE0A4", kBravura, 0); });
    EXPECT_NEAR(DarkBox(two).right - dark.right, 23.6, 1.5);
    EXPECT_EQ(Render([](Canvas& c) { c.drawGlyphs({60, 50}, U"\uE0A4\U0010FFFD", kBravura, 0); }), one);
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtCanvas canvas(painter, CanvasKind::Image);
    const TextExtent extent = canvas.measureGlyphs(U"\uE0A4", kBravura);
    EXPECT_NEAR(extent.width, 1.18 * 20, 0.6);
    EXPECT_EQ(canvas.measureGlyphs(U"\uE0A4\uE0A4", kBravura).width, static_cast<int>(std::lround(2 * 1.18 * 20)));
    EXPECT_GT(extent.ascent, 0);
    const GlyphFont missing{"No Such Music Font", "/nonexistent/font.otf", 80.0, 0};
    EXPECT_EQ(canvas.measureGlyphs(U"\uE0A4", missing).width, 0);
    const Box none = DarkBox(Render([&](Canvas& c) { c.drawGlyphs({20, 50}, U"\uE0A4", missing, 0); }));
    EXPECT_GT(none.left, none.right);
}

TEST(QtCanvas, EscapementTurnsGlyphsAndTextCounterClockwise) {
    GlyphFont turned = kBravura;
    turned.escapement = 900;
    const Box run = DarkBox(Render([&](Canvas& c) { c.drawGlyphs({100, 20}, U"\uE0A4\uE0A4\uE0A4", turned, 0); }));
    EXPECT_GT(run.top - run.bottom, 60);  // the run goes up the page
    EXPECT_LT(run.right - run.left, 25);
    EXPECT_NEAR(run.bottom, 20, 1.5);
    const Box written = DarkBox(Render([](Canvas& c) {
        c.drawText({100, 10}, "Allemande", TextFont{"Arial", 20, 400, false, 900, 0}, 0);
    }));
    EXPECT_GT(written.top - written.bottom, 2 * (written.right - written.left));
    EXPECT_LE(written.right, 101);  // the tops of the letters point left, away from the baseline
}

TEST(QtCanvas, TextIsMeasuredAndDrawnOnItsBaselineInLogicalUnitsAndOpaqueTextFillsItsCell) {
    const TextFont font{"Times New Roman", 40};
    TextExtent extent;
    const QImage image = RenderImage({0, 0, 400, 100}, kDpi, [&](Canvas& c) {
        extent = c.measureText("Allemande", font);
        c.drawText({10, 30}, "Allemande", font, 0);
    });
    const Box dark = DarkBox(image);
    EXPECT_GT(extent.width, 100);
    EXPECT_NEAR(dark.right - dark.left, extent.width, 6);
    EXPECT_NEAR(dark.left, 10, 4);
    EXPECT_GE(dark.bottom, 29);         // nothing in "Allemande" hangs below the baseline …
    EXPECT_NEAR(dark.top, 30 + 28, 4);  // … and the capital rises about 0.66 em above it
    EXPECT_GT(extent.ascent, 30);
    EXPECT_GT(extent.descent, 5);
    RenderImage({0, 0, 400, 100}, 96, [&](Canvas& c) {  // measured at 96 dpi, the width stays close
        EXPECT_NEAR(c.measureText("Allemande", font).width, extent.width, extent.width / 10);
    });
    const QImage opaque = RenderImage({0, 0, 400, 100}, kDpi, [](Canvas& c) {
        c.drawText({10, 30}, "a", TextFont{"Arial", 40}, RgbColour(255, 255, 255), RgbColour(0, 0, 0));
    });
    EXPECT_TRUE(DarkAt(opaque, 12, 28));  // the cell is filled where the glyph leaves paper
    EXPECT_FALSE(DarkAt(opaque, 60, 28));
}

class PictureFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    static QByteArray Read(const std::filesystem::path& path) {
        QFile file(QString::fromStdString(path.string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void Scene(Canvas& c) {
        c.drawLine({100, 500}, {1900, 500}, Pen{0, 2});
        c.drawGlyphs({200, 480}, U"\uE050", kBravura, 0);
        c.drawText({600, 300}, "Allegro", TextFont{"Times New Roman", 50}, 0);
    }
    std::filesystem::path dir_ = std::filesystem::temp_directory_path() / ("qt_canvas_" + std::to_string(::getpid()));
};

TEST_F(PictureFileTest, SvgHoldsTheDrawingInMillimetresAndPdfOnePageOfTheAreasSize) {
    ASSERT_TRUE(WriteSvgFile(dir_ / "page.svg", {0, 0, 2000, 1000}, Scene));
    const QByteArray svg = Read(dir_ / "page.svg");
    // The line in logical units, flipped by a transform; the clef as its outline placed at its origin
    // (200, 1000 − 480) in the file's downward y, since readers of the file need not have the music font.
    for (const char* part : {"<svg", "width=\"200mm\"", "height=\"100mm\"", "Allegro", "Liberation Serif",
                             "points=\"100,500 1900,500 \"", "matrix(1,0,0,-1,0,1000)", "matrix(1,0,0,1,200,520)",
                             "<path", " C"})
        EXPECT_TRUE(svg.contains(part)) << part;
    ASSERT_TRUE(WritePdfFile(dir_ / "page.pdf", {0, 0, 2100, 2970}, Scene));
    const QByteArray pdf = Read(dir_ / "page.pdf");
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595"));  // A4 in points
}

TEST_F(PictureFileTest, PngRoundTripsTheImageAndUnwritableFilesLeaveNothingBehind) {
    const QImage image = Render(Scene);
    ASSERT_TRUE(WritePngFile(dir_ / "page.png", image));
    EXPECT_EQ(QImage(QString::fromStdString((dir_ / "page.png").string())).convertToFormat(QImage::Format_RGB32),
              image);
    std::filesystem::remove(dir_ / "page.png");
    EXPECT_FALSE(WriteSvgFile(dir_ / "missing" / "page.svg", {0, 0, 100, 100}, Scene));
    EXPECT_FALSE(WritePdfFile(dir_ / "missing" / "page.pdf", {0, 0, 100, 100}, Scene));
    EXPECT_FALSE(WritePngFile(dir_ / "missing" / "page.png", image));
    EXPECT_FALSE(WriteSvgFile(dir_ / "empty.svg", {0, 0, 0, 100}, Scene));
    EXPECT_TRUE(RenderImage({0, 0, 100, 100}, 0, Scene).isNull());
    EXPECT_TRUE(RenderImage({0, 0, 1000000, 1000000}, 1200, Scene).isNull());
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

}  // namespace
}  // namespace notavera
