// Region commands: finding the region the markers hold, the undo step, the change, and using the region up.
#include "shell/region_commands.h"

#include <array>

#include "edit/octave_line_entry.h"
#include "print/note_options_dialogs.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/cursor_frame.h"
#include "shell/editor_context.h"
#include "shell/zone.h"

namespace notavera {

namespace {

constexpr std::array<int, 8> menuAttributes{cmd::HideAccidentals, cmd::FlipStaccatos, cmd::FlipGroupMarks,
                                            cmd::HideRests,       cmd::HideDots,      cmd::RevealAccidentals,
                                            cmd::RevealRests,     cmd::RevealDots};

struct OctaveLineCommand {
    int command;
    unsigned code;
};
constexpr std::array<OctaveLineCommand, 5> octaveLineCommands{{{cmd::OttavaAlta, 1},
                                                                {cmd::QuindicesimaAlta, 2},
                                                                {cmd::OttavaBassa, 3},
                                                                {cmd::QuindicesimaBassa, 4},
                                                                {cmd::EraseOctaveLines, 0}}};

// Runs `change` over the region after the action's undo step, then clears the region and marker Y.
template <typename Change>
bool OverRegion(EditorContext& ctx, Change change) {
    const std::optional<ShellRegion> region = CurrentRegion(ctx);
    if (!region) return false;
    SaveOwnStepOfAction(ctx);
    ApplyToRegion(*region->page, region->bounds, change);
    ctx.doc.markModified();
    ClearZone(ctx);
    ctx.ui.invalidate();
    return true;
}

void DrawOctaveLine(EditorContext& ctx, unsigned code) {
    const std::optional<CursorFrame> frame = CursorFrameOf(ctx.doc);
    OctaveLabelMeasures measures;
    if (frame) measures = {2 * frame->halfSpace, frame->staffHeight};
    OverRegion(ctx, [&](StaffRecord& staff, const RegionSpan& span) { OctaveLine(staff, span, code, measures); });
}

// The head shape chosen in "Têtes de Notes" goes to every note of the region.
void ChooseHeadShapes(EditorContext& ctx) {
    if (!RunNoteHeadDialog(ctx)) return;
    const unsigned shape = ctx.doc.insertion.headShape;
    OverRegion(ctx, [shape](StaffRecord& staff, const RegionSpan& span) { SetHeadShapes(staff, span, shape); });
}

// The staccato kind chosen in "Accents (Commande Staccato)" goes to every note of the region, as a staccato.
void ChooseStaccatos(EditorContext& ctx) {
    if (RunAccentDialog(ctx)) ChangeRegion(ctx, region_id::Staccato, 1);
}

}  // namespace

std::optional<ShellRegion> CurrentRegion(EditorContext& ctx) {
    const CursorState& c = ctx.shell.cursor;
    if (!c.zone.marked()) return std::nullopt;
    if (c.zoneRect.shown && c.zone.last >= 0) {
        PageRecord* page = ctx.doc.findPage(c.zone.page);
        if (page == nullptr) return std::nullopt;
        return ShellRegion{page,
                           {{c.zone.startStaff, c.zone.start},
                            {c.zone.lastStaff, c.zone.last},
                            RegionXRange{c.zoneRect.left, c.zoneRect.right}}};
    }
    PageRecord* page = ctx.doc.page();
    if (page == nullptr || c.zone.page != ctx.doc.currentPage) return std::nullopt;
    return ShellRegion{page, {{ctx.doc.currentStaff, ctx.doc.currentElement}, {c.zone.startStaff, c.zone.start}, {}}};
}

bool ChangeRegion(EditorContext& ctx, int id, unsigned value) {
    const AttributeSource source{ctx.doc.insertion.noteWordFlags, ctx.doc.insertion.accentType};
    return OverRegion(ctx, [&](StaffRecord& staff, const RegionSpan& span) {
        RegionAttribute(staff, span, id, value, source);
    });
}

void RegisterRegionCommands(CommandRegistry& r) {
    // Each saves its step once it knows the region exists: without marker Y nothing happens, not even a step.
    for (const int command : menuAttributes)
        r.addCommand(command, [](EditorContext& ctx, int id) { ChangeRegion(ctx, id, 0); });
    for (const OctaveLineCommand& c : octaveLineCommands)
        r.addCommand(c.command, [code = c.code](EditorContext& ctx, int) { DrawOctaveLine(ctx, code); });
    r.addCommand(cmd::NoteHeads, [](EditorContext& ctx, int) { ChooseHeadShapes(ctx); });
    r.addCommand(cmd::StaccatoType, [](EditorContext& ctx, int) { ChooseStaccatos(ctx); });
}

}  // namespace notavera
