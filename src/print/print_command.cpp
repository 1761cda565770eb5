// "Imprimer": the print dialog, the chosen pages drawn whole by the page-range pass onto the printer, and the
// result told in a box.
#include "print/print_command.h"

#include <algorithm>
#include <filesystem>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "render/page_range_pass.h"
#include "render/page_sheet.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

PageRange RangeOf(const PrintChoice& choice, int current, int pageCount) {
    switch (choice.range) {
        case PrintRange::All: return {1, pageCount, choice.copies};
        case PrintRange::Selection: return {current, current, choice.copies};
        case PrintRange::Pages: break;
    }
    const int from = std::clamp(choice.from, 1, pageCount);
    return {from, std::clamp(choice.to, from, pageCount), choice.copies};
}

std::string JobTitle(const ScoreDocument& doc) {
    return doc.storage.path.empty() ? std::string(untitledName) : doc.storage.path.filename().string();
}

}  // namespace

int RunPrint(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (doc.pageCount < 1 || doc.page() == nullptr) return msg::printerFailed;
    const PrintDialogResult dialog =
        ctx.ui.printDialog({doc.currentPage, doc.pageCount, SheetBox(doc, doc.currentPage)});
    if (!dialog.choice) return dialog.failed ? msg::printerFailed : msg::cancelled;
    std::unique_ptr<PrintJob> job = ctx.ui.startPrintJob(JobTitle(doc));
    if (!job) return msg::printerFailed;
    const PageRange range = RangeOf(*dialog.choice, doc.currentPage, doc.pageCount);
    const PageRangeResult result = DrawPageRange(doc, ctx.ui, range, *job, [&job] { return job->cancelled(); });
    if (result != PageRangeResult::Done) {
        job->finish(true);
        return result == PageRangeResult::Cancelled ? msg::cancelled : msg::printerFailed;
    }
    return job->finish(false) ? 0 : msg::printerFailed;
}

void ExportPdfFile(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (doc.pageCount < 1) return;
    std::filesystem::path proposed = doc.storage.path;
    if (!proposed.empty()) proposed.replace_extension(".pdf");
    const auto chosen = ctx.ui.saveFileName({"Exporter PDF", proposed.string(), {{"Fichiers PDF (*.PDF)", "*.PDF"}}});
    if (!chosen || chosen->empty()) return;
    ctx.ui.setWaitCursor(true);
    std::unique_ptr<PrintJob> file = ctx.ui.startPdfFile(*chosen, JobTitle(doc));
    bool written = false;
    if (file) {
        const PageRangeResult result =
            DrawPageRange(doc, ctx.ui, {1, doc.pageCount, 1}, *file, [&file] { return file->cancelled(); });
        written = file->finish(result != PageRangeResult::Done) && result == PageRangeResult::Done;
    }
    ctx.ui.setWaitCursor(false);
    if (!written) ShowError(ctx.ui, msg::cannotWrite, &*chosen);
}

void RegisterPrintCommand(CommandRegistry& registry) {
    registry.addCommand(cmd::ExportPdf, [](EditorContext& ctx, int) { ExportPdfFile(ctx); });
    registry.addCommand(cmd::Print, [](EditorContext& ctx, int) {
        const int message = RunPrint(ctx);
        if (message == 0) return;
        ctx.ui.showMessage({"Notavera", message, std::string(MessageText(message)), MessageIcon::Exclamation});
        ctx.ui.invalidate();
    });
}

}  // namespace notavera
