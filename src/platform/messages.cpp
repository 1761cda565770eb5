// The string table of numbered French messages, their safe formatting into bounded buffers, and the
// message-box helpers built on the user-interface services.
#include "platform/messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace notavera {

namespace {

struct TableEntry {
    int id;
    std::string_view text;
};

constexpr std::array<TableEntry, 54> messageTable = {{
    {1, "Erreur Disque: Fichier non écrit"},
    {2, "Impossible d'écrire le fichier %s"},
    {3, "Version fichier (%d.%d) incompatible: utilisez %s!"},
    {4, "Impossible de lire le fichier %s !"},
    {5, "Fichier en lecture seulement"},
    {6, "Impossible de réouvrir le fichier %s"},
    {7, "Version de fichiers incompatibles."},
    {8, "Erreur d'écriture"},
    {9, "Erreur de lecture."},
    {10, "Erreur de lecture: fichier corrompu ou version incompatible."},
    {11, "si possible les fonctions EXPORTER puis IMPORTER nom.wnv"},
    {12, "Erreur de lecture. Pages %d supprimée."},
    {13, "Erreur de lecture. Page %d, ligne %d tronquée."},
    {14, "Erreurs: %s"},
    {16, "Fermez INSertion d'abord"},
    {17, "Valeur inappropriée"},
    {18, "Employez liaison libre"},
    {19, "Supprimez liaison/groupe avant"},
    {20, "Contexte solidaire"},
    {21, "Région modifiée : l'opération de Copie est impossible."},
    {22, "Attention: exécutez la fonction COMPRIMER le fichier!"},
    {23, "Sauver d'abord le fichier %s"},
    {24, "Fichier %s écrit"},
    {25, "Effacer la page %s?"},
    {26, "Effacer jusqu'à la page %s?"},
    {32, "Erreur système: l'imprimante ne répond pas"},
    {33, "Trop d'horloges actives!"},
    {34, "Page %s marquée pour copie; copier d'abord..."},
    {35, "Ce disque ne réagit pas. Vérifiez s'il contient un disque."},
    {36, "Fichier endommagé - manque suite du System exclusive"},
    {37, "Fichier endommagé - running status inattendu"},
    {38, "Fichier trop gros."},
    {39, "Format 0 non implémenté"},
    {40, "Opération annulée par l'utilisateur"},
    {48, "Petites notes = pleines valeurs ?"},
    {49, "Erreur de valeur à la portée %s ou mesure inconnue."},
    {50, "Erreur d'allocation mémoire. DANGER!"},
    {51, "Ligne trop longue. Essayez avec fonction Ligne supérieure."},
    {52, "Ligne trop longue pour ce zoom"},
    {53, "Marquez d'abord la zone"},
    {54, "Une insertion empêche la coupure ici"},
    {55, "Quantités métriques correctes pour la voix no %s."},
    {56, "Nombre maximum de portées atteint"},
    {64, "Un fichier ne peut fusionner avec lui-même"},
    {65, "Ecraser le dessin no %s"},
    {66, "Enregistrer les modifications dans %s ?"},
    {68, "Saturation mémoire. Cause probable: fichier bitmap."},
    {69, "Nombre maximum de polices atteint!"},
    {70, "Données en surplus, pages: %s"},
    {71, "Installez d'abord la catégorie PAROLES"},
    {72, "Une version de sauvegarde <%s> peut-être plus complète existe. Voulez-vous la sauver ?"},
    {73, "Opération impossible. Insérez plus bas et utilisez Outil-Permuter portée marquée/courante"},
    {74, "Effacez d'abord le contenu"},
    {75, "Fusion impossible: le document dépasserait 255 pages"},
}};

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

void appendArg(std::string& out, const MessageArg& arg) {
    if (const long* number = std::get_if<long>(&arg))
        out += std::to_string(*number);
    else
        out += std::get<std::string_view>(arg);
}

MessageBoxRequest boxOf(std::string_view caption, int id, std::string text, MessageIcon icon,
                        MessageButtons buttons = MessageButtons::Ok) {
    return {std::string(caption), id, std::move(text), icon, buttons};
}

}  // namespace

