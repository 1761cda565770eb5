// The generic form that shows any dialog model: one widget per field, every change typed into the model as it
// happens (so its clamping and its own reactions show at once), "OK" and "Annuler" below.
#pragma once

#include <QDialog>
#include <vector>

#include "platform/dialog_model.h"

class QWidget;

namespace notavera {

class StaffRuler;

class DialogForm final : public QDialog {
public:
    // The form edits `model` in place; on "Annuler" (or closing the form) the model gets its values back.
    DialogForm(DialogModel& model, QWidget* parent);
    // A form whose field 110 is a staff ruler drawn beside the fields: a click on a staff types its number
    // (from 1) into that field.
    DialogForm(DialogModel& model, StaffRuler& ruler, QWidget* parent);

    // The key the model knows a field by: its control id, or its label ("label#n" for the n-th of a repeated one).
    static std::string FieldKey(const DialogModel& model, std::size_t index);

    // Shows the form modally: true for OK, false for "Annuler".
    bool run();

private:
    void build();
    QWidget* makeEditor(std::size_t index);
    // Shows every field's value from the model, since a change may move others (radio groups, linked sizes).
    void refresh();
    void typed(std::size_t index, const QString& text);
    void chosen(std::size_t index, int value);

    DialogModel& model_;
    StaffRuler* ruler_ = nullptr;
    std::vector<QWidget*> editors_;  // by field index
    bool refreshing_ = false;
};

}  // namespace notavera
