// The Zoom menu: the five fixed fractions and "&AUTRE" through the "Fraction" dialog.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// cmd::FirstZoom .. cmd::LastZoom. An accepted zoom moves the check mark and repaints the view; "Annuler" changes
// nothing.
void SetZoom(EditorContext& ctx, int command);

void RegisterZoomCommands(CommandRegistry& registry);

}  // namespace notavera
