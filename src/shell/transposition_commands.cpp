// The three transposition dialogs and the commands that run their operation on the region or the voice.
#include "shell/transposition_commands.h"

#include <optional>
#include <vector>

#include "edit/transposition.h"
#include "platform/dialog_model.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/outils_commands.h"
#include "shell/zone.h"

namespace notavera {

namespace {

struct TranspositionDialog {
    const char* name;
    const char* caption;
    int countId;
    const char* countLabel;
    int max;
    int positiveId;  // the button that keeps the count positive
    const char* positive;
    int negativeId;
    const char* negative;
    TranspositionChoice TranspositionMemory::*memory;
};

constexpr TranspositionDialog pitchDialog{"TranspHaut",      "Transposition", 252, "Nombre de degrés:", 15, 250,
                                          "Haut",            251,             "Bas", &TranspositionMemory::degrees};
constexpr TranspositionDialog durationDialog{
    "TranspDurees", "Transposition des Durées", 255, "Nombre d'échelons:", 10, 254, "Rapide", 253, "Lent",
    &TranspositionMemory::durations};
constexpr TranspositionDialog spaceDialog{
    "TransposEsp", "Insertion/Suppression d'espaces", 272, "Nombre d'espaces:", 15, 271, "Ajouter", 270, "Supprimer",
    &TranspositionMemory::spaces};

// The signed count chosen, remembered for the next opening; nothing on Cancel, which also takes the region's
// highlight away.
std::optional<int> RunTranspositionDialog(EditorContext& ctx, const TranspositionDialog& d) {
    TranspositionChoice& memory = ctx.shell.dialogs.transposition.*d.memory;
    DialogModel model(d.name, d.caption);
    model.addInteger(d.countId, d.countLabel, 0, d.max, memory.count, 2);
    model.addRadio(d.positiveId, d.positive, 1, memory.direction > 0);
    model.addRadio(d.negativeId, d.negative, 1, memory.direction < 0);
    if (!ctx.ui.runDialog(model)) {
        ClearZone(ctx);
        ctx.ui.invalidate();
        return std::nullopt;
    }
    memory.count = model.value(d.countLabel);
    if (model.checked(d.negative)) memory.direction = -1;
    else if (model.checked(d.positive)) memory.direction = 1;
    return memory.signedCount();
}

// The operation on the current staff line of every page from the current one to the page marker.
void ApplyToVoice(EditorContext& ctx, const StaffChange& change) {
    const int line = ctx.doc.currentStaff;
    ChangePagesToMarker(ctx, [&](PageRecord& page, bool) {
        if (line >= static_cast<int>(page.staves.size())) return 0;
        StaffRecord& staff = page.staves[static_cast<std::size_t>(line)];
        return change(staff, 0, static_cast<int>(staff.elements.size()) - 1);
    });
}

void Transpose(EditorContext& ctx, const TranspositionDialog& dialog, const std::function<StaffChange(int)>& make) {
    const bool region = !RegionSpans(ctx).empty();
    const std::optional<int> count = RunTranspositionDialog(ctx, dialog);
    if (!count) return;
    if (region) ChangeRegion(ctx, make(*count));
    else ApplyToVoice(ctx, make(*count));
}

void TransposePitches(EditorContext& ctx, int command) {
    const bool rests = ctx.doc.header.restTransposition() != 0;
    const int offset = command == cmd::TransposeKey ? keyTranspositionOffset : 0;
    Transpose(ctx, pitchDialog, [rests, offset](int count) -> StaffChange {
        return [rests, count = count < 0 ? count - offset : count + offset](StaffRecord& s, int first, int last) {
            return TransposePitch(s, first, last, count, rests);
        };
    });
}

void TransposeValues(EditorContext& ctx, int) {
    Transpose(ctx, durationDialog, [&ctx](int steps) -> StaffChange {
        return [&ctx, steps](StaffRecord& s, int first, int last) {
            return TransposeDurations(s, first, last, steps, ctx.ui);
        };
    });
}

// Space from the region's first element on, every staff of its system alike; without a region, the whole line
// of the voice on each page, by the count last chosen.
void SpaceRegularly(EditorContext& ctx, int) {
    const std::vector<ZoneSpan> spans = RegionSpans(ctx);
    const int step = ctx.doc.stepUnit;
    if (spans.empty()) {
        const int count = ctx.shell.dialogs.transposition.spaces.signedCount();
        if (count == 0) return;
        const int line = ctx.doc.currentStaff;
        ChangePagesToMarker(ctx, [&](PageRecord& page, bool) {
            if (line >= static_cast<int>(page.staves.size())) return 0;
            const StaffRecord& staff = page.staves[static_cast<std::size_t>(line)];
            return staff.elements.empty() ? 0 : InsertSpaces(page, line, staff.elements.front().x, count, step) != 0;
        });
        return;
    }
    const std::optional<int> count = RunTranspositionDialog(ctx, spaceDialog);
    if (!count) return;
    const int pageNumber = ctx.shell.cursor.zone.marked() ? ctx.shell.cursor.zone.page : ctx.doc.currentPage;
    PageRecord* page = ctx.doc.findPage(pageNumber);
    const ZoneSpan& first = spans.front();
    const ZoneSpan& last = spans.back();
    ClearZone(ctx);
    ctx.ui.invalidate();
    if (page == nullptr) return;
    const auto xOf = [page](int staff, int index) {
        return page->staves[static_cast<std::size_t>(staff)].elements[static_cast<std::size_t>(index)].x;
    };
    const int fromX = xOf(first.staff, first.first);
    if (fromX == xOf(last.staff, last.last)) return;
    if (InsertSpaces(*page, first.staff, fromX, *count, step) != 0) ctx.doc.markModified();
}

}  // namespace

void RegisterTranspositionCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::TransposePitches, TransposePitches, UndoPolicy::Step);
    registry.addCommand(cmd::TransposeKey, TransposePitches, UndoPolicy::Step);
    registry.addCommand(cmd::TransposeDurations, TransposeValues, UndoPolicy::Step);
    registry.addCommand(cmd::EvenSpacesToMarkerY, SpaceRegularly, UndoPolicy::Step);
}

}  // namespace notavera
