// The head-shape, staccato-accent and special-bar dialogs: one radio group each, read back on OK.
#include "print/note_options_dialogs.h"

#include <string_view>

#include "score/score_document.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int choiceGroup = 1;

constexpr std::array<std::string_view, 8> headShapes{"Normale",     "Losange vide", "Losange plein", "Forme de x",
                                                     "Asterisque",  "Pas de tête",  "Option libre",  "Sans Queue"};

struct SpecialBar {
    std::string_view label;
    char sign;    // the bar-line sign, 0 for a brace or bracket
    int bracket;  // 1 brace, −1 opening straight bracket, 0 a bar
};

constexpr std::array<SpecialBar, 8> specialBars{{{"Barre finale", 'E', 0},
                                                 {"Reprise double :||:", 'R', 0},
                                                 {"Reprise du début :|", 'F', 0},
                                                 {"Reprise de la suite |:", 'O', 0},
                                                 {"Double barre ||", 'D', 0},
                                                 {"Barre d'entrée ", 'I', 0},
                                                 {"Accolade", 0, 1},
                                                 {"Droite ouvrante", 0, -1}}};

// The index of the chosen button of the dialog's only radio group, −1 when none is.
int chosenIndex(const DialogModel& model) {
    int index = 0;
    for (const DialogField& f : model.fields()) {
        if (f.kind != FieldKind::Radio) continue;
        if (f.value != 0) return index;
        ++index;
    }
    return -1;
}

}  // namespace

DialogModel makeNoteHeadDialog(ScoreDocument& doc) {
    DialogModel m("TeteNote", "Têtes de Notes");
    for (std::size_t i = 0; i < headShapes.size(); ++i)
        m.addRadio(0, std::string(headShapes[i]), choiceGroup, doc.insertion.headShape == i);
    m.addCheck(0, "Blanches crochées...", doc.settings.halvesWithFlags);
    m.onChange = [&doc](DialogModel&, const DialogField& changed) {
        if (changed.kind != FieldKind::Check) return;
        doc.settings.halvesWithFlags = changed.value != 0;
        doc.markModified();
    };
    return m;
}

void acceptNoteHeadDialog(const DialogModel& model, ScoreDocument& doc) {
    if (const int i = chosenIndex(model); i >= 0) doc.insertion.headShape = static_cast<unsigned>(i);
}

DialogModel makeAccentDialog(const ScoreDocument& doc) {
    DialogModel m("TypeStaccato", "Accents (Commande Staccato)");
    for (std::size_t i = 0; i < accentOfButton.size(); ++i)
        m.addRadio(firstAccentBitmap + static_cast<int>(i), "", choiceGroup,
                   accentOfButton[i] == doc.insertion.accentType);
    return m;
}

void acceptAccentDialog(const DialogModel& model, ScoreDocument& doc) {
    if (const int i = chosenIndex(model); i >= 0)
        doc.insertion.accentType = accentOfButton[static_cast<std::size_t>(i)];
}

DialogModel makeSpecialBarDialog(const ScoreDocument& doc) {
    DialogModel m("TypeBarre", "Barres spéciales");
    for (const SpecialBar& bar : specialBars) {
        const bool on = doc.insertion.specialBarBracket != 0 ? bar.bracket == doc.insertion.specialBarBracket
                                                             : bar.sign == doc.insertion.specialBar;
        m.addRadio(0, std::string(bar.label), choiceGroup, on);
    }
    m.addCheck(0, "Par portées individuelles", doc.settings.barsPerStaff);
    return m;
}

void acceptSpecialBarDialog(const DialogModel& model, ScoreDocument& doc) {
    if (const int i = chosenIndex(model); i >= 0) {
        const SpecialBar& bar = specialBars[static_cast<std::size_t>(i)];
        if (bar.bracket == 0) doc.insertion.specialBar = bar.sign;
        doc.insertion.specialBarBracket = bar.bracket;
    }
    doc.settings.barsPerStaff = model.checked("Par portées individuelles");
}

namespace {

template <typename Accept>
int runOn(EditorContext& ctx, DialogModel model, Accept accept) {
    if (!ctx.ui.runDialog(model)) return 0;
    accept(model, ctx.doc);
    return 1;
}

}  // namespace

int RunNoteHeadDialog(EditorContext& ctx) { return runOn(ctx, makeNoteHeadDialog(ctx.doc), acceptNoteHeadDialog); }
int RunAccentDialog(EditorContext& ctx) { return runOn(ctx, makeAccentDialog(ctx.doc), acceptAccentDialog); }
int RunSpecialBarDialog(EditorContext& ctx) {
    return runOn(ctx, makeSpecialBarDialog(ctx.doc), acceptSpecialBarDialog);
}

}  // namespace notavera
