// The horizontal advance that follows a note or rest when lines are respaced: a multiple of the step derived
// from its duration, proportion, dots and the spacing corrections.
#pragma once

#include "render/spacing_settings.h"

namespace notavera {

struct ElementRecord;

// Advance after the note or rest `e` with step `s`. Pure: depends only on the element's words and the rules.
int NoteAdvance(const ElementRecord& e, const AdvanceRules& rules, int s);

}  // namespace notavera
