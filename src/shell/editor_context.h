// The explicit context every command runs in: the open document, the shell's own state and the
// platform services. Several contexts can live in one process (tests run them side by side).
#pragma once

#include <functional>

#include "platform/ui_services.h"
#include "score/score_document.h"
#include "shell/cursor_state.h"
#include "shell/dialog_memory.h"
#include "shell/input_state.h"
#include "shell/messages.h"
#include "shell/mouse_state.h"
#include "shell/system_settings.h"
#include "shell/view_state.h"

namespace notavera {

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
};

class CommandRegistry;

struct EditorContext {
    explicit EditorContext(UiServices& services) : ui(services) {}

    ScoreDocument doc;
    ShellState shell;
    UiServices& ui;
    MessageSlots messages;
    // Handlers that need a service only this window has (MIDI playback); consulted after the core's.
    const CommandRegistry* platformCommands = nullptr;
    // Sounds a note on the window's preview output (keyboard echo); null where there is no sound.
    std::function<void(const ElementRecord&)> soundNote;
};

}  // namespace notavera
