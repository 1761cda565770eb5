// Rhythmic groups entered with G and g: the group marks of word0 and the proportion of word1.
#include "edit/rhythmic_group_entry.h"

#include "edit/entry_cursor.h"
#include "score/group_marks.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/fraction_dialog.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

void SetProportion(ElementRecord& e, unsigned num, unsigned den) {
    e.w1().setNumerator(num);
    e.w1().setDenominator(den);
}

// The first element of the group ending at `last`: the nearest first mark before it on the staff, or, when the
// group began on an earlier line, the element after the last group that closed on this staff.
int GroupFirst(const StaffRecord& staff, int last) {
    for (int i = last; i >= 0; --i) {
        const unsigned mark = staff.elements[static_cast<std::size_t>(i)].w0().groupMark();
        if ((mark & groupFirstMark) != 0) return i;
        if (i < last && (mark & groupLastMark) != 0) return i + 1;
    }
    return 0;
}

}  // namespace

void OpenRhythmicGroup(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    InsertionState& ins = doc.insertion;
    ShellState& shell = ctx.shell;
    const std::optional<Fraction> f =
        RunFractionDialog(ctx, {static_cast<int>(shell.input.groupNum), static_cast<int>(shell.input.groupDen)});
    if (!f) return;
    shell.input.groupNum = static_cast<unsigned>(f->num);
    shell.input.groupDen = static_cast<unsigned>(f->den);
    ins.switches |= SwitchGroup;
    ins.proportionNum = shell.input.groupNum;
    ins.proportionDen = shell.input.groupDen;
    if (ElementRecord* e = NoteOrRestAtCursor(ctx)) {
        MarkGroupFirst(*e);
        SetProportion(*e, ins.proportionNum, ins.proportionDen);
        doc.markModified();
        ctx.ui.invalidate();
    } else {
        ins.word0Once |= groupFirstWord0Bit;
    }
    UpdateTitleBar(ctx);
}

void CloseRhythmicGroup(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    InsertionState& ins = doc.insertion;
    if ((ins.switches & SwitchGroup) == 0) return;
    // The group's fraction is the shell's: the cursor also takes it from a group note it lands on.
    const unsigned num = ctx.shell.input.groupNum;
    const unsigned den = ctx.shell.input.groupDen;
    const bool noneEntered = (ins.word0Once & groupFirstWord0Bit) != 0;
    ins.switches &= ~SwitchGroup;
    ins.word0Once &= ~groupFirstWord0Bit;
    ins.proportionNum = 1;
    ins.proportionDen = 1;
    const int last = LastNoteAtOrBeforeCursor(ctx, false);
    if (noneEntered || last < 0) return;
    StaffRecord& staff = *doc.staff();
    for (int i = GroupFirst(staff, last); i <= last; ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isSign()) SetProportion(e, num, den);
    }
    MarkGroupLast(staff.elements[static_cast<std::size_t>(last)]);
    doc.markModified();
    ctx.ui.invalidate();
}

void RegisterRhythmicGroupCharacters(CommandRegistry& registry) {
    registry.addChar('G', [](EditorContext& ctx, int) { OpenRhythmicGroup(ctx); });
    registry.addChar('g', [](EditorContext& ctx, int) { CloseRhythmicGroup(ctx); });
}

}  // namespace notavera
