// The "Fraction" dialog: a numerator and a denominator, each 1..99 (three characters typed at most). The zoom
// "&AUTRE" and the rhythmic group of the character G ask through it.
#pragma once

#include <optional>

#include "platform/dialog_model.h"

namespace notavera {

struct EditorContext;

struct Fraction {
    int num = 1;
    int den = 1;
};

DialogModel MakeFractionDialog(Fraction shown);
// The pair accepted with OK, nothing on "Annuler".
std::optional<Fraction> RunFractionDialog(EditorContext& ctx, Fraction shown);

}  // namespace notavera
