// A clipboard that keeps its contents in memory.
#include "platform/headless/headless_clipboard.h"

#include "platform/headless/recording_canvas.h"

namespace notavera {

void HeadlessClipboard::setPicture(const ClipboardPicture& picture) {
    contents_.clear();
    // Measured with the font files, as the recording canvas measures for every batch drawing.
    RecordingCanvas measuring(CanvasKind::Screen, 96);
    if (picture.metafile) contents_[wmfMime] = picture.metafile(measuring);
    if (!renderer_) return;
    for (const char* mime : {svgMime, pngMime})
        if (auto bytes = renderer_(mime, picture)) contents_[mime] = std::move(*bytes);
}

void HeadlessClipboard::setPictureForm(const std::string& mime, std::vector<std::uint8_t> bytes) {
    contents_.clear();
    contents_[mime] = std::move(bytes);
}

namespace {
constexpr const char* textMime = "text/plain";
}

std::optional<std::string> HeadlessClipboard::text() const {
    const auto it = contents_.find(textMime);
    if (it == contents_.end()) return std::nullopt;
    return std::string(it->second.begin(), it->second.end());
}

void HeadlessClipboard::setText(const std::string& utf8) {
    contents_.clear();
    contents_[textMime] = std::vector<std::uint8_t>(utf8.begin(), utf8.end());
}

}  // namespace notavera
