// Clef insertion from the "Clefs" menu.
#include "edit/clef_entry.h"

#include <array>

#include "edit/entry_cursor.h"
#include "render/entry_distances.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

struct ClefCommand {
    int command;
    int clef;
    int line;  // the staff line the clef sits on, kept as the sign's parameter
};
constexpr std::array<ClefCommand, 12> clefCommands{{
    {201, 1, 2}, {200, 2, 1}, {202, 3, 4}, {203, 4, 3}, {205, 5, 1}, {206, 6, 2},
    {208, 7, 3}, {207, 8, 4}, {209, 9, 2}, {204, 10, 5}, {585, 11, 5}, {594, 12, 3},
}};
constexpr std::uint32_t crossStaffMask = 3u << 14;

void RunClefCommand(EditorContext& ctx, int command) {
    if (const std::optional<int> clef = ClefOfCommand(command)) InsertClef(ctx, *clef);
}

}  // namespace

std::optional<int> ClefOfCommand(int command) {
    for (const ClefCommand& c : clefCommands)
        if (c.command == command) return c.clef;
    return std::nullopt;
}

void InsertClef(EditorContext& ctx, int clef) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.staff() || clef < 1 || clef > static_cast<int>(clefCommands.size())) return;
    // While the editor works on a staff moved to its neighbour's place, clefs would land on the wrong staff.
    if ((doc.insertion.word0Flags & crossStaffMask) != 0) return;
    if (const ElementRecord* old = ElementAtCursor(ctx); old && old->isSignOfType(SignType::Clef)) {
        StaffRecord& staff = *doc.staff();
        staff.elements.erase(staff.elements.begin() + doc.currentElement);
        doc.currentElement = doc.currentElement > 0 ? doc.currentElement - 1 : -1;
    }
    int line = 0;
    for (const ClefCommand& c : clefCommands)
        if (c.clef == clef) line = c.line;
    if (!CreateSign(doc, ctx.shell.cursor.x, line, clef, SignType::Clef, 0)) return;
    ctx.ui.invalidate();
    AdvancePastSign(ctx, DistanceAfterClef(ctx.doc, ctx.shell.settings.distanceSteps));
}

void RegisterClefCommands(CommandRegistry& registry) {
    for (const ClefCommand& c : clefCommands) registry.addCommand(c.command, RunClefCommand);
}

}  // namespace notavera
