// The "Armure" dialog and the keys it writes.
#include "edit/key_entry.h"

#include <algorithm>
#include <span>

#include "edit/element_deletion.h"
#include "edit/entry_cursor.h"
#include "render/document_spacing.h"
#include "render/key_signature_layout.h"
#include "render/line_start_signs.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int keyCommand = 125;
constexpr int eraseKeyCommand = 128;
constexpr int maxCount = 7;
enum class KeyAnswer { Cancelled, Key, Cancelling };

void WriteStaffKey(StaffRecord& staff, const KeyInEffect& key, bool erase) {
    staff.key().setKeyKind(erase ? KeyKind::None : key.kind);
    staff.key().setKeyCount(erase ? 0 : std::min(key.count, static_cast<unsigned>(maxCount)));
}

void WriteKeyChange(ElementRecord& e, const KeyInEffect& key) {
    e.signWord().setSubValue(static_cast<unsigned>(key.kind));
    e.signWord().setCode(key.count);
    e.signWord().setHigh7(key.count);
    e.signWord().setFlag16(key.cancelled);
}

// How many accidentals a key change shows: its own, and the naturals of what it takes away from the key before
// it (the places beyond its count under the same kind, every place under another kind).
int ShownAccidentals(const KeyInEffect& before, const KeyInEffect& key) {
    const int count = static_cast<int>(key.count);
    if (key.cancelled || before.cancelled || before.kind == KeyKind::None) return count;
    const int keep = before.kind == key.kind ? count : 0;
    return count + std::max(static_cast<int>(before.count) - keep, 0);
}

// The staff's own key: written on the staff, and on the rest of its block when the staff heads one.
int PlaceStaffKey(EditorContext& ctx, bool erase, const SpacingSettings& s) {
    ScoreDocument& doc = ctx.doc;
    PageRecord& page = *doc.page();
    const KeyInEffect& key = doc.insertion.key;
    WriteStaffKey(*doc.staff(), key, erase);
    const LineRange block = BlockOfStaff(page, doc.currentStaff);
    if (block.first == doc.currentStaff)
        for (int i = block.first + 1; i <= block.last; ++i)
            WriteStaffKey(page.staves[static_cast<std::size_t>(i)], key, erase);
    doc.markModified();
    ctx.ui.invalidate();
    const StaffRecord& staff = *doc.staff();
    const int start = LineStartKeyX(s.leftEdge, s.stepUnit, staff.key().oldNotation());
    const int count = staff.key().keyKind() == KeyKind::None ? 0 : static_cast<int>(staff.key().keyCount());
    return LineStartKeyEnd(start, count, KeyAccidentalAdvance(s.accidentalWidth, 2 * s.stepUnit), s.stepUnit);
}

int PlaceKeyChange(EditorContext& ctx, int x, const SpacingSettings& s) {
    ScoreDocument& doc = ctx.doc;
    const KeyInEffect& key = doc.insertion.key;
    ElementRecord* e = ElementAtCursor(ctx);
    if (!e || !e->isSignOfType(SignType::KeyChange)) {
        e = CreateSign(doc, x, 0, static_cast<int>(key.count), SignType::KeyChange, static_cast<unsigned>(key.kind));
        if (!e) return x;
    }
    WriteKeyChange(*e, key);
    doc.markModified();
    ctx.ui.invalidate();
    const KeyInEffect before = KeyInEffectAt(*doc.staff(), doc.currentElement - 1, x);
    const int advance = KeyAccidentalAdvance(s.accidentalWidth, 2 * s.stepUnit);
    return x + ShownAccidentals(before, key) * advance + 6 * s.stepUnit;
}

// A key typed right after the clef that opens the line, before any music, is the staff's own key even when the
// cursor has moved past the clef's room: it must reach the other staves of the block and the following lines.
bool OnlyLineStartSignsBefore(const StaffRecord& staff, int x) {
    const std::size_t music = AfterLineStartSigns(staff);
    if (music == 0) return false;
    const auto isKeyChange = [](const ElementRecord& e) { return e.isSignOfType(SignType::KeyChange); };
    const auto signs = std::span(staff.elements).first(music);
    if (std::any_of(signs.begin(), signs.end(), isKeyChange)) return false;
    return music >= staff.elements.size() || staff.elements[music].x >= x;
}

