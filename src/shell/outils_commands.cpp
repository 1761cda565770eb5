// The stretch commands of the "Outils" menu and their neighbours: rests centred and set at their height, bar lines
// brought back, reference values erased, clefs replaced, proportions changed.
#include "shell/outils_commands.h"

#include <algorithm>
#include <optional>

#include "edit/automatic_beams.h"
#include "edit/bar_recall.h"
#include "edit/clef_replacement.h"
#include "edit/extreme_notes.h"
#include "edit/line_joining.h"
#include "edit/proportions.h"
#include "edit/reference_values.h"
#include "edit/rest_centring.h"
#include "edit/voice_table.h"
#include "platform/dialog_model.h"
#include "shell/attributes_dialog.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"
#include "shell/fraction_dialog.h"
#include "shell/page_navigation.h"
#include "shell/title_bar.h"
#include "shell/zone.h"

namespace notavera {

namespace {

int LastIndex(const StaffRecord& staff) { return static_cast<int>(staff.elements.size()) - 1; }

// Where a command over pages found the cursor, to put it back there.
struct StartPlace {
    int page = 0;
    int staff = 0;
    int x = 0;
};

void ReturnTo(EditorContext& ctx, const StartPlace& from) {
    if (ctx.doc.currentPage == from.page) return;
    if (!GoToPage(ctx, from.page)) return;
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || page->staves.empty()) return;
    ctx.doc.currentStaff = std::min(from.staff, static_cast<int>(page->staves.size()) - 1);
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(ctx.doc.currentStaff)] : ctx.doc.defaultFirstX;
    ctx.shell.cursor.x = ReplaceOnStaff(ctx.doc, Replace::AtOrAfterX, from.x, start);
}

// The first element of the staff at or after x.
int FirstAtOrAfter(const StaffRecord& staff, int x) {
    const auto it =
        std::find_if(staff.elements.begin(), staff.elements.end(), [x](const ElementRecord& e) { return e.x >= x; });
    return static_cast<int>(it - staff.elements.begin());
}

