// Registration of the note-entry handlers.
#include "shell/entry_commands.h"

#include "edit/element_deletion.h"
#include "edit/enter_key.h"
#include "edit/note_entry.h"
#include "shell/attribute_characters.h"
#include "shell/clef_commands.h"
#include "shell/command_characters.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/copy_commands.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"
#include "shell/erase_commands.h"
#include "shell/key_commands.h"
#include "shell/note_commands.h"
#include "shell/sign_characters.h"
#include "shell/staff_commands.h"
#include "shell/time_signature_commands.h"
#include "shell/tool_application.h"

namespace notavera {

void RegisterEntryCommands(CommandRegistry& r) {
    constexpr int f1 = static_cast<int>(Key::F1);
    // In the Z-symbol mode the note keys give the height of the chosen symbol instead of a note.
    for (int i = 0; i < noteKeyCount; ++i) {
        r.addKey(f1 + i, [](EditorContext& ctx, int key) {
            if (ctx.shell.input.zSymbolMode != 0) PlaceZSymbol(ctx, key - f1);
            else EnterNote(ctx, key - f1);
        }, UndoPolicy::Typing);
    }
    r.addKey(
        static_cast<int>(Key::Enter),
        [](EditorContext& ctx, int) {
            if (EnterActsOnElement(ctx.doc, ctx.shell.input.currentTool)) EnterOnElementAtCursor(ctx);
            else ctx.shell.input.valueEntry = true;
        },
        UndoPolicy::Typing);
    r.addKey(
        static_cast<int>(Key::Delete),
        [](EditorContext& ctx, int) {
            if (std::optional<ElementRecord> removed = DeleteAtCursor(ctx.doc, ctx.ui))
                RememberErased(ctx, {{0, {std::move(*removed)}}});
        },
        UndoPolicy::Typing);
    r.addKey(static_cast<int>(Key::Insert), [](EditorContext& ctx, int) { ToggleInsertionBox(ctx); });
    // The palette's insertion-box button is the Insert key, refusals included.
    r.addCommand(cmd::ButtonInsertionBox, [](EditorContext& ctx, int) { DispatchKey(ctx, Key::Insert, {}); });
    r.addChar('j', [](EditorContext& ctx, int) { EnterMultiBarRest(ctx); }, UndoPolicy::Typing);
    r.addCommand(cmd::MultiBarRest, [](EditorContext& ctx, int) { ctx.shell.input.mouseMode = multiBarRestMouseMode; });
    RegisterAttributeCharacters(r);
    RegisterSignCharacters(r);
    RegisterCommandCharacters(r);
    RegisterClefCommands(r);
    RegisterTimeSignatureCommand(r);
    RegisterKeyCommands(r);
    RegisterStaffCommands(r);
    RegisterEraseCommands(r);
    RegisterCopyCommands(r);
}

}  // namespace notavera
