// Entering notes and rests from the keyboard at the cursor: the note keys F1..F9 (or, with the alternate action,
// re-pitching the note at the cursor), the rest of the character S and the multi-bar rest of j.
#pragma once

namespace notavera {

struct EditorContext;

// Note key `index` 0..8 (F1..F9) at the cursor, which then moves past the note. A full line continues on the
// voice's next line with the same attributes; a percussion staff takes only the keys 4, 5 and 6. The note is
// heard through the keyboard echo.
void EnterNote(EditorContext& ctx, int index);

// A rest of the insertion duration at the cursor; the cursor moves past it and the dots are used up.
void EnterRest(EditorContext& ctx);

// A multi-bar rest (a rest of duration code 15) at the cursor, as the rest S is entered; its bar count is a text
// of the text layer ("Silence multiple") placed with it.
void EnterMultiBarRest(EditorContext& ctx);

// The pending action of "Multi-Silence": the next double click puts a multi-bar rest there.
inline constexpr int multiBarRestMouseMode = 106;

}  // namespace notavera
