// The keys that move the element at the cursor: Ctrl+Shift+arrows, Shift with a sideways key, and the arrows
// while the alternate action is on. A run of moves of one element is one undo step.
#pragma once

#include <optional>

namespace notavera {

class CommandRegistry;
struct EditorContext;
struct ElementRecord;
struct CursorFrame;

// How far one vertical step moves a sign that has a vertical offset: pictures and drawings 2, texts a quarter
// staff space, curves 1; nothing for other elements.
std::optional<int> SignStep(const ElementRecord& e, const CursorFrame& f);

// The element at the cursor moves by the key (an arrow, Space or Backspace): sideways by `across` page units, up
// or down by one staff position. The cursor follows it. False, with nothing changed, when no element stands at
// the cursor or it cannot move that way (a beep then).
bool MoveElementByKey(EditorContext& ctx, int key, int across);

void RegisterElementMoveKeys(CommandRegistry& registry);

}  // namespace notavera
