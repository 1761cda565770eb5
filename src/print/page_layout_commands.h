// The Page menu's commands of the print subsystem: making and modifying a page in the staff-layout dialog, and
// the mask commands.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// "Créer Feuille": the staff-layout dialog for a new page, then a new last page laid out by the model it
// accepted, made current. 0 when cancelled, at the page limit, or when the last page is not in memory.
int CreatePageFromDialog(EditorContext& ctx);

void RegisterPageLayoutCommands(CommandRegistry& registry);

}  // namespace notavera
