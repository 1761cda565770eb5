// The "Armure" dialog and the key commands at the cursor.
#include "shell/key_commands.h"

#include <algorithm>

#include "edit/key_entry.h"
#include "render/document_spacing.h"
#include "score/accidental_context.h"
#include "shell/accidental_commands.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int maxCount = 7;
enum class KeyAnswer { Cancelled, Key, Cancelling };

KeyAnswer RunKeyDialog(EditorContext& ctx) {
    auto& memory = ctx.shell.dialogs.keyDialog;
    DialogModel model = MakeKeyDialog(memory.number, memory.kind);
    if (!ctx.ui.runDialog(model)) return KeyAnswer::Cancelled;
    const int number = std::clamp(model.value("Nombre"), 0, maxCount);
    const int kind = model.checked("Dièse") ? 1 : model.checked("Bémol") ? 2 : 0;
    memory.number = number;
    if (kind != 0) memory.kind = kind;
    KeyInEffect& key = ctx.doc.insertion.key;
    if (kind != 0) key.kind = static_cast<KeyKind>(kind);
    if (number > 0) {
        key.count = static_cast<unsigned>(number);
        key.cancelled = false;
        return KeyAnswer::Key;
    }
    // No number: the key in force at the cursor is cancelled.
    const StaffRecord& staff = *ctx.doc.staff();
    KeyAtEnd(ctx.doc, staff, ctx.shell.cursor.x);
    key.cancelled = true;
    return KeyAnswer::Cancelling;
}

// The key written or erased at the cursor; the cursor goes past it.
void PlaceKeyAtCursor(EditorContext& ctx, bool erase) {
    const PageRecord* page = ctx.doc.page();
    const StaffRecord* staff = ctx.doc.staff();
    if (!page || !staff) return;
    const SpacingSettings spacing = DocumentSpacing(ctx.doc, ctx.shell.settings.distanceSteps).forStaff(*page, *staff);
    ctx.shell.cursor.x = PlaceKey(ctx.doc, ctx.ui, erase, ctx.shell.cursor.x, spacing);
}

void RunKeyCommand(EditorContext& ctx, int) {
    ScoreDocument& doc = ctx.doc;
    const StaffRecord* staff = doc.staff();
    if (!staff) return;
    if (doc.currentElement >= 0 && doc.currentElement < static_cast<int>(staff->elements.size()))
        KeyAt(doc, *staff, doc.currentElement, staff->elements[static_cast<std::size_t>(doc.currentElement)].x);
    if (RunKeyDialog(ctx) == KeyAnswer::Cancelled) return;
    // A key of neither sharps nor flats would be stored and never drawn: nothing to place.
    if (doc.insertion.key.kind == KeyKind::None) {
        ctx.ui.beep();
        return;
    }
    PlaceKeyAtCursor(ctx, false);
}

}  // namespace

DialogModel MakeKeyDialog(int number, int kind) {
    DialogModel m("Armure", "Armure");
    m.addInteger(0, "Nombre", 0, maxCount, number, 2);
    m.addRadio(0, "Dièse", 1, kind == 1);
    m.addRadio(0, "Bémol", 1, kind == 2);
    return m;
}

void RegisterKeyCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::KeySignature, RunKeyCommand, UndoPolicy::Step);
    registry.addCommand(
        cmd::EraseKeySignature, [](EditorContext& ctx, int) { PlaceKeyAtCursor(ctx, true); }, UndoPolicy::Step);
    RegisterAccidentalCommands(registry);
}

}  // namespace notavera
