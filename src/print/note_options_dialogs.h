// The small choice dialogs of the insertion state: "Têtes de Notes", "Accents (Commande Staccato)" and
// "Barres spéciales".
#pragma once

#include <array>

#include "platform/dialog_model.h"

namespace notavera {

class ScoreDocument;
struct EditorContext;

// "Têtes de Notes": the head shape of the notes created next; "Blanches crochées..." is a document flag
// toggled at once, so the model keeps a reference to the document while it is shown.
DialogModel makeNoteHeadDialog(ScoreDocument& doc);
void acceptNoteHeadDialog(const DialogModel& model, ScoreDocument& doc);

// "Accents (Commande Staccato)": eight picture buttons, keyed by their bitmap numbers 1369–1376; the accent each
// gives, in the buttons' order.
inline constexpr int firstAccentBitmap = 1369;
inline constexpr std::array<unsigned, 8> accentOfButton{0, 1, 2, 5, 4, 3, 6, 7};
DialogModel makeAccentDialog(const ScoreDocument& doc);
void acceptAccentDialog(const DialogModel& model, ScoreDocument& doc);

// "Barres spéciales": the bar (or brace, or bracket) the special-bar command places next.
DialogModel makeSpecialBarDialog(const ScoreDocument& doc);
void acceptSpecialBarDialog(const DialogModel& model, ScoreDocument& doc);

// Show each dialog and apply it on OK: 1 on OK, 0 on "Annuler".
int RunNoteHeadDialog(EditorContext& ctx);
int RunAccentDialog(EditorContext& ctx);
int RunSpecialBarDialog(EditorContext& ctx);

}  // namespace notavera
