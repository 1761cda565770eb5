// The autosave copy: the pages into the working file, the working file copied to the ".sav".
#include "platform/ui_services.h"
#include "score/cursor_place.h"
#include "score/mus_file.h"
#include "score/work_files.h"

namespace notavera {

void Autosave(ScoreDocument& doc, UiServices& ui) {
    DocumentStorage& st = doc.storage;
    const std::filesystem::path copy = AutosaveCopyName(st);
    // A named document has a working file once it is opened or saved; an untitled one makes it here.
    if (copy.empty() || !doc.modified || (!st.path.empty() && st.fileState == FileState::None)) return;
    KeepCursor keep(doc);
    // The pages go into the working file only: a pending publication waits for an explicit save,
    // and the document stays modified with respect to its published version.
    ui.setWaitCursor(true);
    if (SaveToWorkingFile(doc, ui)) ReplaceWithCopy(st.workingPath, copy);
    ui.setWaitCursor(false);
    doc.modified = true;
}

}  // namespace notavera
