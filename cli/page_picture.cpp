// One page of the open document as a picture file, in the format its name asks for.
#include "page_picture.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "platform/headless/recording_canvas.h"
#include "platform/message_ids.h"
#include "render/metafile_export.h"
#include "render/page_pass.h"
#include "render/page_sheet.h"
#include "score/mus_file.h"
#include "shell/continuous_view.h"
#include "shell/marker_drawing.h"
#ifdef NOTAVERA_CLI_QT
#include "qt_picture_output.h"
#endif

namespace notavera::cli {

namespace {

Box Zoomed(const DrawingContext& dc, Box b) {
    return {dc.toDevice(b.left), dc.toDevice(b.bottom), dc.toDevice(b.right), dc.toDevice(b.top)};
}

// Written beside the target, then renamed over it, so that a failed write leaves no half file.
bool WriteFileSafely(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !file.flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) std::filesystem::remove(temporary, error);
    return !error;
}

// One call a line, in drawing order.
std::string CallsAsJson(const nlohmann::json& calls) {
    std::string text = "[\n";
    for (std::size_t i = 0; i < calls.size(); ++i) text += calls[i].dump() + (i + 1 < calls.size() ? ",\n" : "\n");
    return text + "]\n";
}

bool WritePicture(EditorContext& ctx, DrawingContext& dc, const PictureRequest& r, Box area) {
    const Box zoomed = Zoomed(dc, area);
    auto draw = [&](Canvas& canvas) {
        dc.canvas = &canvas;
        DrawPage(dc, ctx.doc, WindowDrawOptions(ctx));
        if (r.markers) DrawMarkers(dc, ctx);
        dc.canvas = nullptr;
    };
    switch (r.format) {
    case OutputFormat::Json: {
        RecordingCanvas canvas(CanvasKind::Recording, static_cast<int>(r.dpi));
        canvas.setWindowOrigin({zoomed.left, zoomed.bottom});
        draw(canvas);
        return WriteFileSafely(r.out, CallsAsJson(canvas.calls()));
    }
    case OutputFormat::Wmf: {
        RecordingCanvas measuring(CanvasKind::Screen, static_cast<int>(r.dpi));
        const MetafileExport exported =
            ExportMetafile(dc, ctx.doc, {zoomed.left, zoomed.bottom, zoomed.right, zoomed.top}, measuring);
        return exported.picture->save(r.out);
    }
#ifdef NOTAVERA_CLI_QT
    case OutputFormat::Png: return WriteQtPicture(QtPictureFormat::Png, r.out, zoomed, r.dpi, draw);
    case OutputFormat::Svg: return WriteQtPicture(QtPictureFormat::Svg, r.out, zoomed, r.dpi, draw);
    case OutputFormat::Pdf: return WriteQtPicture(QtPictureFormat::Pdf, r.out, zoomed, r.dpi, draw);
#else
    default: return false;
#endif
    }
    return false;
}

}  // namespace

std::optional<OutputFormat> FormatOf(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".png") return OutputFormat::Png;
    if (ext == ".svg") return OutputFormat::Svg;
    if (ext == ".pdf") return OutputFormat::Pdf;
    if (ext == ".wmf") return OutputFormat::Wmf;
    if (ext == ".json") return OutputFormat::Json;
    return std::nullopt;
}

bool FormatAvailable(OutputFormat format) {
#ifdef NOTAVERA_CLI_QT
    (void)format;
    return true;
#else
    return format == OutputFormat::Wmf || format == OutputFormat::Json;
#endif
}

int WritePagePicture(EditorContext& ctx, const PictureRequest& r) {
    if (r.page < 1 || r.page > ctx.doc.pageCount) {
        std::fprintf(stderr, "Page %d inexistante : le document a %d page(s)\n", r.page, ctx.doc.pageCount);
        return 1;
    }
    // Going to a page starts on its first staff: the page already current keeps its staff, element and markers.
    if (r.page != ctx.doc.currentPage && MoveWindowTo(ctx.doc, ctx.ui, r.page) != FileOk) return 1;

    DrawingContext dc;
    dc.metafiles = ctx.ui.metafilePlayer();
    ApplyZoom(dc, r.zoom);
    const Box area = r.region.value_or(PageArea(ctx.doc, r.page));
    // Everything in the picture counts as shown, so that running texts anchored in it are drawn.
    dc.visibleRegion = {area.left, area.bottom, area.right, area.top};
    if (WritePicture(ctx, dc, r, area)) return 0;
    ShowError(ctx.ui, msg::cannotWrite, &r.out);
    return 1;
}

}  // namespace notavera::cli
