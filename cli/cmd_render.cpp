// notavera-cli render: one page of a document (or a region of it) as a PNG, SVG or PDF picture, a Windows
// metafile, or the JSON list of the drawing calls the page makes.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/recording_canvas.h"
#include "render/metafile_export.h"
#include "render/page_pass.h"
#include "render/page_sheet.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#ifdef NOTAVERA_CLI_QT
#include "qt_picture_output.h"
#endif

namespace notavera::cli {
namespace {

constexpr const char* RenderUsage =
    "usage : notavera-cli render FICHIER.mus --page N --out SORTIE.png|svg|pdf|wmf|json [--zoom N/D] [--dpi D] "
    "[--region x0,y0,x1,y1]\n";
constexpr double DefaultDpi = 96.0;
constexpr double MaxDpi = 2400.0;

enum class OutputFormat { Png, Svg, Pdf, Wmf, Json };

struct RenderRequest {
    std::string document;
    std::string out;
    OutputFormat format = OutputFormat::Png;
    int page = 1;
    ZoomFraction zoom;
    double dpi = DefaultDpi;
    std::optional<Box> region;  // page units
};

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "%s\n%s", problem.c_str(), RenderUsage);
    return 2;
}

bool ParseInt(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end;
}

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

// "N/D", each term 1–99 as the "Fraction" dialog takes it.
std::optional<ZoomFraction> ParseZoom(std::string_view text) {
    const std::size_t slash = text.find('/');
    int num = 0, den = 0;
    if (slash == std::string_view::npos || !ParseInt(text.substr(0, slash), num) ||
        !ParseInt(text.substr(slash + 1), den) || num < 1 || num > 99 || den < 1 || den > 99)
        return std::nullopt;
    return ZoomFraction{num, den};
}

// "x0,y0,x1,y1" in page units, any two opposite corners of a box that is not empty.
std::optional<Box> ParseRegion(std::string_view text) {
    std::vector<int> values;
    for (;;) {
        const std::size_t comma = text.find(',');
        int v = 0;
        if (!ParseInt(text.substr(0, comma), v)) return std::nullopt;
        values.push_back(v);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (values.size() != 4) return std::nullopt;
    const Box box{std::min(values[0], values[2]), std::min(values[1], values[3]), std::max(values[0], values[2]),
                  std::max(values[1], values[3])};
    if (box.left == box.right || box.bottom == box.top) return std::nullopt;
    return box;
}

std::optional<double> ParseDpi(std::string_view text) {
    int dpi = 0;
    if (!ParseInt(text, dpi) || dpi < 1 || dpi > MaxDpi) return std::nullopt;
    return dpi;
}

// Reads the arguments; a usage error is reported and its status returned.
std::optional<int> ParseArgs(const Args& args, RenderRequest& r) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--page") {
            if (!hasValue || !ParseInt(args[++i], r.page)) return UsageError("Numéro de page incorrect");
        } else if (a == "--out") {
            if (!hasValue) return UsageError("Nom du fichier de sortie manquant");
            r.out = args[++i];
        } else if (a == "--zoom") {
            const auto zoom = hasValue ? ParseZoom(args[++i]) : std::nullopt;
            if (!zoom) return UsageError("Zoom incorrect (N/D, de 1 à 99)");
            r.zoom = *zoom;
        } else if (a == "--dpi") {
            const auto dpi = hasValue ? ParseDpi(args[++i]) : std::nullopt;
            if (!dpi) return UsageError("Résolution incorrecte (1 à 2400 dpi)");
            r.dpi = *dpi;
        } else if (a == "--region") {
            r.region = hasValue ? ParseRegion(args[++i]) : std::nullopt;
            if (!r.region) return UsageError("Région incorrecte (x0,y0,x1,y1 en dixièmes de millimètre)");
        } else if (a.starts_with("--") || !r.document.empty()) {
            return UsageError("Argument inattendu : " + a);
        } else {
            r.document = a;
        }
    }
    if (r.document.empty()) return UsageError("Nom du fichier manquant");
    if (r.out.empty()) return UsageError("Nom du fichier de sortie manquant");
    const auto format = FormatOf(r.out);
    if (!format) return UsageError("Format de sortie inconnu : " + r.out);
    r.format = *format;
#ifndef NOTAVERA_CLI_QT
    if (r.format == OutputFormat::Png || r.format == OutputFormat::Svg || r.format == OutputFormat::Pdf)
        return UsageError("Format non disponible sans l'interface graphique : " + r.out);
#endif
    return std::nullopt;
}

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

bool WritePicture(EditorContext& ctx, DrawingContext& dc, const RenderRequest& r, Box area) {
    const Box zoomed = Zoomed(dc, area);
    auto draw = [&](Canvas& canvas) {
        dc.canvas = &canvas;
        DrawPage(dc, ctx.doc);
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

int RenderDocument(EditorContext& ctx, const RenderRequest& r) {
    if (ReadDocument(ctx, r.document) != FileOk) return 1;
    if (r.page < 1 || r.page > ctx.doc.pageCount) {
        std::fprintf(stderr, "Page %d inexistante : le document a %d page(s)\n", r.page, ctx.doc.pageCount);
        return 1;
    }
    if (MoveWindowTo(ctx, r.page) != FileOk) return 1;

    DrawingContext dc;
    ApplyZoom(dc, r.zoom);
    const Box area = r.region.value_or(PageArea(ctx.doc, r.page));
    // Everything in the picture counts as shown, so that running texts anchored in it are drawn.
    dc.visibleRegion = {area.left, area.bottom, area.right, area.top};
    if (WritePicture(ctx, dc, r, area)) return 0;
    ShowError(ctx.ui, 2, &r.out);  // "Impossible d'écrire le fichier %s"
    return 1;
}

}  // namespace

int RunRender(const Args& args) {
    RenderRequest request;
    if (const auto usage = ParseArgs(args, request)) return *usage;
    HeadlessUi ui(stderr);
    EditorContext ctx(ui);
    const int status = RenderDocument(ctx, request);
    DeleteWorkFiles(ctx);
    return status;
}

}  // namespace notavera::cli
