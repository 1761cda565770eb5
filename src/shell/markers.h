// The marker commands (page marker, marker Y, marker X, region marking), Escape ending every pending mode, and
// Aller Portée no.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Escape (after the dispatch ended the mouse and symbol modes): the tool, the page marker, the rhythmic-group fraction and the zone end.
void EndPendingModes(EditorContext& ctx);

// "PorteeNo": the staff of the number entered becomes current; false when cancelled or out of range.
bool GoToStaff(EditorContext& ctx);

void RegisterMarkerCommands(CommandRegistry& registry);

}  // namespace notavera