KeyAnswer RunKeyDialog(EditorContext& ctx) {
    DialogModel model = MakeKeyDialog(ctx.shell.keyDialog.number, ctx.shell.keyDialog.kind);
    if (!ctx.ui.runDialog(model)) return KeyAnswer::Cancelled;
    const int number = std::clamp(model.value("Nombre"), 0, maxCount);
    const int kind = model.checked("Dièse") ? 1 : model.checked("Bémol") ? 2 : 0;
    ctx.shell.keyDialog.number = number;
    if (kind != 0) ctx.shell.keyDialog.kind = kind;
    KeyInEffect& key = ctx.doc.insertion.key;
    if (kind != 0) key.kind = static_cast<KeyKind>(kind);
    if (number > 0) {
        key.count = static_cast<unsigned>(number);
        key.cancelled = false;
        return KeyAnswer::Key;
    }
    // No number: the key in force at the cursor is cancelled.
    const StaffRecord& staff = *ctx.doc.staff();
    key = KeyInEffectAt(staff, static_cast<int>(staff.elements.size()) - 1, ctx.shell.cursor.x);
    key.cancelled = true;
    return KeyAnswer::Cancelling;
}

void RunKeyCommand(EditorContext& ctx, int) {
    ScoreDocument& doc = ctx.doc;
    const StaffRecord* staff = doc.staff();
    if (!staff) return;
    if (doc.currentElement >= 0 && doc.currentElement < static_cast<int>(staff->elements.size()))
        doc.insertion.key = KeyInEffectAt(*staff, doc.currentElement,
                                          staff->elements[static_cast<std::size_t>(doc.currentElement)].x);
    if (RunKeyDialog(ctx) == KeyAnswer::Cancelled) return;
    // A key of neither sharps nor flats would be stored and never drawn: nothing to place.
    if (doc.insertion.key.kind == KeyKind::None) {
        ctx.ui.beep();
        return;
    }
    ctx.shell.cursor.x = PlaceKey(ctx, false, ctx.shell.cursor.x);
}

}  // namespace

DialogModel MakeKeyDialog(int number, int kind) {
    DialogModel m("Armure", "Armure");
    m.addInteger(0, "Nombre", 0, maxCount, number, 2);
    m.addRadio(0, "Dièse", 1, kind == 1);
    m.addRadio(0, "Bémol", 1, kind == 2);
    return m;
}

int PlaceKey(EditorContext& ctx, bool erase, int x) {
    ScoreDocument& doc = ctx.doc;
    const PageRecord* page = doc.page();
    const StaffRecord* staff = doc.staff();
    if (!page || !staff) return x;
    DocumentSpacing spacing(ctx.doc, ctx.shell.settings.distanceSteps);
    const SpacingSettings s = spacing.forStaff(*page, *staff);
    const int lineStartEnd = s.leftEdge + 3 * s.stepUnit + s.afterClef * s.stepUnit;
    if (x <= lineStartEnd || OnlyLineStartSignsBefore(*staff, x)) return PlaceStaffKey(ctx, erase, s);
    if (!erase) return PlaceKeyChange(ctx, x, s);
    // Only a key change is erased here: the command must not take a note or another sign with it.
    if (const ElementRecord* e = ElementAtCursor(ctx); e && e->isSignOfType(SignType::KeyChange)) DeleteAtCursor(ctx);
    return x;
}

void RegisterKeyCommands(CommandRegistry& registry) {
    registry.addCommand(keyCommand, RunKeyCommand);
    registry.addCommand(eraseKeyCommand, [](EditorContext& ctx, int) {
        ctx.shell.cursor.x = PlaceKey(ctx, true, ctx.shell.cursor.x);
    });
}

}  // namespace notavera
