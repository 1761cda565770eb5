// The generic form that shows any dialog model: one widget per field, every change typed into the model as it
// happens (so its clamping and its own reactions show at once), "OK" and "Annuler" below.
#include "platform/qt/dialog_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

#include "platform/qt/regle_affiche.h"

namespace notavera {
namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// Labels carry Windows access keys ("&Paysage"), which Qt reads the same way.
QString LabelOf(const DialogField& field) { return Qs(field.label); }

constexpr int rulerControl = 110;

}  // namespace

DialogForm::DialogForm(DialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
    setWindowTitle(Qs(model.caption()));
    setObjectName(Qs(model.name()));
    build();
    refresh();
}

DialogForm::DialogForm(DialogModel& model, StaffRuler& ruler, QWidget* parent)
    : QDialog(parent), model_(model), ruler_(&ruler) {
    setWindowTitle(Qs(model.caption()));
    setObjectName(Qs(model.name()));
    build();
    refresh();
}

std::string DialogForm::FieldKey(const DialogModel& model, std::size_t index) {
    const DialogField& field = model.fields()[index];
    if (field.id > 0) return std::to_string(field.id);
    int seen = 0;
    for (std::size_t i = 0; i <= index; ++i)
        if (model.fields()[i].id <= 0 && model.fields()[i].label == field.label) ++seen;
    return seen == 1 ? field.label : field.label + "#" + std::to_string(seen);
}

void DialogForm::build() {
    auto* form = new QFormLayout;
    std::map<int, QButtonGroup*> radioGroups;
    editors_.assign(model_.fields().size(), nullptr);
    RegleAffiche* rulerWidget = nullptr;
    for (std::size_t i = 0; i < model_.fields().size(); ++i) {
        const DialogField& field = model_.fields()[i];
        if (ruler_ && field.id == rulerControl) {
            rulerWidget = new RegleAffiche(*ruler_, this);
            rulerWidget->setObjectName(Qs(FieldKey(model_, i)));
            rulerWidget->notified = [this, i] {
                if (const std::optional<int> staff = ruler_->selected()) typed(i, QString::number(*staff + 1));
            };
            editors_[i] = rulerWidget;
            continue;
        }
        QWidget* editor = makeEditor(i);
        editors_[i] = editor;
        switch (field.kind) {
        case FieldKind::Integer:
        case FieldKind::Text:
        case FieldKind::Choice: {
            auto* label = new QLabel(LabelOf(field), this);
            label->setBuddy(editor);
            form->addRow(label, editor);
            break;
        }
        case FieldKind::Radio: {
            QButtonGroup*& group = radioGroups[field.group];
            if (group == nullptr) group = new QButtonGroup(this);
            group->addButton(static_cast<QRadioButton*>(editor));
            form->addRow(editor);
            break;
        }
        case FieldKind::Check:
        case FieldKind::Button:
            form->addRow(editor);
            break;
        case FieldKind::Static:
            if (field.label.empty()) form->addRow(editor);
            else form->addRow(new QLabel(LabelOf(field), this), editor);
            break;
        }
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Annuler", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    if (rulerWidget) {
        auto* columns = new QHBoxLayout;
        columns->addWidget(rulerWidget, 1);
        columns->addLayout(form);
        layout->addLayout(columns);
    } else {
        layout->addLayout(form);
    }
    layout->addWidget(buttons);
}

