// Drawing a region of the page into an image at a chosen resolution, or into SVG and PDF files.
#include "platform/qt/qt_picture_files.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

#include "platform/qt/qt_canvas.h"

namespace notavera {
namespace {

constexpr double kLogicalPerInch = 254.0;
constexpr int kMaxPixels = 1 << 28;  // a quarter of a gigapixel: beyond it the image is refused, not attempted

int Width(Box area) { return std::abs(area.right - area.left); }
int Height(Box area) { return std::abs(area.top - area.bottom); }
Point BottomLeft(Box area) { return {std::min(area.left, area.right), std::min(area.bottom, area.top)}; }

QString FileName(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Draws with the canvas's window origin at the area's bottom-left corner.
bool Paint(QPaintDevice& device, CanvasKind kind, Box area, const DrawOnCanvas& draw) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    QtCanvas canvas(painter, kind);
    canvas.setWindowOrigin(BottomLeft(area));
    draw(canvas);
    return painter.end();
}

bool SaveBytes(const std::filesystem::path& path, const QByteArray& bytes) {
    QSaveFile file(FileName(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

QImage RenderImage(Box area, double dpi, const DrawOnCanvas& draw) {
    const double pixelsPerUnit = dpi / kLogicalPerInch;
    const double width = std::ceil(Width(area) * pixelsPerUnit), height = std::ceil(Height(area) * pixelsPerUnit);
    if (dpi <= 0 || width < 1 || height < 1 || width * height > kMaxPixels) return QImage();
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) return image;
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    if (!Paint(image, CanvasKind::Image, area, draw)) return QImage();
    return image;
}

QByteArray SvgBytes(Box area, const DrawOnCanvas& draw) {
    if (Width(area) < 1 || Height(area) < 1) return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(kLogicalPerInch));
    svg.setSize(QSize(Width(area), Height(area)));
    svg.setViewBox(QRect(0, 0, Width(area), Height(area)));
    if (!Paint(svg, CanvasKind::Svg, area, draw)) return {};
    return buffer.data();
}

bool WriteSvgFile(const std::filesystem::path& path, Box area, const DrawOnCanvas& draw) {
    const QByteArray bytes = SvgBytes(area, draw);
    return !bytes.isEmpty() && SaveBytes(path, bytes);
}

bool WritePdfFile(const std::filesystem::path& path, Box area, const DrawOnCanvas& draw) {
    if (Width(area) < 1 || Height(area) < 1) return false;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QSizeF(Width(area) / 10.0, Height(area) / 10.0), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!Paint(pdf, CanvasKind::Pdf, area, draw)) return false;
    }
    return SaveBytes(path, buffer.data());
}

QByteArray PngBytes(const QImage& image) {
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

bool WritePngFile(const std::filesystem::path& path, const QImage& image) {
    const QByteArray bytes = PngBytes(image);
    return !bytes.isEmpty() && SaveBytes(path, bytes);
}

}  // namespace notavera
