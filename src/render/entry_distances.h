// The distances note entry moves the cursor by: past a new note or rest, and past a new bar line, clef or time
// signature, with the document's step and spacing corrections, so that entered music needs little respacing.
#pragma once

#include "render/spacing_settings.h"

namespace notavera {

class ScoreDocument;
struct ElementRecord;
struct StaffRecord;
struct PageRecord;

// The advance after the note or rest `e`: its respacing advance with the "Taille du Pas" and the corrections.
int CursorAdvanceAfterNote(const ScoreDocument& doc, const ElementRecord& e);

// The space one element takes by default (a bar put after a note first moves the cursor by it): the advance
// of the shortest value the respacing distinguishes, three steps.
int DefaultElementSpacing(const ScoreDocument& doc);

// The environment's "Distance en Pas après ..." in steps of the "Taille du Pas".
int DistanceAfterBar(const ScoreDocument& doc, const SignDistances& steps);
int DistanceAfterClef(const ScoreDocument& doc, const SignDistances& steps);
// A time signature also leaves room for its own drawing: its drawn width on the music font plus the distance.
int DistanceAfterTimeSignature(const ScoreDocument& doc, const SignDistances& steps, const PageRecord& page,
                               const StaffRecord& staff, int index);

// The gap the insertion box opens at the cursor: room for one note of the insertion duration and dots.
int InsertionBoxGap(const ScoreDocument& doc);

}  // namespace notavera
