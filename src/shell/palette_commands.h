// The palette buttons whose action the shell owns: the alternate-action flag, the attribute switches (sent as
// the character of the pair that applies) and the note-form flags.
#pragma once

namespace notavera {

class CommandRegistry;

// Note-form flags of buttons 38..40 in ShellState::noteFormFlags.
inline constexpr int noteFormA = 1;
inline constexpr int noteFormB = 2;

void RegisterPaletteCommands(CommandRegistry& registry);

}  // namespace notavera