void Changed(EditorContext& ctx, int count) {
    if (count == 0) return;
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

// The clef number of the clef in force at the cursor: the clef at the cursor, or the last clef before it on the
// staff; nothing before any clef.
std::optional<unsigned> ClefAtCursor(const ScoreDocument& doc, int x) {
    const PageRecord* page = doc.findPage(doc.currentPage);
    if (page == nullptr || doc.currentStaff >= static_cast<int>(page->staves.size())) return std::nullopt;
    std::optional<unsigned> clef;
    for (const ElementRecord& e : page->staves[static_cast<std::size_t>(doc.currentStaff)].elements)
        if (e.x <= x && e.isSignOfType(SignType::Clef)) clef = e.signWord().code();
    return clef;
}

int CursorX(EditorContext& ctx) {
    const ElementRecord* e = ctx.doc.element();
    return e ? std::min(e->x, ctx.shell.cursor.x) : ctx.shell.cursor.x;
}

void ReplaceClefsOfVoice(EditorContext& ctx) {
    const std::optional<unsigned> clef = ClefAtCursor(ctx.doc, CursorX(ctx));
    if (!clef) {
        ctx.ui.beep();
        return;
    }
    ChangeToPageMarker(ctx, StaffScope::CurrentVoice,
                       [clef](StaffRecord& s, int first, int last) { return ReplaceClefs(s, first, last, *clef); });
}

void ChangeRegionProportions(EditorContext& ctx, ProportionChange change) {
    if (RegionSpans(ctx).empty()) {
        ctx.ui.beep();
        return;
    }
    Fraction fraction;
    if (change != ProportionChange::Remove) {
        const InsertionState& in = ctx.doc.insertion;
        const std::optional<Fraction> chosen =
            RunFractionDialog(ctx, {static_cast<int>(in.proportionNum), static_cast<int>(in.proportionDen)});
        if (!chosen) return;
        fraction = *chosen;
    }
    ChangeRegion(ctx, [change, fraction](StaffRecord& s, int first, int last) {
        return ChangeProportions(s, first, last, change, static_cast<unsigned>(fraction.num),
                                 static_cast<unsigned>(fraction.den));
    });
}

StaffChange CentreRests(const EditorContext& ctx) {
    const int halfWidth = ctx.doc.stepUnit;  // about half the width of a whole rest
    return [halfWidth](StaffRecord& s, int first, int last) { return CentreBarRests(s, first, last, halfWidth); };
}

// "Tablature": the number of staves a system holds, asked in "NbVoixPortee", numbers the voices of every page up
// to the page marker.
void ApplyTablature(EditorContext& ctx) {
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return;
    DialogModel dialog("NbVoixPortee", "Voix par système");
    dialog.addInteger(0, "Nombre de voix", 1, maxStavesPerPage,
                      std::max(1, static_cast<int>(staff->voice().groupSize())), 3);
    if (!ctx.ui.runDialog(dialog)) return;
    const int n = dialog.value("Nombre de voix");
    ChangePagesToMarker(ctx, [n](PageRecord& page, bool) { return ApplyVoiceTable(page, n); });
}

// "A la ligne supérieure...": the current staff from the cursor's element on goes to the end of the line above in
// its voice; the cursor stays at the end of what is left.
void MoveToLineAbove(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    PageRecord* page = doc.page();
    const StaffRecord* staff = doc.staff();
    const int above = page && staff ? LineAbove(*page, doc.currentStaff) : -1;
    const int first = staff ? FirstAtOrAfter(*staff, CursorX(ctx)) : 0;
    if (above < 0 || first >= static_cast<int>(staff->elements.size())) {
        ctx.ui.beep();
        return;
    }
    MoveRestOfLine(*page, doc.currentStaff, first, above, 4 * doc.stepUnit, doc.defaultFirstX);
    ClearZone(ctx);
    const std::optional<CursorFrame> f = CursorFrameOf(doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(doc.currentStaff)] : doc.defaultFirstX;
    ctx.shell.cursor.x = ReplaceOnStaff(doc, Replace::Last, 0, start);
    Changed(ctx, 1);
}

}  // namespace

void ChangeCurrentLine(EditorContext& ctx, const StaffChange& change) {
    StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return;
    Changed(ctx, change(*staff, 0, LastIndex(*staff)));
}

void ChangeRegion(EditorContext& ctx, const StaffChange& change) {
    const std::vector<ZoneSpan> spans = RegionSpans(ctx);
    if (spans.empty()) {
        ctx.ui.beep();
        return;
    }
    // A marked rectangle may lie on another page of the window than the current one.
    const int pageNumber = ctx.shell.cursor.zone.marked() ? ctx.shell.cursor.zone.page : ctx.doc.currentPage;
    PageRecord* page = ctx.doc.findPage(pageNumber);
    int count = 0;
    for (const ZoneSpan& span : spans)
        if (page != nullptr && span.staff < static_cast<int>(page->staves.size()))
            count += change(page->staves[static_cast<std::size_t>(span.staff)], span.first, span.last);
    ClearZone(ctx);
    Changed(ctx, count);
    ctx.ui.invalidate();
}

void ChangePagesToMarker(EditorContext& ctx, const PageChange& change) {
    ScoreDocument& doc = ctx.doc;
    if (doc.staff() == nullptr) return;
    const StartPlace from{doc.currentPage, doc.currentStaff, CursorX(ctx)};
    int& marker = ctx.shell.cursor.markerPage;
    const int last = std::min(marker > 0 ? marker : doc.pageCount, doc.pageCount);
    // A mask page stands outside the page sequence: it is processed alone.
    const int through = ctx.shell.maskEditing ? from.page : last;
    for (int p = from.page; p == from.page || p <= through; ++p) {
        if (p != doc.currentPage && !GoToPage(ctx, p)) break;
        // Marked before the next page is reached: sliding the page window writes the modified pages out.
        if (change(*doc.page(), p == from.page) > 0) doc.markModified();
    }
    ReturnTo(ctx, from);
    marker = 0;
    UpdateTitleBar(ctx);
    ctx.ui.invalidate();
}

