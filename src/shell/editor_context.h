// The explicit context every command runs in: the open document, the shell's own state and the
// platform services. Several contexts can live in one process (tests run them side by side).
#pragma once

#include <functional>

#include "platform/messages.h"
#include "platform/ui_services.h"
#include "render/zoom.h"
#include "score/score_document.h"
#include "shell/cursor_state.h"
#include "shell/mouse_state.h"
#include "shell/system_settings.h"

namespace notavera {

// The shell's state that is not part of the document.
struct ShellState {
    int autosaveDelay = 2;     // minutes, 0 = off
    int autosaveMinutes = 0;   // minutes since the last autosave or delay change
    bool documentReady = false;
    bool insertionOpen = false;      // commands answer message 16 while it is open
    bool maskEditing = false;        // a mask page is being edited
    struct {                         // where mask editing came from, to go back on leaving
        int page = 0;
        int staff = 0;
        int element = -1;
    } maskReturn;
    bool templateStaffMode = false;  // command 85, the character '\'
    bool recoveryCheck = true;       // off for batch inspection, which must leave a ".sav" to the editor
    int markerPage = 0;              // page marker, 0 when not set
    bool continuousView = false;
    int continuousOffset = 0;        // whole pages between the continuous view's first page and the view position
    unsigned groupNum = 1;           // the current rhythmic group
    unsigned groupDen = 1;
    struct {                         // where the open slur started: its end must come later in the same voice
        int page = 0;
        int staff = 0;
        unsigned voice = 0;
    } slurStart;
    SystemSettings settings;         // the settings dialogs' system-wide values

    // The input tools and pending modes of the main window.
    int currentTool = 'N';           // a character code, or 300..304 for the tools without one
    int toolMenuItem = 86;           // the command whose menu item carries the tool check mark
    int hideKind = 1;                // tool 300: 1 element, 2 accidental, 3 dot
    int keyMode = 0;                 // the palette button (41 or 42) that last opened "Val" as a popup
    int mouseMode = 0;               // the pending action of a command that waits for a click
    int zSymbolMode = 0;             // set by 'z': symbol characters choose a tool, F1..F9 place it
    bool alternateAction = false;    // right button or palette button 22
    bool rightButton = false;        // cleared at every command
    bool clickSettle = false;        // set by a click on the current staff, cleared by timer 1
    bool closing = false;            // a save question of Open or Quit is open
    bool stickyModified = false;     // set once the document was modified, read by menu preparation
    int noteFormFlags = 2;           // palette buttons 38..40: bit 0 flag A, bit 1 flag B (automatic stems)
    int navigationState = 0;         // palette buttons 36/37 pressed forms (1 or 2)
    ZoomFraction zoom;               // the view's zoom, 1/1 at start
    int zoomMenuItem = 51;           // the Zoom command whose item carries the check mark
    ZoomFraction customZoom;         // the last fraction accepted in "&AUTRE"
    unsigned meterFlags = 1;         // the last choice of "IndMesure": its flag byte and symbol style
    unsigned meterStyle = 0;
    struct {                         // the last answer of "Armure", offered again
        int number = 0;              // sharps or flats, 0–7
        int kind = 0;                // 0 no button chosen yet, 1 "Dièse", 2 "Bémol"
    } keyDialog;
    unsigned menuDuration = 4;       // the duration last chosen in "Val" (or by a digit), read by the N and S tools
    int lastMeasureSought = 1;       // "MesNo" opens with the measure asked for last
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
