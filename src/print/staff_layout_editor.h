// The staff-layout dialog ("Regleur") as a model: the working copy of the staff-layout model, its ruler, the
// buttons that spread, rejoin and superpose staves, and the dialog's fields as a DialogModel named "Regleur".
//
// Scripts drive it with `answer Regleur field=value … ok|cancel`. Fields by control id: 111–121 the ruler modes
// (radio buttons), 691 "Ecarter/réunir portées" and 692 "Superposer portées (md/mg)" (typing 1 presses the
// button), 694 and 693 the two group sizes, 109 "Ajout entre accolades" (the typed value is added at once),
// 280 and 281 the page range. By label: "Nombre de portées", "Définition (mm/10)", "Indentation (mm)",
// "Longueur de ligne (mm)", "Marge supérieure (INTERL)", "Ecart moyen entre portées", "Ajout entre systèmes",
// "Lignes", "Copier Définition seulement".
// The ruler itself is field 110: its text is a list of actions separated by spaces, run in order in the current
// mode: a number n is a press (and release) on staff n (from 1); Up, Down, V, C, M, N, Space, Plus, Minus,
// Decimal, Num1, Num3, Num7 and Num9 are the keys. E.g. `answer Regleur 113=1 110="2 4" ok` groups staves 2–4
// as a system. An action the ruler does not know beeps.
#pragma once

#include <string_view>

#include "platform/dialog_model.h"
#include "print/staff_ruler.h"

namespace notavera {

class ScoreDocument;
class UiServices;
struct StaffLayoutMemory;

// The sheet a staff ruler of the document shows: its page size, top and left offsets and staff size ratios.
RulerSheet RulerSheetOf(const ScoreDocument& doc);

// Why the dialog is opened: the first page of a new document, a new page, or the current page (with copying
// to a range of pages).
enum class StaffLayoutPurpose { FirstPage, NewPage, ModifyPage };

class StaffLayoutEditor {
public:
    // The working model starts as a copy of the document's; the ruler starts in the remembered mode.
    StaffLayoutEditor(const ScoreDocument& doc, StaffLayoutPurpose purpose, StaffLayoutMemory& memory,
                      UiServices& ui);
    StaffLayoutEditor(const StaffLayoutEditor&) = delete;
    StaffLayoutEditor& operator=(const StaffLayoutEditor&) = delete;

    StaffLayoutModel& model() { return model_; }
    const StaffLayoutModel& model() const { return model_; }
    StaffRuler& ruler() { return ruler_; }
    const StaffRuler& ruler() const { return ruler_; }
    StaffLayoutPurpose purpose() const { return purpose_; }
    // The fewest staves the model may have: those of the edited page up to the last one holding elements.
    int stavesInUse() const { return stavesInUse_; }
    bool spread() const;

    // "Ecarter/réunir portées" (691).
    void spreadOrRejoin();
    // "Superposer portées (md/mg)" (692): groups of `left` and `right` staves alternate, each superposed on its
    // first staff.
    void superpose(int left, int right);
    // Adds v to the distance of every staff after the first that starts a block or brace group ("Ajout entre
    // accolades", 109) or a system ("Ajout entre systèmes"), where the result stays a real distance.
    void addBeforeBlocks(int v);
    void addBeforeSystems(int v);
    // "Nombre de portées": false (with a beep) below the staves in use.
    bool setStaffCount(int n);
    // "Ecart moyen entre portées": the distance of every staff after the first.
    void setAverageGap(int gap);
    int averageGap() const;
    // Runs the actions of a ruler script (see the top of this file).
    void runRulerScript(std::string_view actions);
    // A refused ruler action beeps.
    void heard(RulerResult r);

    // The dialog's fields from the working model and the remembered values; its reactions edit this editor, which
    // must outlive it.
    DialogModel makeDialog(int pageCount, int currentPage);
    // Shows the values that follow from the model again (top margin, mean gap, bottom margin, status line).
    void refresh(DialogModel& dialog) const;
    // OK: keeps the dialog's values for the next opening.
    void remember(const DialogModel& dialog);

private:
    void react(DialogModel& dialog, const DialogField& changed);

    StaffLayoutModel model_;
    StaffRuler ruler_;
    StaffLayoutPurpose purpose_;
    StaffLayoutMemory& memory_;
    UiServices& ui_;
    int page_ = 0;
    int stavesInUse_ = 1;
};

// Labels of the fields that have no control id.
namespace regleur_field {
inline constexpr std::string_view staffCount = "Nombre de portées";
inline constexpr std::string_view definition = "Définition (mm/10)";
inline constexpr std::string_view indentation = "Indentation (mm)";
inline constexpr std::string_view lineLength = "Longueur de ligne (mm)";
inline constexpr std::string_view topMargin = "Marge supérieure (INTERL)";
inline constexpr std::string_view averageGap = "Ecart moyen entre portées";
inline constexpr std::string_view addBeforeSystems = "Ajout entre systèmes";
inline constexpr std::string_view lines = "Lignes";
inline constexpr std::string_view copyDefinitionOnly = "Copier Définition seulement";
inline constexpr std::string_view bottomMargin = "Marge inférieure (mm):";
inline constexpr std::string_view status = "Etat";
}  // namespace regleur_field

// Control ids of the dialog.
namespace regleur_id {
inline constexpr int addBeforeBlocks = 109;
inline constexpr int ruler = 110;
inline constexpr int copyFrom = 280;
inline constexpr int copyTo = 281;
inline constexpr int spread = 691;
inline constexpr int superpose = 692;
inline constexpr int superposeRight = 693;
inline constexpr int superposeLeft = 694;
}  // namespace regleur_id

}  // namespace notavera
