// The note-entry characters that stand for commands: J justifies up to marker X and \ shows the template staff
// (its menu command sends the character).
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The template-staff mode: the current staff and element are kept, to be made current again when Up or Down
// leaves the mode. Refused with message 16 "Fermez INSertion d'abord" while the insertion box is open; nothing
// happens while the mode is already on.
void EnterTemplateStaff(EditorContext& ctx);

void RegisterCommandCharacters(CommandRegistry& registry);

}  // namespace notavera
