// FindMeasure walks the pages through the page window, reading each line's first measure number and counting
// the measures the line holds; the "MesNo" dialog asks for the number.
#include "shell/measure_search.h"

#include <algorithm>
#include <vector>

#include "edit/bar_table.h"
#include "edit/measure_count.h"
#include "platform/dialog_model.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cross_staff.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"
#include "shell/page_navigation.h"
#include "shell/title_bar.h"

namespace notavera {
namespace {

constexpr int measureField = 48;
constexpr int maxMeasure = 99999;
// Where the search looks for an element to return to when none was current.
constexpr int noElementX = 50;

struct SearchStart {
    int page = 0;
    int staff = 0;
    int position = 1;  // the staff's position in its line
    int line = 0;      // the line's first staff
    int x = noElementX;
};

bool FirstOfLine(const StaffRecord& staff) { return staff.voice().positionInGroup() <= 1; }

int StaffCount(const PageRecord& page) { return static_cast<int>(page.staves.size()); }

// Where each measure after the line's first begins: at each bar position, and for a multi-bar rest its further
// measures all at the rest. Sorted by x.
std::vector<int> MeasureStarts(const PageRecord& page, int line) {
    std::vector<int> starts;
    for (const BarEntry& bar : BuildBarTable(page, line)) starts.push_back(bar.x);
    const StaffRecord& staff = page.staves[static_cast<std::size_t>(line)];
    for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isRest() || e.noteWord().durationCode() != NoteWordView<const std::uint32_t>::multiBarRestCode)
            continue;
        starts.insert(starts.end(), static_cast<std::size_t>(std::max(MultiBarRestCount(staff, i) - 1, 0)), e.x);
    }
    std::stable_sort(starts.begin(), starts.end());
    return starts;
}

// The cursor goes to x on the current staff, the element there or after it current.
void PlaceCursor(EditorContext& ctx, int x) {
    int snapped = x;
    SnapToElement(ctx.doc, snapped, true);
    ctx.shell.cursor.x = x;
    MoveCursor(ctx, MoveSnap);
}

// The cursor x of the measure `measuresIn` measures after the line's first: the line's first measure has no bar
// before it and begins where the staff does.
int MeasureX(EditorContext& ctx, int line, int measuresIn) {
    const std::vector<int> starts = measuresIn > 0 ? MeasureStarts(*ctx.doc.page(), line) : std::vector<int>{};
    if (!starts.empty()) return starts[static_cast<std::size_t>(std::min<int>(measuresIn, starts.size()) - 1)];
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    return f ? f->staffStart[static_cast<std::size_t>(ctx.doc.currentStaff)] : ctx.doc.defaultFirstX;
}

void Land(EditorContext& ctx, const SearchStart& from, int line, int measuresIn) {
    const PageRecord& page = *ctx.doc.page();
    const int groupSize = static_cast<int>(page.staves[static_cast<std::size_t>(line)].voice().groupSize());
    const int offset = std::min(from.position, std::max(groupSize, 1)) - 1;
    ctx.doc.currentStaff = std::min(line + offset, StaffCount(page) - 1);
    PlaceStaff(ctx, PlaceForget);
    PlaceCursor(ctx, MeasureX(ctx, line, measuresIn));
}

// Not found: the starting page, the starting staff, the first element at or after the one that was current.
void ReturnToStart(EditorContext& ctx, const SearchStart& from) {
    if (ctx.doc.currentPage != from.page) GoToPage(ctx, from.page);
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || page->staves.empty()) return;
    ctx.doc.currentStaff = std::min(from.staff, StaffCount(*page) - 1);
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(ctx.doc.currentStaff)] : ctx.doc.defaultFirstX;
    PlaceCursor(ctx, ReplaceOnStaff(ctx.doc, Replace::AtOrAfterX, from.x, start));
}

// The first line from `first` on whose measures hold n, on the current page.
std::optional<std::pair<int, int>> LineHolding(const PageRecord& page, int first, int n) {
    for (int s = std::max(first, 0); s < StaffCount(page); ++s) {
        const StaffRecord& staff = page.staves[static_cast<std::size_t>(s)];
        if (!FirstOfLine(staff)) continue;
        const std::optional<int> m = MeasureNumberOf(staff);
        if (!m || n < *m) continue;
        const long long last = static_cast<long long>(*m) + MeasuresOfLine(page, s) - 1;
        if (n <= last) return std::pair{s, n - *m};
    }
    return std::nullopt;
}

}  // namespace

bool FindMeasure(EditorContext& ctx, int n) {
    ScoreDocument& doc = ctx.doc;
    const StaffRecord* staff = doc.staff();
    if (staff == nullptr) return false;
    SearchStart from;
    from.page = doc.currentPage;
    from.staff = doc.currentStaff;
    from.position = std::max(static_cast<int>(staff->voice().positionInGroup()), 1);
    from.line = std::max(from.staff - (from.position - 1), 0);
    if (const ElementRecord* e = doc.element()) from.x = e->x;

    for (int p = from.page; p <= doc.pageCount; ++p) {
        if (p != doc.currentPage && !GoToPage(ctx, p)) break;
        if (const auto found = LineHolding(*doc.page(), p == from.page ? from.line : 0, n)) {
            Land(ctx, from, found->first, found->second);
            return true;
        }
    }
    ReturnToStart(ctx, from);
    return false;
}

bool GoToMeasure(EditorContext& ctx) {
    if (ctx.doc.staff() == nullptr) return false;
    DialogModel model("MesNo", "Aller Mesure no");
    model.addInteger(measureField, "Aller Mesure no", 1, maxMeasure, ctx.shell.dialogs.lastMeasureSought, 5);
    if (!ctx.ui.runDialog(model)) return false;
    ctx.shell.dialogs.lastMeasureSought = model.value(std::to_string(measureField));
    ctx.ui.invalidate();
    const bool found = FindMeasure(ctx, ctx.shell.dialogs.lastMeasureSought);
    UpdateTitleBar(ctx);
    return found;
}

void RegisterMeasureSearchCommand(CommandRegistry& r) {
    r.addCommand(cmd::GoToMeasure, [](EditorContext& ctx, int) {
        LeaveEntryModes(ctx);
        GoToMeasure(ctx);
    });
}

}  // namespace notavera
