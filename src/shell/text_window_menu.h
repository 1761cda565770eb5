// The text window's menus as data: "&Catégorie" with a submenu of seven types for each category, and "TEXTE"
// with the styles, orientations, moves, justification, fonts, bulk changes, clipboard and lyric options. The
// numbers are the text window's own; only the category and type items keep the numbers its menu always had.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "edit/text_elements.h"
#include "shell/menu_table.h"

namespace notavera::textcmd {

inline constexpr int Upright = 3001;       // "&Normal (droit)"
inline constexpr int Italic = 3002;
inline constexpr int Bold = 3003;
inline constexpr int BoldItalic = 3004;
inline constexpr int Horizontal = 3005;
inline constexpr int Vertical = 3006;
inline constexpr int Backwards = 3007;     // "&Arriere"
inline constexpr int Opaque = 3008;
inline constexpr int MarkerPage = 3009;
inline constexpr int NextWord = 3010;
inline constexpr int PreviousWord = 3011;
inline constexpr int NextPage = 3012;
inline constexpr int PreviousPage = 3013;
inline constexpr int JustifyRight = 3014;
inline constexpr int JustifyLeft = 3015;
inline constexpr int Centred = 3016;
inline constexpr int Fonts = 3017;         // "&Polices"
inline constexpr int Unify = 3018;
inline constexpr int ChangeCategory = 3019;
inline constexpr int Paste = 3020;
inline constexpr int InsertSyllables = 3021;
inline constexpr int SyllableOnMelisma = 3022;
inline constexpr int SyllablePerTiedGroup = 3023;
inline constexpr int Quit = 3024;

}  // namespace notavera::textcmd

namespace notavera {

struct TextKindChoice {
    TextCategory category;
    unsigned type;  // 0..6
};

// The item numbers of the category and type items (the types of lyrics reuse 449-455, the numbers of the
// "TypeTexte" dialog's type buttons).
int TextKindCommand(TextCategory category, unsigned type);
std::optional<TextKindChoice> TextKindOfCommand(int command);

std::span<const Menu> TextMenus();
// The "&Catégorie" menu alone: the right button opens it as a popup.
const Menu& TextCategoryMenu();

// The command of the item a label names in `menus`: the label as shown with or without its '&', or a path of
// labels from the menu's title joined by '>'. An error text when no item or more than one answers to it.
std::variant<int, std::string> FindMenuCommand(std::span<const Menu> menus, std::string_view label);

}  // namespace notavera
