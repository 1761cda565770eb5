// The explicit context every command runs in: the open document, the shell's own state and the
// platform services. Several contexts can live in one process (tests run them side by side).
#pragma once

#include "platform/ui_services.h"
#include "score/score_document.h"
#include "shell/messages.h"
#include "shell/system_settings.h"

namespace notavera {

// The shell's state that is not part of the document.
struct ShellState {
    int autosaveDelay = 2;     // minutes, 0 = off
    int autosaveMinutes = 0;   // minutes since the last autosave or delay change
    bool documentReady = false;
    bool insertionOpen = false;      // commands answer message 16 while it is open
    bool maskEditing = false;        // a mask page is being edited
    bool templateStaffMode = false;  // command 85, the character '\'
    bool recoveryCheck = true;       // off for batch inspection, which must leave a ".sav" to the editor
    int markerPage = 0;              // page marker, 0 when not set
    bool continuousView = false;
    int continuousOffset = 0;        // whole pages between the continuous view's first page and the view position
    unsigned groupNum = 1;           // the current rhythmic group
    unsigned groupDen = 1;
    SystemSettings settings;         // the settings dialogs' system-wide values
};

struct EditorContext {
    explicit EditorContext(UiServices& services) : ui(services) {}

    ScoreDocument doc;
    ShellState shell;
    UiServices& ui;
    MessageSlots messages;
};

}  // namespace notavera
