// The undo history of a document: saving a step before an edit, going back one step, cancelling that, and
// forgetting them all. A step is a whole copy of the working file, so any edit, however wide, can be undone.
#pragma once

namespace notavera {

class ScoreDocument;
class UiServices;

enum class UndoKind : int {
    Save = 0,            // save a step, unless the template-staff mode is on
    SaveAlways = 10,     // save a step even in the template-staff mode (page deletions)
    Undo = 1,            // go back one step
    CancelUndo = -1000,  // redo: cancel the last undo
    Reset = -1,          // forget the history (a document was opened)
};

// The one entry for all undo bookkeeping. Nothing happens while the document has no working file. Returns 1
// when a step was saved or the document went back or forth, 0 when nothing changed.
int UndoStep(ScoreDocument& doc, UiServices& ui, UndoKind kind, bool templateStaffMode = false);

}  // namespace notavera
