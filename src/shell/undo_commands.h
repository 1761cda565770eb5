// "Etape antérieure" and "Annuler étape antérieure": the menu commands, their palette buttons and Ctrl+Z, Ctrl+Y.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Ctrl+Z and Ctrl+Y arrive as these control characters; Ctrl+Shift+Z is delivered as Ctrl+Y.
inline constexpr char32_t undoCharacter = 26;
inline constexpr char32_t redoCharacter = 25;

// Goes back one step (cmd::Undo) or cancels the last undo (cmd::CancelUndo); nothing when there is none.
void RunUndoCommand(EditorContext& ctx, int command);

void RegisterUndoCommands(CommandRegistry& registry);

}  // namespace notavera
