// Registration of the note-entry handlers.
#include "edit/entry_commands.h"

#include "edit/attribute_characters.h"
#include "edit/clef_entry.h"
#include "edit/command_characters.h"
#include "edit/curve_entry.h"
#include "edit/element_deletion.h"
#include "edit/enter_key.h"
#include "edit/free_symbol_entry.h"
#include "edit/key_entry.h"
#include "edit/mark_removal.h"
#include "edit/note_entry.h"
#include "edit/region_deletion.h"
#include "edit/rhythmic_group_entry.h"
#include "edit/slur_entry.h"
#include "edit/special_bar_entry.h"
#include "edit/staff_insertion.h"
#include "edit/time_signature_entry.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {

void RegisterEntryCommands(CommandRegistry& r) {
    constexpr int f1 = static_cast<int>(Key::F1);
    // In the Z-symbol mode the note keys give the height of the chosen symbol instead of a note.
    for (int i = 0; i < noteKeyCount; ++i) {
        r.addKey(f1 + i, [](EditorContext& ctx, int key) {
            if (ctx.shell.input.zSymbolMode != 0) PlaceZSymbol(ctx, key - f1);
            else EnterNote(ctx, key - f1);
        });
    }
    r.addKey(static_cast<int>(Key::Enter), [](EditorContext& ctx, int) { EnterOnElement(ctx); });
    r.addKey(static_cast<int>(Key::Delete), [](EditorContext& ctx, int) { DeleteAtCursor(ctx); });
    r.addKey(static_cast<int>(Key::Insert), [](EditorContext& ctx, int) { ToggleInsertionBox(ctx); });
    // The palette's insertion-box button is the Insert key, refusals included.
    r.addCommand(23, [](EditorContext& ctx, int) { DispatchKey(ctx, Key::Insert, {}); });
    r.addChar('j', [](EditorContext& ctx, int) { EnterMultiBarRest(ctx); });
    r.addCommand(628, [](EditorContext& ctx, int) { ctx.shell.input.mouseMode = multiBarRestMouseMode; });  // Multi-Silence
    RegisterAttributeCharacters(r);
    RegisterSlurCharacters(r);
    RegisterRhythmicGroupCharacters(r);
    RegisterSpecialBarCharacter(r);
    RegisterZSymbolCharacter(r);
    RegisterCurveCharacter(r);
    RegisterCommandCharacters(r);
    RegisterClefCommands(r);
    RegisterTimeSignatureCommand(r);
    RegisterKeyCommands(r);
    RegisterStaffCommands(r);
    // Détruire.
    r.addCommand(eraseRegionCommand, [](EditorContext& ctx, int) { EraseRegion(ctx); });
    r.addCommand(eraseToLineEndCommand, [](EditorContext& ctx, int) { EraseToLineEnd(ctx); });
    r.addCommand(eraseBeamCommand, [](EditorContext& ctx, int) { EraseBeam(ctx); });
    r.addCommand(eraseSlurCommand, [](EditorContext& ctx, int) { EraseSlur(ctx); });
    r.addCommand(eraseGroupCommand, [](EditorContext& ctx, int) { EraseGroup(ctx); });
}

}  // namespace notavera
