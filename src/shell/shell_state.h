// The shell's state that is not part of the document: the records of each concern, and what is truly shell-wide
// (the autosave, the document's readiness, mask editing, the settings dialogs' values).
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "score/drawing_recording.h"
#include "shell/copy_state.h"
#include "shell/cursor_state.h"
#include "shell/dialog_memory.h"
#include "shell/input_state.h"
#include "shell/midi_entry_state.h"
#include "shell/mouse_state.h"
#include "shell/system_settings.h"
#include "shell/view_state.h"

namespace notavera {

struct TextWindowState;
struct DrawingWindowState;

// The commands running now (a handler may dispatch others) and the run of typed edits the last step covers.
struct CommandScopeState {
    int depth = 0;           // dispatches under way, the outermost one included
    bool stepTaken = false;  // the user's action under way has had its undo step considered
    bool stepSaved = false;  // ... and saved one of its own (not one a typing run had saved before)
    int runPage = 0;         // the staff of the current typing run (runStaff -1: no run)
    int runStaff = -1;
    unsigned actions = 0;    // user actions dispatched so far, counted at their outermost dispatch
    struct {                 // the element that the last action moved with the keys (action 0: none)
        unsigned action = 0;
        int page = 0, staff = -1, element = -1;
    } moveRun;
};

// The shell's state that is not part of the document, by concern.
struct ShellState {
    int autosaveDelay = 2;     // minutes, 0 = off
    int autosaveMinutes = 0;   // minutes since the last autosave or delay change
    bool documentReady = false;
    bool recoveryCheck = true;       // off for batch inspection, which must leave a ".sav" to the editor
    bool stickyModified = false;     // set once the document was modified, read by menu preparation
    bool maskEditing = false;        // a mask page is being edited
    struct {                         // where mask editing came from, to go back on leaving
        int page = 0;
        int staff = 0;
        int element = -1;
    } maskReturn;
    SystemSettings settings;         // the settings dialogs' system-wide values
    InputState input;                // the tools and pending modes
    DialogMemory dialogs;            // the answers dialogs offer again
    ViewState view;                  // the zoom and the continuous view
    CursorState cursor;              // the cursor, the markers and the zone
    MouseState mouse;                // the button held, the drag, the selection and the move box
    CopyState copy;                  // the copy source and the erase buffer
    CommandScopeState commands;      // the dispatches under way and the typing run
    MidiEntryState midiEntry;        // step entry from a MIDI keyboard
    std::shared_ptr<TextWindowState> textWindow;  // while the text window exists
    std::shared_ptr<DrawingWindowState> drawingWindow;  // while the drawing window exists
    std::array<std::optional<DrawingRecording>, 3> drawingSlots;  // the recordings, kept after the window closes
};

}  // namespace notavera
