// The keyboard echo: a note the user enters, re-pitches or reaches with the arrows is heard at once on the
// window's preview output, unless "Echo clavier (instr. ou -1):" is −1.
#pragma once

#include "score/records.h"

namespace notavera {

struct EditorContext;

// Sounds `note` when the echo is on and the window has sound; does nothing otherwise.
void EchoNote(EditorContext& ctx, const ElementRecord& note);

}  // namespace notavera
