// Pictures on the Qt clipboard.
#include "platform/qt/qt_clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <memory>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_picture_files.h"
#include "platform/wmf_canvas.h"

namespace notavera {
namespace {

// Sharp enough to paste into a document at print size, small enough for the clipboard.
constexpr double clipboardDpi = 150.0;

std::vector<std::uint8_t> Bytes(const QByteArray& a) { return {a.begin(), a.end()}; }
QByteArray Array(const std::vector<std::uint8_t>& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

constexpr double tenthsPerInch = 254.0;
constexpr double cssPixelsPerInch = 96.0;   // SVG's unit, and a PNG's resolution when it gives none
constexpr double svgDrawingDpi = 300.0;     // an SVG is drawn this sharp when the metafile affords it
constexpr int largestSide = 4000;           // pixels, before fitting
constexpr int fittingAttempts = 12;

// A picture to turn into a bitmap: its printed size in tenths of a millimetre, its natural size in pixels, and how
// to draw it at any size.
struct PictureSource {
    QSizeF tenths;
    QSize pixels;
    std::function<QImage(QSize)> draw;
};

std::optional<PictureSource> PngSource(const QByteArray& bytes) {
    QImage image;
    if (!image.loadFromData(bytes, "PNG") || image.isNull()) return std::nullopt;
    const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : cssPixelsPerInch / 0.0254;
    const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : cssPixelsPerInch / 0.0254;
    return PictureSource{QSizeF(image.width() * 10000.0 / dpmX, image.height() * 10000.0 / dpmY), image.size(),
                         [image](QSize size) {
                             return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                         }};
}

// A length of the root element in tenths of a millimetre; nothing for a relative one (a percentage).
std::optional<double> SvgLength(QStringView text) {
    static const std::pair<const char*, double> units[] = {{"mm", 10.0},  {"cm", 100.0},        {"in", tenthsPerInch},
                                                           {"pt", tenthsPerInch / 72}, {"pc", tenthsPerInch / 6},
                                                           {"px", tenthsPerInch / cssPixelsPerInch}};
    double perUnit = tenthsPerInch / cssPixelsPerInch;  // a bare number counts in pixels
    QStringView number = text.trimmed();
    for (const auto& [unit, tenths] : units)
        if (number.endsWith(QLatin1StringView(unit))) {
            number.chop(2);
            perUnit = tenths;
        }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && value > 0 ? std::optional(value * perUnit) : std::nullopt;
}

// The printed size the picture gives itself. Qt's renderer counts physical units at 90 to the inch, so the root
// element's own width and height are read here; without them, its size in pixels.
QSizeF SvgPrintedSize(const QByteArray& bytes, QSizeF pixels) {
    QXmlStreamReader xml(bytes);
    if (xml.readNextStartElement() && xml.name() == QLatin1StringView("svg")) {
        const std::optional<double> width = SvgLength(xml.attributes().value("width"));
        const std::optional<double> height = SvgLength(xml.attributes().value("height"));
        if (width && height) return QSizeF(*width, *height);
    }
    return pixels * (tenthsPerInch / cssPixelsPerInch);
}

std::optional<PictureSource> SvgSource(const QByteArray& bytes) {
    auto renderer = std::make_shared<QSvgRenderer>(bytes);
    const QSizeF size = renderer->defaultSize();
    if (!renderer->isValid() || size.isEmpty()) return std::nullopt;
    const QSizeF tenths = SvgPrintedSize(bytes, size);
    const QSizeF pixels = tenths * (svgDrawingDpi / tenthsPerInch);
    return PictureSource{tenths, pixels.toSize().expandedTo(QSize(1, 1)),
                         [renderer](QSize at) {
                             QImage image(at, QImage::Format_ARGB32_Premultiplied);
                             image.fill(Qt::transparent);
                             QPainter painter(&image);
                             renderer->render(&painter);
                             return image;
                         }};
}

// The 256 colours most of the image is painted in, so that a logo's flat areas keep their exact colours and only
// the smoothed edges between them move to the nearest one.
QList<QRgb> MostUsedColours(const QImage& flat) {
    std::unordered_map<QRgb, int> uses;
    for (int y = 0; y < flat.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
        for (int x = 0; x < flat.width(); ++x) ++uses[row[x] | 0xFF000000u];
    }
    std::vector<std::pair<int, QRgb>> byUse;
    byUse.reserve(uses.size());
    for (const auto& [colour, count] : uses) byUse.emplace_back(count, colour);
    const std::size_t kept = std::min<std::size_t>(byUse.size(), 256);
    std::partial_sort(byUse.begin(), byUse.begin() + static_cast<std::ptrdiff_t>(kept), byUse.end(), std::greater<>());
    QList<QRgb> table;
    for (std::size_t i = 0; i < kept; ++i) table.push_back(byUse[i].second);
    return table;
}

// The image over white in at most 256 colours, as the canvas takes images; what is more than half transparent
// stays transparent.
Image PaletteImage(const QImage& drawn) {
    QImage flat(drawn.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, drawn);
    const QImage few =
        flat.convertToFormat(QImage::Format_Indexed8, MostUsedColours(flat), Qt::ThresholdDither)
            .convertToFormat(QImage::Format_ARGB32);
    Image image{few.width(), few.height(), {}};
    image.pixels.reserve(static_cast<std::size_t>(few.width()) * few.height());
    for (int y = 0; y < few.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(few.constScanLine(y));
        for (int x = 0; x < few.width(); ++x)
            image.pixels.push_back(qAlpha(drawn.pixel(x, y)) < 0x80 ? 0u : row[x]);
    }
    return image;
}

// Smaller and smaller bitmaps until the metafile fits: each try scales by the share of bytes that fit.
std::optional<std::vector<std::uint8_t>> FittedMetafile(const PictureSource& source, std::size_t maxBytes) {
    const int width = std::max(1, static_cast<int>(std::lround(source.tenths.width())));
    const int height = std::max(1, static_cast<int>(std::lround(source.tenths.height())));
    QSize size = source.pixels.scaled(QSize(largestSide, largestSide), Qt::KeepAspectRatio).boundedTo(source.pixels);
    for (int attempt = 0; attempt < fittingAttempts && !size.isEmpty(); ++attempt) {
        WmfCanvas canvas(width, height);
        canvas.drawImage({0, 0, width, height}, PaletteImage(source.draw(size)));
        std::vector<std::uint8_t> bytes = canvas.fileBytes();
        if (bytes.size() <= maxBytes) return bytes;
        const double share = std::sqrt(static_cast<double>(maxBytes) / static_cast<double>(bytes.size())) * 0.95;
        size = QSize(static_cast<int>(size.width() * share), static_cast<int>(size.height() * share));
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> PictureMetafile(const std::string& mime, std::span<const std::uint8_t> bytes,
                                                         std::size_t maxBytes) {
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    const std::optional<PictureSource> source = mime == svgMime   ? SvgSource(data)
                                                : mime == pngMime ? PngSource(data)
                                                                  : std::nullopt;
    if (!source) return std::nullopt;
    return FittedMetafile(*source, maxBytes);
}

std::optional<std::vector<std::uint8_t>> QtPictureForm(const std::string& mime, const ClipboardPicture& picture) {
    QByteArray bytes;
    if (mime == svgMime) bytes = SvgBytes(picture.area, picture.draw);
    if (mime == pngMime) bytes = PngBytes(RenderImage(picture.area, clipboardDpi, picture.draw));
    if (bytes.isEmpty()) return std::nullopt;
    return Bytes(bytes);
}

void QtClipboard::setPicture(const ClipboardPicture& picture) {
    auto data = std::make_unique<QMimeData>();
    for (const char* mime : {svgMime, pngMime})
        if (auto bytes = QtPictureForm(mime, picture)) data->setData(mime, Array(*bytes));
    if (picture.metafile) {
        // The metafile's first pass measures text as the screen does.
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter painter(&scratch);
        QtCanvas measuring(painter, CanvasKind::Screen);
        data->setData(wmfMime, Array(picture.metafile(measuring)));
    }
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setMimeData(data.release());
}

}  // namespace notavera

namespace notavera {

std::optional<std::string> QtClipboard::text() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

void QtClipboard::setText(const std::string& utf8) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
}

namespace {

// The picture forms the clipboard holds now.
ClipboardContents PictureForms() {
    ClipboardContents forms;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return forms;
    for (const char* mime : {wmfMime, svgMime, pngMime})
        if (data->hasFormat(mime)) forms[mime] = Bytes(data->data(mime));
    // Programs that copy an image without its file offer it as an image alone.
    if (!forms.contains(pngMime) && data->hasImage()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (qvariant_cast<QImage>(data->imageData()).save(&buffer, "PNG")) forms[pngMime] = Bytes(png);
    }
    return forms;
}

}  // namespace

bool QtClipboard::holdsPicture() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return false;
    return data->hasImage() || std::ranges::any_of(std::initializer_list<const char*>{wmfMime, svgMime, pngMime},
                                                   [data](const char* mime) { return data->hasFormat(mime); });
}

std::optional<std::vector<std::uint8_t>> QtClipboard::metafile(std::size_t maxBytes) const {
    return MetafileOf(PictureForms(), maxBytes, PictureMetafile);
}

}  // namespace notavera
