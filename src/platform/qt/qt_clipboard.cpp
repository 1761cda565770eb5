// Pictures on the Qt clipboard.
#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <memory>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_picture_files.h"

namespace notavera {
namespace {

// Sharp enough to paste into a document at print size, small enough for the clipboard.
constexpr double clipboardDpi = 150.0;

std::vector<std::uint8_t> Bytes(const QByteArray& a) { return {a.begin(), a.end()}; }
QByteArray Array(const std::vector<std::uint8_t>& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

}  // namespace

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

}  // namespace notavera
