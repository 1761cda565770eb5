// The picture files notavera-cli writes through Qt (PNG, SVG, PDF); built only with the Qt platform layer.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/clipboard.h"

namespace notavera::cli {

enum class QtPictureFormat { Png, Svg, Pdf };

// Draws `area` (logical units) with `draw` into the file: a PNG image at `dpi`, an SVG or a one-page PDF of the
// area's size. Runs without a display. False when the file cannot be made or written.
bool WriteQtPicture(QtPictureFormat format, const std::filesystem::path& path, Box area, double dpi,
                    const std::function<void(Canvas&)>& draw);

// The SVG or PNG form of a clipboard picture, for the batch clipboard; nothing for another form.
std::optional<std::vector<std::uint8_t>> QtClipboardForm(const std::string& mime, const ClipboardPicture& picture);

}  // namespace notavera::cli
