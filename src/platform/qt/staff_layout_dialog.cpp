// The Régleur dialog: builds a widget per field of the "Regleur" model around the staff ruler, and keeps both
// showing the working model.
#include "platform/qt/staff_layout_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/regle_affiche.h"

namespace notavera {

namespace {

// The key the model knows a field by: its control id, or its label.
std::string KeyOf(const DialogField& f) { return f.id > 0 ? std::to_string(f.id) : f.label; }

bool IsButton(const DialogField& f) { return f.kind == FieldKind::Button; }

}  // namespace

StaffLayoutDialog::StaffLayoutDialog(DialogModel& model, StaffLayoutEditor& editor, QWidget* parent)
    : QDialog(parent), model_(model), editor_(editor) {
    setWindowTitle(QString::fromStdString(model.caption()));
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    ruler_ = new RegleAffiche(editor.ruler(), this);
    ruler_->notified = [this] {
        editor_.refresh(model_);
        refresh();
    };
    ruler_->refused = [] { QApplication::beep(); };
    status_ = new QLabel(this);
    left->addWidget(ruler_, 1);
    left->addWidget(status_);
    columns->addLayout(left, 1);

    auto* form = new QFormLayout;
    auto* modes = new QVBoxLayout;
    editors_.resize(model.fields().size(), nullptr);
    for (std::size_t i = 0; i < model.fields().size(); ++i) {
        const DialogField& f = model.fields()[i];
        if (f.id == regleur_id::ruler || &f == model.find(regleur_field::status)) continue;
        QWidget* w = makeEditor(i);
        editors_[i] = w;
        if (f.kind == FieldKind::Radio)
            modes->addWidget(w);
        else if (f.kind == FieldKind::Check || f.kind == FieldKind::Button)
            form->addRow(w);
        else
            form->addRow(QString::fromStdString(f.label), w);
    }
    auto* right = new QVBoxLayout;
    right->addLayout(modes);
    right->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Annuler", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addWidget(buttons);
    columns->addLayout(right);
    setLayout(columns);
    refresh();
}

QWidget* StaffLayoutDialog::makeEditor(std::size_t index) {
    const DialogField& f = model_.fields()[index];
    const QString label = QString::fromStdString(f.label);
    if (IsButton(f)) {
        auto* b = new QPushButton(label, this);
        connect(b, &QPushButton::clicked, this, [this, index] { typed(index, "1"); });
        return b;
    }
    switch (f.kind) {
    case FieldKind::Radio: {
        auto* r = new QRadioButton(label, this);
        connect(r, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) typed(index, "1");
        });
        return r;
    }
    case FieldKind::Check: {
        auto* c = new QCheckBox(label, this);
        connect(c, &QCheckBox::toggled, this, [this, index](bool on) { typed(index, on ? "1" : "0"); });
        return c;
    }
    case FieldKind::Integer: {
        auto* s = new QSpinBox(this);
        s->setRange(f.min, f.max);
        s->setKeyboardTracking(false);  // a number counts once it is typed in full
        connect(s, &QSpinBox::valueChanged, this, [this, index](int v) { typed(index, QString::number(v)); });
        return s;
    }
    case FieldKind::Choice:
    case FieldKind::Text:
    case FieldKind::Static:
    case FieldKind::Button: break;
    }
    return new QLabel(this);
}

void StaffLayoutDialog::typed(std::size_t index, const QString& text) {
    if (refreshing_) return;
    model_.type(KeyOf(model_.fields()[index]), text.toStdString());
    refresh();
}

bool StaffLayoutDialog::type(std::string_view key, std::string_view text) {
    const bool typedIn = model_.type(key, text);
    editor_.refresh(model_);
    refresh();
    return typedIn;
}

void StaffLayoutDialog::refresh() {
    refreshing_ = true;
    for (std::size_t i = 0; i < editors_.size(); ++i) {
        QWidget* w = editors_[i];
        const DialogField& f = model_.fields()[i];
        if (!w || IsButton(f)) continue;
        if (auto* r = qobject_cast<QRadioButton*>(w)) r->setChecked(f.value != 0);
        else if (auto* c = qobject_cast<QCheckBox*>(w)) c->setChecked(f.value != 0);
        else if (auto* s = qobject_cast<QSpinBox*>(w)) {
            s->setRange(f.min, f.max);
            s->setValue(f.value);
        } else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(QString::fromStdString(f.text));
    }
    status_->setText(QString::fromStdString(model_.text(regleur_field::status)));
    ruler_->update();
    refreshing_ = false;
}

bool StaffLayoutDialog::run() { return exec() == QDialog::Accepted; }

}  // namespace notavera
