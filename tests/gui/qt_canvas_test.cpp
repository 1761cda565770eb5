// The Qt canvas on real devices: where lines, arcs, ellipses and music glyphs land in pixels at 254 dpi (one
// pixel per logical unit, y up), raster operations, clipping, text faces, and the SVG and PDF files.
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

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// The pixel of logical point (x, y) in an image of kArea: columns from the left, rows from the top.
bool DarkAt(const QImage& image, int x, int y) { return Dark(image, x, image.height() - 1 - y); }

// The logical box of the pixels darker than mid-grey; left > right when there are none.
Box DarkBox(const QImage& image) {
    Box box{image.width(), image.height(), -1, -1};
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            if (!Dark(image, column, row)) continue;
            const int y = image.height() - 1 - row;
            box = {std::min(box.left, column), std::min(box.bottom, y), std::max(box.right, column),
                   std::max(box.top, y)};
        }
    }
    return box;
}

QImage Render(const DrawOnCanvas& draw) { return RenderImage(kArea, kDpi, draw); }

TEST(QtCanvas, OneLogicalUnitIsOnePixelAt254DpiWithYUp) {
    const QImage image = Render([](Canvas& c) {
        EXPECT_DOUBLE_EQ(c.pixelWidth(), 1.0);
        c.drawLine({10, 20}, {150, 20}, Pen{});
        c.drawLine({170, 10}, {170, 90}, Pen{});
    });
    ASSERT_EQ(image.size(), QSize(200, 100));
    for (int x = 10; x <= 150; x += 10) EXPECT_TRUE(DarkAt(image, x, 20)) << x;
    EXPECT_FALSE(DarkAt(image, 80, 19));
    EXPECT_FALSE(DarkAt(image, 80, 21));
    EXPECT_FALSE(DarkAt(image, 160, 20));
    for (int y = 10; y <= 90; y += 10) EXPECT_TRUE(DarkAt(image, 170, y)) << y;
    EXPECT_FALSE(DarkAt(image, 169, 50));
    EXPECT_FALSE(DarkAt(image, 171, 50));
}

TEST(QtCanvas, WindowOriginIsTheLogicalPointAtTheBottomLeft) {
    const QImage image = RenderImage({1000, 2000, 1200, 2100}, kDpi, [](Canvas& c) {
        c.drawRect({1050, 2030, 1060, 2040}, ShapeStyle{std::nullopt, 0});
    });
    const Box dark = DarkBox(image);
    EXPECT_NEAR(dark.left, 50, 1);
    EXPECT_NEAR(dark.right, 60, 1);
    EXPECT_NEAR(dark.bottom, 30, 1);
    EXPECT_NEAR(dark.top, 40, 1);
}

TEST(QtCanvas, PensAreLogicalWidthsAndDashesLeaveGaps) {
    const QImage image = Render([](Canvas& c) {
        c.drawLine({10, 50}, {190, 50}, Pen{0, 9, PenStyle::Solid});
        c.drawLine({10, 20}, {190, 20}, Pen{0, 0, PenStyle::Dash});
        c.drawLine({10, 80}, {190, 80}, Pen{0, 5, PenStyle::Null});
    });
    EXPECT_TRUE(DarkAt(image, 100, 54));
    EXPECT_TRUE(DarkAt(image, 100, 46));
    EXPECT_FALSE(DarkAt(image, 100, 56));
    int dark = 0;
    for (int x = 10; x <= 190; ++x) dark += DarkAt(image, x, 20) ? 1 : 0;
    EXPECT_GT(dark, 60);
    EXPECT_LT(dark, 170);
    EXPECT_FALSE(DarkAt(image, 100, 80));
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
    EXPECT_TRUE(on(eastToNorth, 45));
    EXPECT_FALSE(on(eastToNorth, 135));
    EXPECT_FALSE(on(eastToNorth, 225));
    EXPECT_FALSE(on(eastToNorth, 315));

    const QImage northToEast = Render([&](Canvas& c) { c.drawArc(box, {50, 200}, {90, 50}, Pen{0, 2}); });
    EXPECT_FALSE(on(northToEast, 45));
    EXPECT_TRUE(on(northToEast, 135));
    EXPECT_TRUE(on(northToEast, 225));
    EXPECT_TRUE(on(northToEast, 315));

    const QImage whole = Render([&](Canvas& c) { c.drawArc(box, {0, 0}, {0, 0}, Pen{0, 2}); });
    for (int degrees = 0; degrees < 360; degrees += 45) EXPECT_TRUE(on(whole, degrees)) << degrees;
}

