// The distances note entry moves the cursor by: past a new note or rest, and past a new bar line, clef or time
// signature, with the document's step and spacing corrections, so that entered music needs little respacing.
#pragma once

namespace notavera {

struct EditorContext;
struct ElementRecord;
struct StaffRecord;
struct PageRecord;

// The advance after the note or rest `e`: its respacing advance with the "Taille du Pas" and the corrections.
int CursorAdvanceAfterNote(const EditorContext& ctx, const ElementRecord& e);

// The space one element takes by default (a bar put after a note first moves the cursor by it): the advance
// of the shortest value the respacing distinguishes, three steps.
int DefaultElementSpacing(const EditorContext& ctx);

// The environment's "Distance en Pas après ..." in steps of the "Taille du Pas".
int DistanceAfterBar(const EditorContext& ctx);
int DistanceAfterClef(const EditorContext& ctx);
// A time signature also leaves room for its own drawing: its drawn width on the music font plus the distance.
int DistanceAfterTimeSignature(const EditorContext& ctx, const PageRecord& page, const StaffRecord& staff, int index);

// The gap the insertion box opens at the cursor: room for one note of the insertion duration and dots.
int InsertionBoxGap(const EditorContext& ctx);

}  // namespace notavera
