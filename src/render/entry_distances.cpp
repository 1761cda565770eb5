// Cursor distances for note entry.
#include "render/entry_distances.h"

#include <algorithm>

#include "render/document_spacing.h"
#include "render/note_advance.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

int Step(const EditorContext& ctx) { return std::max(ctx.doc.spacingStep, 1); }

AdvanceRules RulesOf(const EditorContext& ctx) {
    AdvanceRules r;
    r.aesthetic = ctx.doc.settings.aestheticCorrection ? 1 : 0;
    r.polyphony = ctx.doc.settings.polyphonyCorrection ? 1 : 0;
    return r;
}

}  // namespace

int CursorAdvanceAfterNote(const EditorContext& ctx, const ElementRecord& e) {
    if (e.isSign()) return DefaultElementSpacing(ctx);
    return NoteAdvance(e, RulesOf(ctx), Step(ctx));
}

int DefaultElementSpacing(const EditorContext& ctx) { return 3 * Step(ctx); }

int DistanceAfterBar(const EditorContext& ctx) { return ctx.shell.settings.barDistanceSteps * Step(ctx); }

int DistanceAfterClef(const EditorContext& ctx) { return ctx.shell.settings.clefDistanceSteps * Step(ctx); }

int DistanceAfterTimeSignature(const EditorContext& ctx, const PageRecord& page, const StaffRecord& staff, int index) {
    const int distance = ctx.shell.settings.meterDistanceSteps * Step(ctx);
    if (index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return distance;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!e.isSignOfType(SignType::TimeSignature) || e.w0().hidden()) return distance;
    DocumentSpacing source(ctx);
    const SpacingSettings s = source.forStaff(page, staff);
    return std::max(s.timeSignatureEnd(staff, index) - e.x, 0) + distance;
}

int InsertionBoxGap(const EditorContext& ctx) {
    ElementRecord note;
    note.noteWord().setDurationCode(std::min(ctx.doc.insertion.durationCode, 10u));
    note.noteWord().setDots(std::min(ctx.doc.insertion.dots, 3u));
    return CursorAdvanceAfterNote(ctx, note);
}

}  // namespace notavera