// On a flat ellipse the radials meet it where they cross it, not at the same parametric angle: from the centre
// (100, 50) of this 80 × 20 ellipse the 45° radial meets it at about (119, 69); the parametric angle of 45° would
// end at (157, 64).
TEST(QtCanvas, ArcEndsFollowTheRadialsOnAFlatEllipse) {
    const QImage image = Render([](Canvas& c) { c.drawArc({20, 30, 180, 70}, {200, 50}, {200, 150}, Pen{0, 2}); });
    EXPECT_TRUE(DarkAt(image, 179, 50) || DarkAt(image, 180, 50));
    EXPECT_TRUE(DarkAt(image, 130, 68) || DarkAt(image, 130, 69));
    EXPECT_FALSE(DarkAt(image, 105, 69) || DarkAt(image, 105, 70));
}

TEST(QtCanvas, FilledEllipseIsCentredInItsBox) {
    const QImage image = Render([](Canvas& c) {
        c.drawEllipse({30, 20, 90, 60}, ShapeStyle{std::nullopt, RgbColour(255, 0, 0)});
    });
    double sumX = 0, sumY = 0;
    int count = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            const QRgb p = image.pixel(column, row);
            if (qRed(p) > 200 && qGreen(p) < 100) {
                sumX += column;
                sumY += image.height() - 1 - row;
                ++count;
            }
        }
    }
    ASSERT_GT(count, 1500);  // π × 30 × 20 ≈ 1885
    EXPECT_NEAR(sumX / count, 60, 0.6);
    EXPECT_NEAR(sumY / count, 40, 0.6);
}

TEST(QtCanvas, ColoursAreWindowsValues) {
    const QImage image = Render([](Canvas& c) {
        c.drawRect({10, 10, 40, 40}, ShapeStyle{std::nullopt, 0x00FF8000});  // blue 255, green 128, red 0
    });
    const QRgb p = image.pixel(25, image.height() - 1 - 25);
    EXPECT_EQ(qRed(p), 0);
    EXPECT_EQ(qGreen(p), 128);
    EXPECT_EQ(qBlue(p), 255);
}

class RasterOpTest : public ::testing::TestWithParam<RasterOp> {};

TEST_P(RasterOpTest, DrawingTwiceRestoresTheImage) {
    const auto scene = [](Canvas& c) {
        c.drawEllipse({20, 10, 120, 90}, ShapeStyle{Pen{RgbColour(0, 0, 200), 3}, RgbColour(200, 180, 0)});
        c.drawGlyphs({130, 40}, U"\uE050", kBravura, 0);
    };
    const QImage before = Render(scene);
    const QImage after = Render([&](Canvas& c) {
        scene(c);
        c.setRasterOp(GetParam());
        for (int i = 0; i < 2; ++i) {
            c.drawRect({10, 30, 190, 70}, ShapeStyle{std::nullopt, RgbColour(255, 255, 255)});
            c.drawLine({0, 0}, {199, 99}, Pen{RgbColour(0, 255, 0), 5});
        }
    });
    EXPECT_EQ(before, after);
}

TEST_P(RasterOpTest, DrawingOnceChangesTheImage) {
    const QImage before = Render([](Canvas&) {});
    const QImage after = Render([](Canvas& c) {
        c.setRasterOp(GetParam());
        c.drawRect({10, 30, 190, 70}, ShapeStyle{std::nullopt, RgbColour(255, 255, 255)});
    });
    EXPECT_NE(before, after);  // white XOR white is black; NOT-XOR of black ink on white is black
}

INSTANTIATE_TEST_SUITE_P(Modes, RasterOpTest, ::testing::Values(RasterOp::Xor, RasterOp::Invert));

TEST(QtCanvas, NotXorOfTheInkColourMarksWhitePaperAndRestoresIt) {
    const auto line = [](Canvas& c) { c.drawLine({10, 50}, {190, 50}, Pen{0, 3}); };
    const QImage once = Render([&](Canvas& c) {
        c.setRasterOp(RasterOp::NotXor);
        line(c);
    });
    EXPECT_TRUE(DarkAt(once, 100, 50));
    const QImage twice = Render([&](Canvas& c) {
        c.setRasterOp(RasterOp::NotXor);
        line(c);
        line(c);
    });
    EXPECT_EQ(twice, Render([](Canvas&) {}));
}

