// The duration choice of the "Val" menu, the digit keys and the palette's value buttons: the duration of the
// next notes, or the reference value ("étalon") of time signatures when the menu came from button 42.
#pragma once

#include <optional>

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The palette buttons that open "Val" as a popup: the duration, and the reference value of a time signature.
inline constexpr int valueButton = 41;
inline constexpr int referenceValueButton = 42;

// The duration code 0..10 of a "Val" command (530..539 Longa..Quintuple-Cr, 583 Sextuple-Cr).
std::optional<unsigned> DurationOfValueCommand(int command);

// The duration of the next notes, remembered as the "Val" choice.
void ChooseDuration(EditorContext& ctx, unsigned code);
// The reference value kept by the document; a time signature at the cursor takes it at once, with the
// document's variable step and its polyphony and aesthetic corrections.
void ChooseReferenceValue(EditorContext& ctx, unsigned code);

void RegisterDurationCommands(CommandRegistry& registry);

}  // namespace notavera
