// Special bars, braces and straight brackets put at the cursor: bar-line signs whose code the bar drawing reads.
#include "edit/special_bar_entry.h"

#include <algorithm>
#include <optional>

#include "edit/entry_cursor.h"
#include "render/entry_distances.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

// How many staves below its own a brace or bracket joins: the rest of the staff's group, else the next staff.
int StavesToJoin(ScoreDocument& doc) {
    const PageRecord& page = *doc.page();
    const StaffRecord& staff = *doc.staff();
    const int position = static_cast<int>(staff.voice().positionInGroup());
    const int size = static_cast<int>(staff.voice().groupSize());
    const int below = static_cast<int>(page.staves.size()) - 1 - doc.currentStaff;
    const int group = position >= 1 && size > position ? size - position : 1;
    return std::min(group, below);
}

// The bar's code: its character for a bar, the count of joined staves for a brace, negated for a bracket.
std::optional<int> SpecialBarCode(ScoreDocument& doc) {
    const InsertionState& ins = doc.insertion;
    if (ins.specialBarBracket == 0) return static_cast<int>(static_cast<unsigned char>(ins.specialBar));
    const int joined = StavesToJoin(doc);
    if (joined <= 0) return std::nullopt;
    return ins.specialBarBracket > 0 ? joined : -joined;
}

}  // namespace

void InsertSpecialBar(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.page() || !doc.staff()) return;
    const std::optional<int> code = SpecialBarCode(doc);
    if (!code) {
        ctx.ui.beep();
        return;
    }
    if (NoteOrRestAtCursor(ctx)) ctx.shell.cursor.x += DefaultElementSpacing(ctx.doc);
    if (!CreateSign(doc, ctx.shell.cursor.x, 0, *code, SignType::Bar, 0)) return;
    ctx.ui.invalidate();
    AdvancePastSign(ctx, DistanceAfterBar(ctx.doc, ctx.shell.settings.distanceSteps));
}

void RegisterSpecialBarCharacter(CommandRegistry& registry) {
    registry.addChar('E', [](EditorContext& ctx, int) { InsertSpecialBar(ctx); });
}

}  // namespace notavera
