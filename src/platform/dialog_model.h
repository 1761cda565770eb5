// The generic dialog model: fields keyed by control id or quoted label, typed-text handling with clamping,
// and scripted answers that fill a model the way typing would. Each dialog builds one and reads it back on OK.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace notavera {

enum class FieldKind { Integer, Check, Radio, Choice, Text, Static, Button };

struct DialogField {
    int id = 0;             // control id, 0 when the dialog is described without one
    std::string label;      // the label as the user reads it
    FieldKind kind = FieldKind::Static;
    int value = 0;          // the number, 0/1 for a check box or radio button, the index of a list entry
    int min = 0;            // integer range, clamped while typing
    int max = 0;
    int maxChars = 0;       // longest text the edit takes, 0 = no limit of its own
    int group = 0;          // radio buttons of one group exclude each other
    std::vector<std::string> choices;  // list or combo entries
    std::string text;       // text edit contents, static text
};

class DialogModel {
public:
    DialogModel(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    const std::vector<DialogField>& fields() const { return fields_; }

    // Builders. Each returns the index of the new field; `value` is clamped into the range.
    std::size_t addInteger(int id, std::string label, int min, int max, int value, int maxChars = 0);
    std::size_t addCheck(int id, std::string label, bool on);
    std::size_t addRadio(int id, std::string label, int group, bool on);
    std::size_t addChoice(int id, std::string label, std::vector<std::string> choices, int index);
    std::size_t addText(int id, std::string label, std::string text, int maxChars);
    std::size_t addStatic(int id, std::string label, std::string text);
    // A push button: it holds no value, pressing it runs the change reaction (which opens what it opens).
    std::size_t addButton(int id, std::string label);

    // A field by its control id (decimal) or its label; a label used twice in one dialog is reached the
    // second time as "label#2". Null when nothing matches.
    const DialogField* find(std::string_view key) const;
    DialogField* find(std::string_view key);

    // The value of a field that must exist (the dialog's own code asks for fields it built).
    int value(std::string_view key) const;
    bool checked(std::string_view key) const { return value(key) != 0; }
    const std::string& text(std::string_view key) const;

    // Typing into a field, as the user would: an integer edit keeps its value when the text is empty or not a
    // number and clamps numbers into its range; a check box takes 0 or 1; a radio button is chosen by 1 (and
    // its group's other buttons released); a list takes an entry's text or its index; a push button is pressed,
    // whatever the text. False when the field does not take input or the text was refused.
    bool type(std::string_view key, std::string_view text);
    // Sets a value from the dialog's own rules (no parsing), clamped like typing, and runs the change reaction.
    void set(std::string_view key, int value);

    // The dialog's own reaction to a change (paper buttons copying their size, for instance).
    std::function<void(DialogModel&, const DialogField&)> onChange;

private:
    std::size_t add(DialogField field);
    void store(DialogField& field, int value);

    std::string name_;
    std::string caption_;
    std::vector<DialogField> fields_;
};

// A scripted answer to the next dialog of a resource name: fields in the order typed, then OK or Cancel.
struct DialogAnswer {
    std::string name;
    std::vector<std::pair<std::string, std::string>> fields;  // control id or label → typed text
    bool ok = true;
    int scriptLine = 0;  // the script line that gave the answer, for the report of a mistake in it
};

// Fills the model from the answer as typing would; returns the keys that named no field or were refused, so
// that a script's mistakes are reported rather than silently ignored. The answer's OK/Cancel is for the caller.
std::vector<std::string> applyAnswer(DialogModel& model, const DialogAnswer& answer);

}  // namespace notavera
