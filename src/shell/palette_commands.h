// The palette buttons whose action the shell owns: the alternate-action flag, the attribute switches (sent as
// the character of the pair that applies) and the note-form flags.
#pragma once

namespace notavera {

class CommandRegistry;

// Note-form flags of the three note-form buttons in InputState::noteFormFlags.
inline constexpr int noteFormA = 1;
inline constexpr int noteFormB = 2;

struct EditorContext;

// Sets the note-form flags and hands them to the notes entered next: A is the stem direction used without B
// (note word bit 14, up), B the automatic direction (bit 13).
void SetNoteFormFlags(EditorContext& ctx, int flags);

void RegisterPaletteCommands(CommandRegistry& registry);

}  // namespace notavera
