// The rhythmic group (tuplet) of the characters G and g: G asks its proportion in the "Fraction" dialog and marks
// the group's first note, g marks its last note and gives the proportion to every note and rest between.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Opens a group with the fraction accepted in "Fraction" (nothing on "Annuler"): the note or rest at the cursor,
// or else the next one entered, is its first; the notes entered until g take its proportion.
void OpenRhythmicGroup(EditorContext& ctx);

// Closes the open group (opened by G, or found open on a group note the cursor landed on) on the last note or rest
// at or before the cursor, with the group's fraction. A group no note was entered in closes without a mark.
void CloseRhythmicGroup(EditorContext& ctx);

void RegisterRhythmicGroupCharacters(CommandRegistry& registry);

}  // namespace notavera
