// The explicit context every command runs in: the open document, the shell's own state and the
// platform services. Several contexts can live in one process (tests run them side by side).
#pragma once

#include <functional>

#include "platform/messages.h"
#include "platform/ui_services.h"
#include "score/score_document.h"
#include "shell/shell_state.h"

namespace notavera {

class CommandRegistry;

struct EditorContext {
    explicit EditorContext(UiServices& services) : ui(services) {}

    ScoreDocument doc;
    ShellState shell;
    UiServices& ui;
    // Handlers that need a service only this window has (MIDI playback); consulted after the core's.
    const CommandRegistry* platformCommands = nullptr;
    // Sounds a note on the window's preview output (keyboard echo); null where there is no sound.
    std::function<void(const ElementRecord&)> soundNote;
};

}  // namespace notavera
