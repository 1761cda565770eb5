// The numbered French messages used by the document files, and the message-box helpers.
#include "shell/messages.h"

#include <cstdio>
#include <map>

namespace notavera {

namespace {

const std::map<int, std::string_view>& table() {
    static const std::map<int, std::string_view> texts = {
        {1, "Erreur Disque: Fichier non écrit"},
        {2, "Impossible d'écrire le fichier %s"},
        {3, "Version fichier (%d.%d) incompatible: utilisez %s!"},
        {4, "Impossible de lire le fichier %s !"},
        {9, "Erreur de lecture."},
        {11, "si possible les fonctions EXPORTER puis IMPORTER nom.wnv"},
        {12, "Erreur de lecture. Pages %d supprimée."},
        {13, "Erreur de lecture. Page %d, ligne %d tronquée."},
        {22, "Attention: exécutez la fonction COMPRIMER le fichier!"},
        {72, "Une version de sauvegarde <%s> peut-être plus complète existe. Voulez-vous la sauver ?"},
    };
    return texts;
}

// Cuts a text to capacity − 1 bytes without splitting a UTF-8 character.
std::string cut(std::string text, std::size_t capacity) {
    if (capacity == 0) return {};
    if (text.size() < capacity) return text;
    std::size_t n = capacity - 1;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    text.resize(n);
    return text;
}

template <typename... Values>
std::string format(std::string_view pattern, Values... values) {
    const std::string fmt(pattern);
    const int n = std::snprintf(nullptr, 0, fmt.c_str(), values...);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    std::snprintf(out.data(), out.size() + 1, fmt.c_str(), values...);
    return out;
}

void box(UiServices& ui, const std::string& caption, int id, std::string text, MessageIcon icon,
         MessageButtons buttons = MessageButtons::Ok) {
    ui.showMessage({caption, id, std::move(text), icon, buttons});
}

}  // namespace

std::string_view MessageText(int id) {
    const auto it = table().find(id);
    return it == table().end() ? std::string_view() : it->second;
}

const std::string& MessageSlots::LoadMessage(int id, int slot) {
    std::string& s = slots_[slot == 0 ? 0 : 1];
    s = cut(std::string(MessageText(id)), 150);
    return s;
}

std::string FormatMessage(int id, std::size_t capacity, const std::string& text) {
    return cut(format(MessageText(id), text.c_str()), capacity);
}

std::string FormatMessage(int id, std::size_t capacity, long first, long second) {
    return cut(format(MessageText(id), static_cast<int>(first), static_cast<int>(second)), capacity);
}

void Beep(UiServices& ui) { ui.beep(); }

void MessageWithName(UiServices& ui, int id, const std::string& text) {
    box(ui, "Notavera", id, FormatMessage(id, 300, text.empty() ? std::string("(sans nom)") : text),
        MessageIcon::Exclamation);
}

void ShowError(UiServices& ui, int id, const std::string* text) {
    Beep(ui);
    if (text) {
        MessageWithName(ui, id, *text);
        return;
    }
    box(ui, "Erreur", id, std::string(MessageText(id)), MessageIcon::Exclamation);
}

void ShowErrorFormatted(UiServices& ui, int id, long first, long second) {
    Beep(ui);
    box(ui, "Erreur", id, FormatMessage(id, 200, first, second), MessageIcon::Exclamation);
}

bool AskYesNo(UiServices& ui, int id, const std::string& text) {
    return ui.showMessage({"Notavera", id, FormatMessage(id, 300, text), MessageIcon::Question,
                           MessageButtons::YesNoCancel}) == MessageAnswer::Yes;
}

}  // namespace notavera
