// notavera-cli export-pdf and export-svg: every page of a document (or a range of them), drawn whole by the same
// pass as printing, as one PDF file or as one SVG file a page.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "cli_ui.h"
#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "platform/message_ids.h"
#include "platform/messages.h"
#include "render/page_range_pass.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#ifdef NOTAVERA_CLI_QT
#include "qt_picture_output.h"
#endif

namespace notavera::cli {
namespace {

struct ExportRequest {
    std::string document;
    std::string out;
    std::optional<int> from;
    std::optional<int> to;
};

int UsageError(const char* usage, const std::string& problem) {
    std::fprintf(stderr, "%s\nusage : notavera-cli %s\n", problem.c_str(), usage);
    return 2;
}

std::optional<int> PageArg(const std::string& text) {
    int value = 0;
    const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || at != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
}

std::optional<int> Parse(const Args& args, const char* usage, ExportRequest& r) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--from" || a == "--to") {
            const auto page = i + 1 < args.size() ? PageArg(args[++i]) : std::nullopt;
            if (!page) return UsageError(usage, "Numéro de page incorrect");
            (a == "--from" ? r.from : r.to) = page;
        } else if (a.starts_with("--")) {
            return UsageError(usage, "Argument inattendu : " + a);
        } else if (r.document.empty()) {
            r.document = a;
        } else if (r.out.empty()) {
            r.out = a;
        } else {
            return UsageError(usage, "Argument inattendu : " + a);
        }
    }
    if (r.document.empty()) return UsageError(usage, "Nom du fichier manquant");
    if (r.out.empty()) return UsageError(usage, "Nom de la sortie manquant");
    return std::nullopt;
}

// The pages asked for, within the score; nothing (told on stderr) when the range holds none of them.
std::optional<PageRange> RangeOf(const ExportRequest& r, int pageCount) {
    const PageRange range{r.from.value_or(1), r.to.value_or(pageCount), 1};
    if (range.from > range.to || range.to > pageCount) {
        std::fprintf(stderr, "Pages %d à %d inexistantes : le document a %d page(s)\n", range.from, range.to,
                     pageCount);
        return std::nullopt;
    }
    return range;
}

enum class PagesFormat { Pdf, Svg };

int ExportPages(PagesFormat format, const Args& args, const char* usage) {
    ExportRequest request;
    if (const auto usageError = Parse(args, usage, request)) return *usageError;
    CliUi ui(stderr);
    EditorContext ctx(ui);
    int status = 1;
    if (InspectDocument(ctx.doc, ctx.ui, request.document) == FileOk) {
        if (const auto range = RangeOf(request, ctx.doc.pageCount)) {
#ifdef NOTAVERA_CLI_QT
            const std::string title = std::filesystem::path(request.document).filename().string();
            std::string failedFile = request.out;
            const bool written = format == PagesFormat::Pdf
                                     ? WritePdfPages(request.out, title,
                                                     [&](PageCanvasFactory& pages) {
                                                         return DrawPageRange(ctx.doc, ctx.ui, *range, pages, {});
                                                     })
                                     : WriteSvgPages(request.out, failedFile, [&](PageCanvasFactory& pages) {
                                           return DrawPageRange(ctx.doc, ctx.ui, *range, pages, {});
                                       });
            if (written) status = 0;
            else ShowError(ctx.ui, msg::cannotWrite, &failedFile);
#else
            (void)format;
            std::fprintf(stderr, "Format non disponible sans l'interface graphique\n");
#endif
        }
    }
    DeleteWorkFiles(ctx.doc);
    return status;
}

}  // namespace

int RunExportPdf(const Args& args) {
    return ExportPages(PagesFormat::Pdf, args, "export-pdf DOC SORTIE.pdf [--from P] [--to Q]");
}

int RunExportSvg(const Args& args) {
    return ExportPages(PagesFormat::Svg, args, "export-svg DOC DOSSIER [--from P] [--to Q]");
}

}  // namespace notavera::cli
