// The slur of the characters ( and ): opened on the note at the cursor (or the next note entered), closed on the
// note at or before the cursor, and refused where the note flags cannot carry it.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Opens the slur; in the Z-symbol mode the character chose the free-slur tool instead and nothing opens.
void OpenSlur(EditorContext& ctx);

// Closes the open slur on the last note at or before the cursor. Refused with message 18 "Employez liaison libre",
// with nothing changed, when no slur is open, when no note has begun it yet, when there is no note to end it on
// this staff after its start, or when its start lies in another voice or on a later line: such a curve is a free
// slur.
void CloseSlur(EditorContext& ctx);

void RegisterSlurCharacters(CommandRegistry& registry);

}  // namespace notavera
