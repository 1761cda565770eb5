// The staff-layout dialog ("Régleur") on Qt: the staff ruler widget with its status line beside the dialog's
// fields, modes and buttons, every change typed into the dialog model as it happens.
#pragma once

#include <QDialog>
#include <vector>

#include "print/staff_layout_editor.h"

class QLabel;
class QWidget;

namespace notavera {

class RegleAffiche;

class StaffLayoutDialog final : public QDialog {
public:
    // The dialog edits `model` and `editor` in place; both must outlive it.
    StaffLayoutDialog(DialogModel& model, StaffLayoutEditor& editor, QWidget* parent);

    RegleAffiche* ruler() const { return ruler_; }
    // Types into a field as the user would (a field named as scripts name it, the ruler's actions in field 110) and
    // shows the result: false when the field does not exist or refused the text.
    bool type(std::string_view key, std::string_view text);
    // Shows the dialog modally: true for OK, false for "Annuler".
    bool run();

private:
    QWidget* makeEditor(std::size_t index);
    void typed(std::size_t index, const QString& text);
    // Shows every field's value from the model again, since one change may move others.
    void refresh();

    DialogModel& model_;
    StaffLayoutEditor& editor_;
    RegleAffiche* ruler_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<QWidget*> editors_;  // by field index, null where the field has no widget of its own
    bool refreshing_ = false;
};

}  // namespace notavera
