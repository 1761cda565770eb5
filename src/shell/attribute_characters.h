// What the attribute characters do to the element at the cursor once the shell has taken them into the
// insertion attributes (durations, accidentals, dots, ties, beams, the C attribute, the value symbol's refusal),
// and the characters that enter signs: the bar line | and the rest S.
#pragma once

namespace notavera {

class CommandRegistry;

void RegisterAttributeCharacters(CommandRegistry& registry);

}  // namespace notavera
