// Aller Mesure no: finding the line that holds a measure number, from the current page on, and putting the
// cursor at that measure.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Searches measure n from the line of the current staff to the score's end, by the measure-number texts at the
// lines' starts and the measures each line holds. Found: the staff at the current staff's position in its line
// becomes current and the cursor stands where measure n begins (the line's start for the line's first
// measure). Not found: back on the starting page and staff, on the first element at or after the one that was
// current. True when found.
bool FindMeasure(EditorContext& ctx, int n);

// "MesNo": the measure number asked for, then FindMeasure; false when cancelled or not found.
bool GoToMeasure(EditorContext& ctx);

void RegisterMeasureSearchCommand(CommandRegistry& registry);

}  // namespace notavera
