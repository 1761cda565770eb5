// Saving, undoing and redoing steps: the working file is copied to the ring of step files before an edit; an
// undo keeps the present state in the redo file of the same ring place and reloads the document from the step.
#include "edit/undo_steps.h"

#include <algorithm>

#include "platform/ui_services.h"
#include "score/companion_files.h"
#include "score/file_copy.h"
#include "score/mus_file.h"
#include "score/score_document.h"

namespace notavera {

namespace {

constexpr int ringSize = 10;

int NextInRing(int index) { return (index + 1) % ringSize; }
int PreviousInRing(int index) { return (index + ringSize - 1) % ringSize; }

bool HasWorkingFile(const ScoreDocument& doc) {
    return doc.storage.fileState != FileState::None && !doc.storage.path.empty() && !doc.storage.workingPath.empty();
}

std::filesystem::path StepFile(const ScoreDocument& doc, int index, bool redo) {
    return CompanionFileName(doc.storage.path, index, redo).value_or(std::filesystem::path{});
}

// The wait cursor for the length of the file work.
class WaitCursor {
public:
    explicit WaitCursor(UiServices& ui) : ui_(ui) { ui_.setWaitCursor(true); }
    ~WaitCursor() { ui_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UiServices& ui_;
};

// A reload that failed half way leaves pages that were never the user's: the state the document had just before
// is put back from its copy.
int ReloadOrRestore(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& step,
                    const std::filesystem::path& present, bool presentSaved) {
    const int status = ReloadWorkingFile(doc, ui, step);
    if (status != FileOk && status != FileIoError && presentSaved) ReloadWorkingFile(doc, ui, present);
    return status;
}

int SaveStep(ScoreDocument& doc, UiServices& ui) {
    UndoHistory& h = doc.undo;
    if (!SaveToWorkingFile(doc, ui)) return 0;
    const int index = NextInRing(h.stepIndex);
    const std::filesystem::path step = StepFile(doc, index, false);
    // The copy is staged and renamed, so a failure leaves the previous file of that place whole. The counts then
    // stay as they were: counting a step whose file holds an older state would make the next undo jump over
    // edits the user never asked to lose, while not counting it only makes this one edit impossible to undo.
    if (step.empty() || !ReplaceWithCopy(doc.storage.workingPath, step)) return 0;
    h.stepIndex = index;
    h.undoCount = std::min(h.undoCount + 1, ringSize);
    h.redoCount = 0;
    return 1;
}

int Undo(ScoreDocument& doc, UiServices& ui) {
    UndoHistory& h = doc.undo;
    if (h.undoCount == 0) return 0;
    // The present state must be on disk first: without it the undo could neither be cancelled nor given up.
    if (!SaveToWorkingFile(doc, ui)) return 0;
    const std::filesystem::path redo = StepFile(doc, h.stepIndex, true);
    const bool redoSaved = !redo.empty() && ReplaceWithCopy(doc.storage.workingPath, redo);
    const int status = ReloadOrRestore(doc, ui, StepFile(doc, h.stepIndex, false), redo, redoSaved);
    if (status != FileOk) return 0;
    // Without its redo file this undo cannot be cancelled, and the older undos can only be cancelled after it.
    h.redoCount = redoSaved ? h.redoCount + 1 : 0;
    --h.undoCount;
    h.stepIndex = PreviousInRing(h.stepIndex);
    doc.markModified();
    return 1;
}

int CancelUndo(ScoreDocument& doc, UiServices& ui) {
    UndoHistory& h = doc.undo;
    if (h.redoCount == 0) return 0;
    const int index = NextInRing(h.stepIndex);
    // The state shown now is the step file of that place, which stays the way back should the reload fail.
    const int status = ReloadOrRestore(doc, ui, StepFile(doc, index, true), StepFile(doc, index, false), true);
    if (status != FileOk) return 0;
    --h.redoCount;
    ++h.undoCount;
    h.stepIndex = index;
    doc.markModified();
    return 1;
}

}  // namespace

int UndoStep(ScoreDocument& doc, UiServices& ui, UndoKind kind, bool templateStaffMode) {
    if (kind == UndoKind::Reset) {
        doc.undo = UndoHistory{};
        return 1;
    }
    if (!HasWorkingFile(doc)) return 0;
    if (kind == UndoKind::Save && templateStaffMode) return 0;
    WaitCursor wait(ui);
    switch (kind) {
    case UndoKind::Save:
    case UndoKind::SaveAlways: return SaveStep(doc, ui);
    case UndoKind::Undo: return Undo(doc, ui);
    case UndoKind::CancelUndo: return CancelUndo(doc, ui);
    case UndoKind::Reset: break;
    }
    return 0;
}

}  // namespace notavera
