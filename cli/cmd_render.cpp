// notavera-cli render: one page of a document (or a region of it) as a PNG, SVG or PDF picture, a Windows
// metafile, or the JSON list of the drawing calls the page makes.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli_ui.h"
#include "commands.h"
#include "page_picture.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera::cli {
namespace {

constexpr const char* RenderUsage =
    "usage : notavera-cli render FICHIER.mus --page N --out SORTIE.png|svg|pdf|wmf|json [--zoom N/D] [--dpi D] "
    "[--region x0,y0,x1,y1]\n";
constexpr double MaxDpi = 2400.0;

struct RenderRequest {
    std::string document;
    PictureRequest picture;
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
            if (!hasValue || !ParseInt(args[++i], r.picture.page)) return UsageError("Numéro de page incorrect");
        } else if (a == "--out") {
            if (!hasValue) return UsageError("Nom du fichier de sortie manquant");
            r.picture.out = args[++i];
        } else if (a == "--zoom") {
            const auto zoom = hasValue ? ParseZoom(args[++i]) : std::nullopt;
            if (!zoom) return UsageError("Zoom incorrect (N/D, de 1 à 99)");
            r.picture.zoom = *zoom;
        } else if (a == "--dpi") {
            const auto dpi = hasValue ? ParseDpi(args[++i]) : std::nullopt;
            if (!dpi) return UsageError("Résolution incorrecte (1 à 2400 dpi)");
            r.picture.dpi = *dpi;
        } else if (a == "--region") {
            r.picture.region = hasValue ? ParseRegion(args[++i]) : std::nullopt;
            if (!r.picture.region) return UsageError("Région incorrecte (x0,y0,x1,y1 en dixièmes de millimètre)");
        } else if (a.starts_with("--") || !r.document.empty()) {
            return UsageError("Argument inattendu : " + a);
        } else {
            r.document = a;
        }
    }
    if (r.document.empty()) return UsageError("Nom du fichier manquant");
    PictureRequest& p = r.picture;
    if (p.out.empty()) return UsageError("Nom du fichier de sortie manquant");
    const auto format = FormatOf(p.out);
    if (!format) return UsageError("Format de sortie inconnu : " + p.out);
    p.format = *format;
    if (!FormatAvailable(p.format)) return UsageError("Format non disponible sans l'interface graphique : " + p.out);
    return std::nullopt;
}

int RenderDocument(EditorContext& ctx, const RenderRequest& r) {
    if (InspectDocument(ctx.doc, ctx.ui, r.document) != FileOk) return 1;
    return WritePagePicture(ctx, r.picture);
}

}  // namespace

int RunRender(const Args& args) {
    RenderRequest request;
    if (const auto usage = ParseArgs(args, request)) return *usage;
    CliUi ui(stderr);
    EditorContext ctx(ui);
    const int status = RenderDocument(ctx, request);
    DeleteWorkFiles(ctx.doc);
    return status;
}

}  // namespace notavera::cli
