// The span of one user action through the dispatch: it saves the action's undo step before the first handler
// that asks for one, keeps nested dispatches from saving more, and repaints once when the action is over.
#pragma once

#include "shell/command_registry.h"

namespace notavera {

struct EditorContext;

// For a handler that knows only once it has checked its input whether it changes the score: saves the step of the
// action now, unless the action already has one.
void SaveStepOfAction(EditorContext& ctx);

// For a typed character that turns out to change a whole region: a step of its own, even inside a typing run
// whose step covers the notes typed before; the run ends with it.
void SaveOwnStepOfAction(EditorContext& ctx);

// A command of a second window's own registry (text, drawing), run as one action when the window knows it and its
// menu item is enabled.
void RunWindowCommand(EditorContext& ctx, const CommandRegistry& commands, int command, bool enabled);

class CommandScope {
public:
    // `endsTypingRun`: a menu command or palette button with no step of its own still parts two runs of typing;
    // keys and characters that only move the cursor or choose attributes do not.
    CommandScope(EditorContext& ctx, UndoPolicy policy, bool endsTypingRun = false);
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    EditorContext& ctx_;
};

}  // namespace notavera