TEST(QtCanvas, ClipKeepsDrawingInsideTheBoxUntilRemoved) {
    const QImage image = Render([](Canvas& c) {
        c.setClip(Box{0, 0, 99, 99});
        c.drawRect({10, 10, 190, 40}, ShapeStyle{std::nullopt, 0});
        c.setClip(std::nullopt);
        c.drawRect({10, 60, 190, 90}, ShapeStyle{std::nullopt, 0});
    });
    EXPECT_TRUE(DarkAt(image, 50, 25));
    EXPECT_FALSE(DarkAt(image, 150, 25));
    EXPECT_TRUE(DarkAt(image, 150, 75));
}

// A black notehead is 1.18 staff spaces wide in Bravura and sits centred on its baseline.
TEST(QtCanvas, NoteheadGlyphSitsOnItsOriginWithTheFontsWidth) {
    const QImage image = Render([](Canvas& c) { c.drawGlyphs({60, 50}, U"\uE0A4", kBravura, 0); });
    const Box dark = DarkBox(image);
    ASSERT_LE(dark.left, dark.right) << "nothing drawn";
    EXPECT_NEAR(dark.left, 60, 1.5);
    EXPECT_NEAR(dark.right - dark.left + 1, 1.18 * 20, 1.5);
    EXPECT_NEAR((dark.bottom + dark.top) / 2.0, 50, 1.5);
    EXPECT_NEAR(dark.top - dark.bottom + 1, 20, 2.5);  // one staff space high

    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtCanvas canvas(painter, CanvasKind::Image);
    const TextExtent extent = canvas.measureGlyphs(U"\uE0A4", kBravura);
    EXPECT_NEAR(extent.width, 1.18 * 20, 0.6);
    EXPECT_EQ(canvas.measureGlyphs(U"\uE0A4\uE0A4", kBravura).width, static_cast<int>(std::lround(2 * 1.18 * 20)));
    EXPECT_GT(extent.ascent, 0);
}

TEST(QtCanvas, GlyphsAdvanceByTheirOwnWidthsAndSkipMissingCodePoints) {
    const QImage one = Render([](Canvas& c) { c.drawGlyphs({20, 50}, U"\uE0A4", kBravura, 0); });
    const QImage two = Render([](Canvas& c) { c.drawGlyphs({20, 50}, U"\uE0A4\uE0A4", kBravura, 0); });
    const QImage gap = Render([](Canvas& c) { c.drawGlyphs({20, 50}, U"\uE0A4\U0010FFFD", kBravura, 0); });
    EXPECT_NEAR(DarkBox(two).right - DarkBox(one).right, 23.6, 1.5);
    EXPECT_EQ(gap, one);
}

TEST(QtCanvas, GlyphsNeedTheirFontAndDrawNothingWithoutIt) {
    const GlyphFont missing{"No Such Music Font", "/nonexistent/font.otf", 80.0, 0};
    const QImage image = Render([&](Canvas& c) {
        c.drawGlyphs({20, 50}, U"\uE0A4", missing, 0);
        EXPECT_EQ(c.measureGlyphs(U"\uE0A4", missing).width, 0);
    });
    EXPECT_GT(DarkBox(image).left, DarkBox(image).right);
}

TEST(QtCanvas, EscapementTurnsGlyphsAndTextCounterClockwise) {
    GlyphFont turned = kBravura;
    turned.escapement = 900;
    const QImage image = Render([&](Canvas& c) { c.drawGlyphs({100, 20}, U"\uE0A4\uE0A4\uE0A4", turned, 0); });
    const Box dark = DarkBox(image);
    EXPECT_GT(dark.top - dark.bottom, 60);  // the run goes up the page
    EXPECT_LT(dark.right - dark.left, 25);
    EXPECT_NEAR(dark.bottom, 20, 1.5);

    const QImage text = Render([](Canvas& c) {
        c.drawText({100, 10}, "Allemande", TextFont{"Arial", 20, 400, false, 900, 0}, 0);
    });
    const Box written = DarkBox(text);
    EXPECT_GT(written.top - written.bottom, 2 * (written.right - written.left));
    EXPECT_LE(written.right, 101);  // the tops of the letters point left, away from the baseline
}

