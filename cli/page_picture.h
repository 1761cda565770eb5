// One page of the open document (or a region of it) written as a picture file: PNG, SVG or PDF through Qt, a
// Windows metafile, or the JSON list of the drawing calls. Shared by render and script.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/canvas.h"
#include "render/zoom.h"
#include "shell/editor_context.h"

namespace notavera::cli {

inline constexpr double defaultDpi = 96.0;

enum class OutputFormat { Png, Svg, Pdf, Wmf, Json };

// The format named by the file's extension (any case); nothing for an unknown one.
std::optional<OutputFormat> FormatOf(const std::string& path);
// PNG, SVG and PDF are drawn by Qt and exist only in a build with it.
bool FormatAvailable(OutputFormat format);

struct PictureRequest {
    std::string out;
    OutputFormat format = OutputFormat::Png;
    int page = 1;
    ZoomFraction zoom;
    double dpi = defaultDpi;
    std::optional<Box> region;  // page units; the whole page without one
    bool markers = false;       // the editor's markers and insertion cursor over the page, as the window shows it
};

// Draws the page into the file; the page becomes the current one (a page already current keeps its staff and
// element). 0 on success; 1 when the page does not exist (told on stderr) or the file cannot be written (message 2).
int WritePagePicture(EditorContext& ctx, const PictureRequest& request);

}  // namespace notavera::cli
