// The text window's menu table and the lookup of items by label.
#include "shell/text_window_menu.h"

#include <array>
#include <string>
#include <vector>

namespace notavera {

namespace {

using K = MenuEntryKind;

// First item number of each category, types 1..7 following.
constexpr std::array<int, textCategoryCount> firstKindCommand{630, 449, 637, 644, 651, 658, 665};

constexpr MenuEntry Item(std::string_view label, int command) { return {K::Command, label, command, {}}; }
constexpr MenuEntry Separator() { return {K::Separator, {}, 0, {}}; }

constexpr std::array<MenuEntry, 7> dynamics{
    Item("DYNAMIQUE &1", 630), Item("DYNAMIQUE &2", 631), Item("DYNAMIQUE &3", 632), Item("DYNAMIQUE &4", 633),
    Item("DYNAMIQUE &5", 634), Item("DYNAMIQUE &6", 635), Item("DYNAMIQUE &7", 636)};
constexpr std::array<MenuEntry, 7> lyrics{
    Item("PAROLES &1", 449), Item("PAROLES &2", 450), Item("PAROLES &3", 451), Item("PAROLES &4", 452),
    Item("PAROLES &5", 453), Item("PAROLES &6", 454), Item("PAROLES &7", 455)};
constexpr std::array<MenuEntry, 7> instruments{
    Item("INSTRUMENT &1", 637), Item("INSTRUMENT &2", 638), Item("INSTRUMENT &3", 639), Item("INSTRUMENT &4", 640),
    Item("INSTRUMENT &5", 641), Item("INSTRUMENT &6", 642), Item("INSTRUMENT &7", 643)};
constexpr std::array<MenuEntry, 7> marks{
    Item("&Silences multiples", 644), Item("&Num. Mesures", 645), Item("&Chiffrages", 646),
    Item("Marque &Globale", 647), Item("&Varia", 648), Item("Marquage &6", 649), Item("Marquage &7", 650)};
constexpr std::array<MenuEntry, 7> symbols{
    Item("SYMB-ORN &1", 651), Item("SYMB-ORN &2", 652), Item("SYMB-ORN &3", 653), Item("SYMB-ORN &4", 654),
    Item("SYMB-ORN &5", 655), Item("SYMB-ORN &6", 656), Item("SYMB-ORN &7", 657)};
constexpr std::array<MenuEntry, 7> tempo{
    Item("TEMPO &1", 658), Item("TEMPO &2", 659), Item("TEMPO &3", 660), Item("TEMPO &4", 661),
    Item("TEMPO &5", 662), Item("TEMPO &6", 663), Item("TEMPO &7", 664)};
constexpr std::array<MenuEntry, 7> misc{
    Item("Titre &1", 665), Item("Titre &2", 666), Item("Titre &3", 667), Item("&Divers 1", 668),
    Item("D&ivers 2", 669), Item("Di&vers 3", 670), Item("Div&ers 4", 671)};

constexpr std::array<MenuEntry, 7> categories{{
    {K::Submenu, "&DYNAMIQUE", 0, dynamics}, {K::Submenu, "&PAROLES", 0, lyrics},
    {K::Submenu, "&INSTRUMENT", 0, instruments}, {K::Submenu, "&MARQUAGE", 0, marks},
    {K::Submenu, "&SYMB-ORN", 0, symbols}, {K::Submenu, "&TEMPO", 0, tempo}, {K::Submenu, "D&IVERS", 0, misc}}};

constexpr std::array<MenuEntry, 28> texte{
    Item("&Normal (droit)", textcmd::Upright), Item("&Italique", textcmd::Italic), Item("&Gras", textcmd::Bold),
    Item("I&talique Gras", textcmd::BoldItalic), Separator(),
    Item("&Horizontal", textcmd::Horizontal), Item("&Vertical", textcmd::Vertical),
    Item("&Arriere", textcmd::Backwards), Separator(),
    Item("&Opaque", textcmd::Opaque), Item("Marqueur &Page", textcmd::MarkerPage),
    Item("Mot Sui&vant (F8)", textcmd::NextWord), Item("&Mot Précédent (F7)", textcmd::PreviousWord),
    Item("Page &Suivante (F6)", textcmd::NextPage), Item("Page P&récédente (F5)", textcmd::PreviousPage),
    Separator(),
    Item("Justifié à &droite", textcmd::JustifyRight), Item("Justifié à &gauche", textcmd::JustifyLeft),
    Item("&Centré", textcmd::Centred), Item("&Polices", textcmd::Fonts),
    Item("&Unifier (->marqueurPage/fin)", textcmd::Unify),
    Item("M&odifier catégorie (->marqueurPage/fin)", textcmd::ChangeCategory),
    Item("&Coller (Presse-papiers)", textcmd::Paste),
    Item("Insertion s&yllabes (Presse-papiers)", textcmd::InsertSyllables),
    Item("Sy&llabe sur mélisme", textcmd::SyllableOnMelisma),
    Item("1 Syllabe par &groupe lié", textcmd::SyllablePerTiedGroup), Separator(),
    Item("&Quitter", textcmd::Quit)};

constexpr std::array<Menu, 2> menus{{{"&Catégorie", categories}, {"TEXTE", texte}}};

std::string WithoutAmpersand(std::string_view label) {
    std::string out;
    for (const char c : label)
        if (c != '&') out += c;
    return out;
}

bool LabelMatches(std::string_view label, std::string_view wanted) {
    return label == wanted || WithoutAmpersand(label) == WithoutAmpersand(wanted);
}

// Every command under `entries` whose label (or path of labels, from `path`) answers to `wanted`.
void Collect(std::span<const MenuEntry> entries, const std::string& path, std::string_view wanted,
             std::vector<int>& found) {
    for (const MenuEntry& e : entries) {
        if (e.kind == K::Separator) continue;
        const std::string full = path + ">" + WithoutAmpersand(e.label);
        if (e.kind == K::Submenu) {
            Collect(e.submenu, full, wanted, found);
            continue;
        }
        if (LabelMatches(e.label, wanted) || full == WithoutAmpersand(wanted)) found.push_back(e.command);
    }
}

}  // namespace

int TextKindCommand(TextCategory category, unsigned type) {
    return firstKindCommand[static_cast<std::size_t>(category) % textCategoryCount] +
           static_cast<int>(type % textTypeCount);
}

std::optional<TextKindChoice> TextKindOfCommand(int command) {
    for (unsigned c = 0; c < textCategoryCount; ++c) {
        const int first = firstKindCommand[c];
        if (command >= first && command < first + static_cast<int>(textTypeCount))
            return TextKindChoice{static_cast<TextCategory>(c), static_cast<unsigned>(command - first)};
    }
    return std::nullopt;
}

std::span<const Menu> TextMenus() { return menus; }
const Menu& TextCategoryMenu() { return menus[0]; }

std::variant<int, std::string> FindMenuCommand(std::span<const Menu> all, std::string_view label) {
    std::vector<int> found;
    for (const Menu& m : all) Collect(m.entries, WithoutAmpersand(m.title), label, found);
    if (found.empty()) return "aucun élément de menu : " + std::string(label);
    for (const int c : found)
        if (c != found.front()) return "libellé ambigu : " + std::string(label);
    return found.front();
}

}  // namespace notavera