QWidget* DialogForm::makeEditor(std::size_t index) {
    const DialogField& field = model_.fields()[index];
    const QString key = Qs(FieldKey(model_, index));
    switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::Text: {
        auto* edit = new QLineEdit(this);
        if (field.maxChars > 0) edit->setMaxLength(field.maxChars);
        connect(edit, &QLineEdit::textEdited, this, [this, index](const QString& text) { typed(index, text); });
        // Leaving an edit whose text is not a number shows the value the model kept.
        connect(edit, &QLineEdit::editingFinished, this, [this] { refresh(); });
        edit->setObjectName(key);
        return edit;
    }
    case FieldKind::Check: {
        auto* box = new QCheckBox(LabelOf(field), this);
        connect(box, &QCheckBox::toggled, this, [this, index](bool on) { chosen(index, on ? 1 : 0); });
        box->setObjectName(key);
        return box;
    }
    case FieldKind::Radio: {
        auto* button = new QRadioButton(LabelOf(field), this);
        connect(button, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) chosen(index, 1);
        });
        button->setObjectName(key);
        return button;
    }
    case FieldKind::Choice: {
        auto* combo = new QComboBox(this);
        for (const std::string& choice : field.choices) combo->addItem(Qs(choice));
        connect(combo, &QComboBox::currentIndexChanged, this, [this, index](int i) { chosen(index, i); });
        combo->setObjectName(key);
        return combo;
    }
    case FieldKind::Button: {
        auto* button = new QPushButton(LabelOf(field), this);
        button->setAutoDefault(false);  // Enter still means OK
        connect(button, &QPushButton::clicked, this, [this, index] { chosen(index, 1); });
        button->setObjectName(key);
        return button;
    }
    case FieldKind::Static:
        break;
    }
    auto* label = new QLabel(Qs(field.text), this);
    label->setObjectName(key);
    return label;
}

void DialogForm::typed(std::size_t index, const QString& text) {
    if (refreshing_) return;
    const std::string key = FieldKey(model_, index);
    model_.type(key, text.toStdString());
    const DialogField& field = model_.fields()[index];
    auto* edit = qobject_cast<QLineEdit*>(editors_[index]);
    if (!edit) {  // the staff ruler
        refresh();
        return;
    }
    // A number brought into range shows at once; a text that is not (yet) a number stays as typed.
    bool isNumber = false;
    const int typedValue = text.trimmed().toInt(&isNumber);
    const bool showValue = field.kind == FieldKind::Integer && isNumber && typedValue != field.value;
    const int cursor = edit->cursorPosition();
    refresh();
    if (field.kind == FieldKind::Integer && !showValue) {
        const QSignalBlocker quiet(edit);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
}

void DialogForm::chosen(std::size_t index, int value) {
    if (refreshing_) return;
    model_.set(FieldKey(model_, index), value);
    refresh();
}

void DialogForm::refresh() {
    refreshing_ = true;
    for (std::size_t i = 0; i < model_.fields().size(); ++i) {
        const DialogField& field = model_.fields()[i];
        QWidget* editor = editors_[i];
        const QSignalBlocker quiet(editor);
        switch (field.kind) {
        case FieldKind::Integer: {
            auto* edit = static_cast<QLineEdit*>(editor);
            const QString shown = QString::number(field.value);
            if (edit->text() != shown) edit->setText(shown);
            break;
        }
        case FieldKind::Text: {
            auto* edit = qobject_cast<QLineEdit*>(editor);
            if (!edit) editor->update();  // the staff ruler shows its new selection
            else if (edit->text() != Qs(field.text)) edit->setText(Qs(field.text));
            break;
        }
        case FieldKind::Check:
        case FieldKind::Radio: static_cast<QAbstractButton*>(editor)->setChecked(field.value != 0); break;
        case FieldKind::Choice: {
            // A list the dialog fills again (a file browser changing folder) shows its new entries.
            auto* combo = static_cast<QComboBox*>(editor);
            QStringList entries;
            for (const std::string& choice : field.choices) entries << Qs(choice);
            QStringList shown;
            for (int k = 0; k < combo->count(); ++k) shown << combo->itemText(k);
            if (shown != entries) {
                combo->clear();
                combo->addItems(entries);
            }
            combo->setCurrentIndex(field.value);
            break;
        }
        case FieldKind::Static: static_cast<QLabel*>(editor)->setText(Qs(field.text)); break;
        case FieldKind::Button: break;
        }
    }
    refreshing_ = false;
}

bool DialogForm::run() {
    const DialogModel before = model_;
    if (exec() == QDialog::Accepted) return true;
    model_ = before;
    return false;
}

}  // namespace notavera
