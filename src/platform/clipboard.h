// The system clipboard as the editor fills and reads it: a picture of part of a page, offered in the forms other
// programs paste (SVG, PNG and the Windows metafile), each under its own MIME type; and a picture pasted into the
// drawing layer, which keeps Windows metafiles only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace notavera {

inline constexpr const char* svgMime = "image/svg+xml";
inline constexpr const char* pngMime = "image/png";
inline constexpr const char* wmfMime = "image/x-wmf";

// A picture of `area` (logical units: page units at the view's zoom). `draw` paints it on any canvas whose window
// origin is the area's bottom-left corner. A Windows metafile is drawn in two passes, the first on a canvas that
// measures text as a screen does, which each clipboard supplies: `metafile` returns the file's bytes.
struct ClipboardPicture {
    Box area;
    std::function<void(Canvas&)> draw;
    std::function<std::vector<std::uint8_t>(Canvas& measuring)> metafile;
};

// What a clipboard holds: bytes by MIME type.
using ClipboardContents = std::map<std::string, std::vector<std::uint8_t>>;

// Turns a picture of another form (SVG, PNG) into a Windows metafile of at most `maxBytes`, drawn as coarsely as
// it must be to fit; nothing when the bytes cannot be read.
using PictureConverter = std::function<std::optional<std::vector<std::uint8_t>>(
    const std::string& mime, std::span<const std::uint8_t> bytes, std::size_t maxBytes)>;

// Whether `contents` hold a picture in a form a metafile can be made of.
bool HoldsPicture(const ClipboardContents& contents);
// The metafile of the picture `contents` hold: their own metafile when it fits, else the SVG or (failing that)
// the PNG form, converted. Nothing without a picture, or when none can be read or made to fit.
std::optional<std::vector<std::uint8_t>> MetafileOf(const ClipboardContents& contents, std::size_t maxBytes,
                                                    const PictureConverter& convert);

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces what the clipboard holds by the picture in every form this clipboard can make.
    virtual void setPicture(const ClipboardPicture& picture) = 0;
    // The plain text the clipboard holds (UTF-8); nothing when it holds none.
    virtual std::optional<std::string> text() const { return std::nullopt; }
    // Replaces what the clipboard holds by a plain text.
    virtual void setText(const std::string& utf8) { (void)utf8; }
    // Whether the clipboard holds a picture `metafile` can give.
    virtual bool holdsPicture() const { return false; }
    // The picture the clipboard holds as a metafile of at most `maxBytes` (see MetafileOf).
    virtual std::optional<std::vector<std::uint8_t>> metafile(std::size_t maxBytes) const {
        (void)maxBytes;
        return std::nullopt;
    }
};

}  // namespace notavera
