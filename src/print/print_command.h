// "Imprimer": the print dialog, the chosen pages drawn whole by the page-range pass onto the printer, and the
// result told in a box.
#pragma once

namespace notavera {

struct EditorContext;
class CommandRegistry;

// Prints as the user chooses: 0, or the message to show: 32 when no printer answers or a page fails, 40 when the
// user cancelled the dialog or the job. The page, staff and element current before come back.
int RunPrint(EditorContext& ctx);

// "Exporter PDF…": every page, drawn as for printing, into one PDF file the user names. A file that cannot be
// written is told with the disk message and nothing is left of it.
void ExportPdfFile(EditorContext& ctx);

// The menu commands: "Exporter PDF…", and RunPrint, then its message in a box titled "Notavera".
void RegisterPrintCommand(CommandRegistry& registry);

}  // namespace notavera
