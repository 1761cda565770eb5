// The main window's input tools and pending modes: the current tool, the actions that wait for a click or a key,
// the palette's toggles, and the modes of note entry (insertion box, template staff, Z symbols, the rhythmic group
// and the slur being entered).
#pragma once

#include "edit/slur_entry.h"
#include "shell/command_ids.h"

namespace notavera {

struct InputState {
    int currentTool = 'N';              // a character code, or 300..304 for the tools without one
    int toolMenuItem = cmd::ToolNotes;  // the command whose menu item carries the tool check mark
    int hideKind = 1;                   // tool 300: 1 element, 2 accidental, 3 dot
    int keyMode = 0;                    // the palette's value button that last opened "Val" as a popup
    int mouseMode = 0;                  // the pending action of a command that waits for a click
    int zSymbolMode = 0;                // set by 'z': symbol characters choose a tool, F1..F9 place it
    bool alternateAction = false;       // right button or cmd::ButtonAlternateAction
    int noteFormFlags = 2;              // the note-form buttons: bit 0 flag A, bit 1 flag B (automatic stems)
    int navigationState = 0;            // the placement buttons' pressed forms (1 above or 2 below)
    bool insertionOpen = false;         // commands answer message 16 while it is open
    bool valueEntry = false;            // Enter was pressed: the next digit is the reference value
    bool templateStaffMode = false;     // cmd::TemplateStaff, the character '\'
    unsigned groupNum = 1;              // the current rhythmic group
    unsigned groupDen = 1;
    SlurStart slurStart;                // where the open slur started
};

}  // namespace notavera
