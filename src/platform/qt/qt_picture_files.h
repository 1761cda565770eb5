// Drawing a region of the page into an image at a chosen resolution, or into SVG and PDF files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <functional>

#include "platform/canvas.h"

namespace notavera {

using DrawOnCanvas = std::function<void(Canvas&)>;

// A white image of `area` (logical units, its bottom-left corner at the image's bottom-left) at `dpi` pixels
// per inch, drawn by `draw`. A null image when the area is empty or too large to allocate.
QImage RenderImage(Box area, double dpi, const DrawOnCanvas& draw);

// The area as an SVG file one logical unit to the user unit, its size in millimetres, or as a one-page PDF file
// of the area's size. The file is replaced only once complete; false when it cannot be written.
bool WriteSvgFile(const std::filesystem::path& path, Box area, const DrawOnCanvas& draw);
bool WritePdfFile(const std::filesystem::path& path, Box area, const DrawOnCanvas& draw);
// The same pictures in memory, for the clipboard: empty when the area is empty or the drawing fails.
QByteArray SvgBytes(Box area, const DrawOnCanvas& draw);
QByteArray PngBytes(const QImage& image);
// The image as a PNG file, replaced only once complete; false when it cannot be written.
bool WritePngFile(const std::filesystem::path& path, const QImage& image);

}  // namespace notavera
