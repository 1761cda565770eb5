// The picture files notavera-cli writes through Qt (PNG, SVG, PDF); built only with the Qt platform layer.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/clipboard.h"
#include "platform/page_device.h"
#include "render/page_range_pass.h"

namespace notavera::cli {

enum class QtPictureFormat { Png, Svg, Pdf };

// Draws `area` (logical units) with `draw` into the file: a PNG image at `dpi`, an SVG or a one-page PDF of the
// area's size. Runs without a display. False when the file cannot be made or written.
bool WriteQtPicture(QtPictureFormat format, const std::filesystem::path& path, Box area, double dpi,
                    const std::function<void(Canvas&)>& draw);

// Pages drawn by `drawPages` into one PDF file at `path`, which appears only once complete. False when it cannot
// be made or a page fails.
using DrawPages = std::function<PageRangeResult(PageCanvasFactory&)>;
bool WritePdfPages(const std::filesystem::path& path, const std::string& title, const DrawPages& drawPages);
// Pages drawn by `drawPages` as page-NNN.svg files in `folder` (made when missing). False when a file cannot be
// written; `failed` then names it.
bool WriteSvgPages(const std::filesystem::path& folder, std::string& failed, const DrawPages& drawPages);

// A PDF file job for "Exporter PDF…" in scripts; null when the file cannot be made.
std::unique_ptr<PrintJob> OpenPdfJob(const std::string& path, const std::string& title);

// The SVG or PNG form of a clipboard picture, for the batch clipboard; nothing for another form.
std::optional<std::vector<std::uint8_t>> QtClipboardForm(const std::string& mime, const ClipboardPicture& picture);
// A picture another program put on the clipboard (SVG, PNG) as a metafile, for the batch clipboard.
std::optional<std::vector<std::uint8_t>> QtPictureMetafile(const std::string& mime, std::span<const std::uint8_t> bytes,
                                                           std::size_t maxBytes);

}  // namespace notavera::cli
