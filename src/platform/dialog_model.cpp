// The generic dialog model: typed-text handling, clamping and scripted answers.
#include "platform/dialog_model.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

namespace notavera {

namespace {

// A whole number typed into an edit: optional sign, then digits only. Empty or anything else is no number.
std::optional<long long> parseNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (end != text.data() + text.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) return text.front() == '-' ? -(1LL << 40) : (1LL << 40);
    if (ec != std::errc()) return std::nullopt;
    return v;
}

int clampTo(long long v, int lo, int hi) { return static_cast<int>(std::clamp<long long>(v, lo, hi)); }

}  // namespace

std::size_t DialogModel::add(DialogField field) {
    fields_.push_back(std::move(field));
    return fields_.size() - 1;
}

std::size_t DialogModel::addInteger(int id, std::string label, int min, int max, int value, int maxChars) {
    return add({id, std::move(label), FieldKind::Integer, std::clamp(value, min, max), min, max, maxChars, 0, {}, {}});
}

std::size_t DialogModel::addCheck(int id, std::string label, bool on) {
    return add({id, std::move(label), FieldKind::Check, on ? 1 : 0, 0, 1, 0, 0, {}, {}});
}

std::size_t DialogModel::addRadio(int id, std::string label, int group, bool on) {
    return add({id, std::move(label), FieldKind::Radio, on ? 1 : 0, 0, 1, 0, group, {}, {}});
}

std::size_t DialogModel::addChoice(int id, std::string label, std::vector<std::string> choices, int index) {
    const int last = std::max(0, static_cast<int>(choices.size()) - 1);
    return add({id, std::move(label), FieldKind::Choice, std::clamp(index, 0, last), 0, last, 0, 0, std::move(choices),
                {}});
}

std::size_t DialogModel::addText(int id, std::string label, std::string text, int maxChars) {
    if (maxChars > 0 && text.size() > static_cast<std::size_t>(maxChars))
        text.resize(static_cast<std::size_t>(maxChars));
    return add({id, std::move(label), FieldKind::Text, 0, 0, 0, maxChars, 0, {}, std::move(text)});
}

std::size_t DialogModel::addStatic(int id, std::string label, std::string text) {
    return add({id, std::move(label), FieldKind::Static, 0, 0, 0, 0, 0, {}, std::move(text)});
}

std::size_t DialogModel::addButton(int id, std::string label) {
    return add({id, std::move(label), FieldKind::Button, 0, 0, 0, 0, 0, {}, {}});
}

const DialogField* DialogModel::find(std::string_view key) const {
    if (const auto id = parseNumber(key); id && *id > 0) {
        for (const DialogField& f : fields_)
            if (f.id == *id) return &f;
        return nullptr;
    }
    for (const DialogField& f : fields_)
        if (f.label == key) return &f;
    // "label#n": the n-th field carrying a label that repeats.
    const std::size_t hash = key.rfind('#');
    if (hash == std::string_view::npos) return nullptr;
    const auto nth = parseNumber(key.substr(hash + 1));
    if (!nth || *nth < 1) return nullptr;
    long long seen = 0;
    for (const DialogField& f : fields_)
        if (f.label == key.substr(0, hash) && ++seen == *nth) return &f;
    return nullptr;
}

DialogField* DialogModel::find(std::string_view key) {
    return const_cast<DialogField*>(std::as_const(*this).find(key));
}

int DialogModel::value(std::string_view key) const {
    const DialogField* f = find(key);
    return f ? f->value : 0;
}

const std::string& DialogModel::text(std::string_view key) const {
    static const std::string none;
    const DialogField* f = find(key);
    return f ? f->text : none;
}

void DialogModel::store(DialogField& field, int value) {
    if (field.kind == FieldKind::Radio) {
        // A radio button is released only by choosing another of its group.
        if (value == 0) return;
        for (DialogField& other : fields_)
            if (other.kind == FieldKind::Radio && other.group == field.group) other.value = 0;
        field.value = 1;
    } else {
        field.value = std::clamp(value, field.min, field.max);
    }
    if (onChange) onChange(*this, field);
}

void DialogModel::set(std::string_view key, int value) {
    if (DialogField* f = find(key)) store(*f, value);
}

bool DialogModel::type(std::string_view key, std::string_view text) {
    DialogField* f = find(key);
    if (!f) return false;
    switch (f->kind) {
    case FieldKind::Static:
        return false;
    case FieldKind::Button:
        if (onChange) onChange(*this, *f);
        return true;
    case FieldKind::Text:
        f->text = text;
        if (f->maxChars > 0 && f->text.size() > static_cast<std::size_t>(f->maxChars))
            f->text.resize(static_cast<std::size_t>(f->maxChars));
        if (onChange) onChange(*this, *f);
        return true;
    case FieldKind::Choice: {
        const auto it = std::find(f->choices.begin(), f->choices.end(), text);
        if (it != f->choices.end()) {
            store(*f, static_cast<int>(it - f->choices.begin()));
            return true;
        }
        const auto index = parseNumber(text);
        if (!index || *index < 0 || *index >= static_cast<long long>(f->choices.size())) return false;
        store(*f, static_cast<int>(*index));
        return true;
    }
    case FieldKind::Integer:
    case FieldKind::Check:
    case FieldKind::Radio:
        break;
    }
    if (f->maxChars > 0 && text.size() > static_cast<std::size_t>(f->maxChars))
        text = text.substr(0, static_cast<std::size_t>(f->maxChars));
    const auto number = parseNumber(text);
    if (!number) return f->kind == FieldKind::Integer;  // the edit keeps its value
    if (f->kind != FieldKind::Integer && *number != 0 && *number != 1) return false;
    store(*f, clampTo(*number, f->min, f->max));
    return true;
}

std::vector<std::string> applyAnswer(DialogModel& model, const DialogAnswer& answer) {
    std::vector<std::string> refused;
    for (const auto& [key, text] : answer.fields)
        if (!model.type(key, text)) refused.push_back(key);
    return refused;
}

}  // namespace notavera