TEST(QtCanvas, TextFacesAreReplacedByTheirMetricTwins) {
    EXPECT_EQ(SubstituteTextFace("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(SubstituteTextFace("Arial"), "Liberation Sans");
    EXPECT_EQ(SubstituteTextFace("Courier New"), "Liberation Mono");
    EXPECT_EQ(SubstituteTextFace("Orvelin Texte 3"), "Liberation Sans");
    EXPECT_EQ(SubstituteTextFace(""), "Liberation Sans");
}

TEST(QtCanvas, TextIsMeasuredAndDrawnOnItsBaselineInLogicalUnits) {
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
    EXPECT_GE(dark.bottom, 29);           // nothing in "Allemande" hangs below the baseline …
    EXPECT_NEAR(dark.top, 30 + 28, 4);    // … and the capital rises about 0.66 em above it
    EXPECT_GT(extent.ascent, 30);
    EXPECT_GT(extent.descent, 5);

    // Measured at 96 dpi, the width in logical units stays close.
    const QImage small = RenderImage({0, 0, 400, 100}, 96, [&](Canvas& c) {
        EXPECT_NEAR(c.measureText("Allemande", font).width, extent.width, extent.width / 10);
    });
    EXPECT_FALSE(small.isNull());
}

TEST(QtCanvas, OpaqueTextFillsItsCell) {
    const QImage image = RenderImage({0, 0, 400, 100}, kDpi, [](Canvas& c) {
        c.drawText({10, 30}, "a", TextFont{"Arial", 40}, RgbColour(255, 255, 255), RgbColour(0, 0, 0));
    });
    EXPECT_TRUE(DarkAt(image, 12, 28));  // the cell is filled where the glyph leaves paper
    EXPECT_FALSE(DarkAt(image, 60, 28));
}

class PictureFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("qt_canvas_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
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
    std::filesystem::path dir_;
};

TEST_F(PictureFileTest, SvgHoldsTheDrawingInMillimetres) {
    const auto path = dir_ / "page.svg";
    ASSERT_TRUE(WriteSvgFile(path, {0, 0, 2000, 1000}, Scene));
    const QByteArray svg = Read(path);
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("width=\"200mm\""));
    EXPECT_TRUE(svg.contains("height=\"100mm\""));
    EXPECT_TRUE(svg.contains("Allegro"));
    EXPECT_TRUE(svg.contains("Liberation Serif"));
    EXPECT_TRUE(svg.contains("points=\"100,500 1900,500 \""));  // the line in logical units, flipped by a transform
    EXPECT_TRUE(svg.contains("matrix(1,0,0,-1,0,1000)"));
    // The clef as its outline, since readers of the file need not have the music font: curves placed at its
    // origin, (200, 1000 − 480) in the file's downward y.
    EXPECT_TRUE(svg.contains("matrix(1,0,0,1,200,520)"));
    EXPECT_TRUE(svg.contains("<path"));
    EXPECT_TRUE(svg.contains(" C"));
}

TEST_F(PictureFileTest, PdfIsWrittenAsOnePageOfTheAreasSize) {
    const auto path = dir_ / "page.pdf";
    ASSERT_TRUE(WritePdfFile(path, {0, 0, 2100, 2970}, Scene));
    const QByteArray pdf = Read(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595"));  // A4 in points
}

TEST_F(PictureFileTest, UnwritableFilesAreReportedAndNothingIsLeftBehind) {
    EXPECT_FALSE(WriteSvgFile(dir_ / "missing" / "page.svg", {0, 0, 100, 100}, Scene));
    EXPECT_FALSE(WritePdfFile(dir_ / "missing" / "page.pdf", {0, 0, 100, 100}, Scene));
    EXPECT_FALSE(WritePngFile(dir_ / "missing" / "page.png", Render(Scene)));
    EXPECT_FALSE(WriteSvgFile(dir_ / "empty.svg", {0, 0, 0, 100}, Scene));
    EXPECT_TRUE(RenderImage({0, 0, 100, 100}, 0, Scene).isNull());
    EXPECT_TRUE(RenderImage({0, 0, 1000000, 1000000}, 1200, Scene).isNull());
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(PictureFileTest, PngRoundTripsTheImage) {
    const QImage image = Render(Scene);
    const auto path = dir_ / "page.png";
    ASSERT_TRUE(WritePngFile(path, image));
    QImage back(QString::fromStdString(path.string()));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
}

}  // namespace
}  // namespace notavera
