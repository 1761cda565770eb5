// The picture files notavera-cli writes through Qt (PNG, SVG, PDF); built only with the Qt platform layer.
#pragma once

#include <filesystem>
#include <functional>

#include "platform/canvas.h"

namespace notavera::cli {

enum class QtPictureFormat { Png, Svg, Pdf };

// Draws `area` (logical units) with `draw` into the file: a PNG image at `dpi`, an SVG or a one-page PDF of the
// area's size. Runs without a display. False when the file cannot be made or written.
bool WriteQtPicture(QtPictureFormat format, const std::filesystem::path& path, Box area, double dpi,
                    const std::function<void(Canvas&)>& draw);

}  // namespace notavera::cli
