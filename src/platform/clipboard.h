// The system clipboard as the editor fills it: a picture of part of a page, offered in the forms other programs
// paste (SVG, PNG and the Windows metafile), each under its own MIME type.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
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

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces what the clipboard holds by the picture in every form this clipboard can make.
    virtual void setPicture(const ClipboardPicture& picture) = 0;
    // The plain text the clipboard holds (UTF-8); nothing when it holds none.
    virtual std::optional<std::string> text() const { return std::nullopt; }
    // Replaces what the clipboard holds by a plain text.
    virtual void setText(const std::string& utf8) { (void)utf8; }
};

}  // namespace notavera
