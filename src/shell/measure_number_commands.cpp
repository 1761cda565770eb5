// The measure-numbering commands and the "MesureNo" dialog.
#include "shell/measure_number_commands.h"

#include "edit/bar_numbers.h"
#include "render/page_staves.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/outils_commands.h"

namespace notavera {
namespace {

constexpr int offsetChars = 5;
constexpr int maxOffset = 99999;
constexpr const char* offsetField = "Mesure initiale";

}  // namespace

DialogModel MakeMeasureNumberDialog(EditorContext& ctx) {
    DialogModel model("MesureNo", "No de Mesure");
    model.addInteger(0, offsetField, 0, maxOffset, ctx.doc.measureNumberOffset, offsetChars);
    model.onChange = [&ctx](DialogModel& m, const DialogField&) { ctx.doc.measureNumberOffset = m.value(offsetField); };
    return model;
}

void NumberMeasures(EditorContext& ctx, bool erase) {
    MeasureNumbering numbering{0, ctx.doc.measureNumberOffset};
    ChangePagesToMarker(ctx, [&](PageRecord& page, bool) {
        return NumberMeasuresOfPage(page, MetricsOfPage(ctx.doc, page), numbering, erase);
    });
}

void RegisterMeasureNumberCommands(CommandRegistry& registry) {
    registry.addCommand(
        cmd::NumberMeasures,
        [](EditorContext& ctx, int) {
            DialogModel model = MakeMeasureNumberDialog(ctx);
            if (ctx.ui.runDialog(model)) NumberMeasures(ctx, false);
        },
        UndoPolicy::Step);
    registry.addCommand(cmd::EraseMeasureNumbers, [](EditorContext& ctx, int) { NumberMeasures(ctx, true); },
                        UndoPolicy::Step);
}

}  // namespace notavera
