// The keyboard echo through the window's note sounder.
#include "shell/keyboard_echo.h"

#include "shell/editor_context.h"

namespace notavera {

void EchoNote(EditorContext& ctx, const ElementRecord& note) {
    if (ctx.shell.settings.keyboardEcho >= 0 && ctx.soundNote) ctx.soundNote(note);
}

}  // namespace notavera
