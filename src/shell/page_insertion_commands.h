// Making pages from the menu: Insérer Page, and the page appended after the last one (by Page Suivante at the end
// of the score, or after the staff-layout dialog).
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

enum class AppendMode {
    FromModel,    // the new page takes the staves of the last page, without asking
    AfterDialog,  // the staff-layout dialog lays the new page out; cancelling it makes no page
};

// A new last page, made current and shown from its first staff. The window of pages in memory slides around it
// when it would hold more pages than it keeps. 0, with a beep and nothing changed, at 255 pages; 0 when the
// dialog is cancelled; 1 otherwise.
int AppendPage(EditorContext& ctx, AppendMode mode);

// Insérer Page: a page laid out in the staff-layout dialog after the current one, which the pages after it make
// room for; at the last page, the same as appending after the dialog. The page marker and the page recorded for
// copy keep pointing at their pages.
void InsertPageAfterCurrent(EditorContext& ctx);

void RegisterPageInsertionCommands(CommandRegistry& registry);

}  // namespace notavera
