// Which main-menu items are enabled and which carry a check mark, worked out from the document and the shell
// state each time a menu opens.
#pragma once

#include <functional>
#include <unordered_map>

#include "score/score_document.h"
#include "shell/shell_state.h"

namespace notavera {

struct EditorContext;

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// What menu preparation needs beyond the document and the shell state.
struct MenuInputs {
    bool undoAvailable = false;     // the document has an undo step
    bool cancelAvailable = false;   // the last undo can be cancelled
    bool pageHasGhostModel = false; // a mask is drawn under the current page: it can be traced onto it
};

struct MenuPreparation {
    std::unordered_map<int, CommandState> commands;  // every main-menu command, plus the mask item
    bool stickyModified = false;  // the shell's sticky modified flag after this preparation
    bool showLeaveMask = false;   // the menu bar carries the "&Quitter" item of mask editing

    // The state of a command; an id no menu carries is disabled and unchecked.
    CommandState operator[](int command) const;
};

// Works out every item of the main menus. A command that isBuilt refuses is always disabled. The caller
// stores the returned sticky flag back into the shell state.
MenuPreparation PrepareMenus(const ScoreDocument& doc, const ShellState& shell, const MenuInputs& inputs,
                             const std::function<bool(int)>& isBuilt);

// The facts above as the editor holds them now.
MenuInputs MenuInputsOf(const EditorContext& ctx);

// Whether the user can give the command now, as from an opened menu: a menu item must be enabled there (the
// preparation's sticky flag is stored, as opening the menu does); any other command needs a handler.
bool CommandAvailable(EditorContext& ctx, int command);

}  // namespace notavera