void ChangeToPageMarker(EditorContext& ctx, StaffScope scope, const StaffChange& change) {
    const StaffRecord* current = ctx.doc.staff();
    if (current == nullptr) return;
    const unsigned voice = current->voice().voice();
    const int fromStaff = ctx.doc.currentStaff;
    const int fromX = CursorX(ctx);
    ChangePagesToMarker(ctx, [&](PageRecord& page, bool firstPage) {
        int count = 0;
        for (int i = firstPage ? fromStaff : 0; i < static_cast<int>(page.staves.size()); ++i) {
            StaffRecord& staff = page.staves[static_cast<std::size_t>(i)];
            if (scope == StaffScope::CurrentVoice && staff.voice().voice() != voice) continue;
            const int first = firstPage && i == fromStaff ? FirstAtOrAfter(staff, fromX) : 0;
            count += change(staff, first, LastIndex(staff));
        }
        return count;
    });
}

void RegisterOutilsCommands(CommandRegistry& registry) {
    const auto toMarker = [](StaffScope scope, auto make) {
        return [scope, make](EditorContext& ctx, int) { ChangeToPageMarker(ctx, scope, make(ctx)); };
    };
    const auto onLine = [](auto make) {
        return [make](EditorContext& ctx, int) { ChangeCurrentLine(ctx, make(ctx)); };
    };
    const auto plain = [](int (*f)(StaffRecord&, int, int)) {
        return [f](const EditorContext&) { return StaffChange(f); };
    };
    registry.addCommand(
        cmd::Attributes, [](EditorContext& ctx, int) { RunAttributesDialog(ctx); }, UndoPolicy::Step);
    registry.addCommand(
        cmd::Tablature, [](EditorContext& ctx, int) { ApplyTablature(ctx); }, UndoPolicy::Step);
    registry.addCommand(
        cmd::ToLineAbove, [](EditorContext& ctx, int) { MoveToLineAbove(ctx); }, UndoPolicy::Step);
    registry.addCommand(cmd::CentreRestsOnLine, onLine(CentreRests), UndoPolicy::Step);
    registry.addCommand(cmd::CentreRestsToMarker, toMarker(StaffScope::All, CentreRests), UndoPolicy::Step);
    registry.addCommand(cmd::StandardRestHeight, toMarker(StaffScope::All, plain(SetStandardRestHeights)),
                        UndoPolicy::Step);
    registry.addCommand(cmd::BarsBackOnLine, onLine(plain(RecallBars)), UndoPolicy::Step);
    registry.addCommand(cmd::BarsBackToMarker, toMarker(StaffScope::All, plain(RecallBars)), UndoPolicy::Step);
    registry.addCommand(cmd::EraseReferenceValues, toMarker(StaffScope::All, plain(EraseReferenceValues)),
                        UndoPolicy::Step);
    registry.addCommand(cmd::ExtremeNotes, toMarker(StaffScope::All, plain(MarkExtremeNotes)), UndoPolicy::Step);
    registry.addCommand(cmd::BeamsToMarker, toMarker(StaffScope::All, plain(BeamByBeats)), UndoPolicy::Step);
    registry.addCommand(
        cmd::ReplaceClefs, [](EditorContext& ctx, int) { ReplaceClefsOfVoice(ctx); }, UndoPolicy::Step);
    const auto proportions = [](ProportionChange change) {
        return [change](EditorContext& ctx, int) { ChangeRegionProportions(ctx, change); };
    };
    registry.addCommand(cmd::InsertProportion, proportions(ProportionChange::Substitute), UndoPolicy::Step);
    registry.addCommand(cmd::CombineProportion, proportions(ProportionChange::Combine), UndoPolicy::Step);
    registry.addCommand(cmd::DeleteProportion, proportions(ProportionChange::Remove), UndoPolicy::Step);
}

}  // namespace notavera
