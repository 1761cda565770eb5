// The "Fraction" dialog model and its run.
#include "shell/fraction_dialog.h"

#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int minTerm = 1;
constexpr int maxTerm = 99;
constexpr int termChars = 3;

}  // namespace

DialogModel MakeFractionDialog(Fraction shown) {
    DialogModel model("Fraction", "Fraction");
    model.addInteger(0, "Numérateur", minTerm, maxTerm, shown.num, termChars);
    model.addInteger(0, "Dénominateur", minTerm, maxTerm, shown.den, termChars);
    return model;
}

std::optional<Fraction> RunFractionDialog(EditorContext& ctx, Fraction shown) {
    DialogModel model = MakeFractionDialog(shown);
    if (!ctx.ui.runDialog(model)) return std::nullopt;
    return Fraction{model.value("Numérateur"), model.value("Dénominateur")};
}

}  // namespace notavera
