// notavera-cli export-midi: writes a document (or one voice, or a range of pages) as a Standard MIDI File.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli_ui.h"
#include "commands.h"
#include "midi/score_to_midi.h"
#include "platform/headless/headless_ui.h"
#include "platform/message_ids.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera::cli {

namespace {

struct ExportOptions {
    std::string document;
    std::string output;
    bool voice = false;
    std::optional<int> fromPage;
    std::optional<int> toPage;
};

std::optional<int> pageNumber(const std::string& text) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < 1 || n > 255) return std::nullopt;
    return static_cast<int>(n);
}

std::optional<ExportOptions> parse(const Args& args) {
    ExportOptions o;
    int positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--voice") {
            o.voice = true;
        } else if (a == "--from-page" || a == "--to-page") {
            if (i + 1 >= args.size()) return std::nullopt;
            const auto n = pageNumber(args[++i]);
            if (!n) return std::nullopt;
            (a == "--from-page" ? o.fromPage : o.toPage) = n;
        } else if (positional == 0) {
            o.document = a;
            ++positional;
        } else if (positional == 1) {
            o.output = a;
            ++positional;
        } else {
            return std::nullopt;
        }
    }
    if (positional != 2) return std::nullopt;
    return o;
}

}  // namespace

int RunExportMidi(const Args& args) {
    const auto options = parse(args);
    if (!options) {
        std::fputs("usage: notavera-cli export-midi DOC OUT.mid [--voice] [--from-page P] [--to-page Q]\n", stderr);
        return 2;
    }
    CliUi ui(stderr);
    EditorContext ctx(ui);
    if (InspectDocument(ctx.doc, ctx.ui, options->document) != FileOk) return 1;
    // The export starts on the first staff of its first page (page 1 unless asked), whatever page the
    // document was saved on.
    const int from = std::min(options->fromPage.value_or(1), ctx.doc.pageCount);
    int status = MoveWindowTo(ctx.doc, ctx.ui, from) == FileOk ? 0 : 1;
    if (status == 0) {
        const int last = std::min(options->toPage.value_or(ctx.doc.pageCount), ctx.doc.pageCount);
        if (!WriteScoreMidi(ctx.doc, ctx.ui, options->output, options->voice ? -last : last)) {
            ShowError(ctx.ui, msg::cannotWrite, &options->output);
            status = 1;
        }
    }
    DeleteWorkFiles(ctx.doc);
    return status;
}

}  // namespace notavera::cli