std::string_view MessageText(int id) {
    const auto* found = std::find_if(messageTable.begin(), messageTable.end(),
                                     [id](const TableEntry& e) { return e.id == id; });
    return found == messageTable.end() ? std::string_view() : found->text;
}

std::string CutUtf8(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    // Step back to the lead byte of a sequence that the limit would split; a UTF-8 sequence has at
    // most three continuation bytes, so a longer run is not UTF-8 and is cut at the limit itself.
    std::size_t cut = maxBytes;
    while (cut > 0 && maxBytes - cut < 3 && isContinuationByte(text[cut])) --cut;
    if (isContinuationByte(text[cut])) cut = maxBytes;
    text.resize(cut);
    return text;
}

std::string FormatText(std::string_view format, std::span<const MessageArg> args, std::size_t capacity) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char following = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c != '%' || (following != 's' && following != 'd' && following != '%')) {
            out += c;
            continue;
        }
        ++i;
        if (following == '%')
            out += '%';
        else if (next < args.size())
            appendArg(out, args[next++]);
    }
    return capacity == 0 ? std::string() : CutUtf8(std::move(out), capacity - 1);
}

std::string FormatMessage(int id, std::size_t capacity, std::span<const MessageArg> args) {
    return FormatText(MessageText(id), args, capacity);
}

std::string FormatMessage(int id, std::size_t capacity, const std::string& text) {
    const MessageArg args[] = {std::string_view(text)};
    return FormatMessage(id, capacity, args);
}

std::string FormatMessage(int id, std::size_t capacity, long first, long second) {
    const MessageArg args[] = {first, second};
    return FormatMessage(id, capacity, args);
}

void ShowError(UiServices& ui, int id, const std::string* text) {
    ui.beep();
    if (text) {
        MessageWithName(ui, id, *text);
        return;
    }
    ui.showMessage(boxOf("Erreur", id, std::string(MessageText(id)), MessageIcon::Exclamation));
}

void ShowErrorFormatted(UiServices& ui, int id, long first, long second) {
    ui.beep();
    ui.showMessage(boxOf("Erreur", id, FormatMessage(id, errorMessageCapacity, first, second),
                         MessageIcon::Exclamation));
}

void MessageWithName(UiServices& ui, int id, const std::string& text) {
    const std::string name = text.empty() ? std::string(untitledName) : text;
    ui.showMessage(boxOf(productName, id, FormatMessage(id, fileMessageCapacity, name), MessageIcon::Exclamation));
}

void ErrorBox(UiServices& ui, int id) {
    ui.showMessage(boxOf("Erreur", id, std::string(MessageText(id)), MessageIcon::Exclamation));
}

void ShowNotice(UiServices& ui, int id, const std::string& text) {
    ui.showMessage(boxOf("Message", id, FormatMessage(id, messageSlotCapacity, text), MessageIcon::Information));
}

bool AskYesNo(UiServices& ui, int id, const std::string& text) {
    const MessageAnswer answer = ui.showMessage(boxOf(productName, id, FormatMessage(id, fileMessageCapacity, text),
                                                      MessageIcon::Question, MessageButtons::YesNoCancel));
    return answer == MessageAnswer::Yes;
}

void ShowRefusal(UiServices& ui, int id) {
    ui.showMessage(boxOf("Message", id, std::string(MessageText(id)), MessageIcon::Exclamation));
}

void Beep(UiServices& ui) { ui.beep(); }

bool YesNoBox(UiServices& ui, const std::string& text) { return ui.yesNoBox(text); }

MessageAnswer AskSaveChanges(UiServices& ui, const std::string& title, const std::function<bool()>& save) {
    constexpr int saveChangesMessage = 66;
    const std::string name = title.empty() ? std::string(untitledName) : title;
    std::string text = FormatMessage(saveChangesMessage, fileMessageCapacity, name);
    const MessageAnswer answer = ui.showMessage(
        boxOf(productName, saveChangesMessage, std::move(text), MessageIcon::Question, MessageButtons::YesNoCancel));
    if (answer == MessageAnswer::No) return MessageAnswer::No;
    if (answer != MessageAnswer::Yes) return MessageAnswer::Cancel;
    return save && save() ? MessageAnswer::Yes : MessageAnswer::Cancel;
}

}  // namespace notavera
