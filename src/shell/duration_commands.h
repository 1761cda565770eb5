// The duration choice of the "Val" menu, the digit keys and the palette's value buttons: the duration of the
// next notes, or the reference value ("étalon") of time signatures when the menu came from the palette's
// reference-value button.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The duration of the next notes, remembered as the "Val" choice.
void ChooseDuration(EditorContext& ctx, unsigned code);
// The chosen duration changes the region when marker Y is set, otherwise the note or rest at the cursor.
void ApplyChosenDuration(EditorContext& ctx, unsigned code);
// The reference value kept by the document; a time signature at the cursor takes it at once, with the
// document's variable step and its polyphony and aesthetic corrections.
void ChooseReferenceValue(EditorContext& ctx, unsigned code);

void RegisterDurationCommands(CommandRegistry& registry);

}  // namespace notavera
