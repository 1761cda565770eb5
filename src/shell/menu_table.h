// The main window's command table as data: every menu of the menu bar with its items, access keys and command
// ids, the input tools the commands choose, and the duration commands of the "Val" menu.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace notavera {

enum class MenuEntryKind { Command, Separator, Submenu };

// One line of a menu. The label marks its access key with '&' (UTF-8, as shown to the user).
struct MenuEntry {
    MenuEntryKind kind = MenuEntryKind::Separator;
    std::string_view label;
    int command = 0;                      // Command entries only
    std::span<const MenuEntry> submenu;  // Submenu entries only
};

struct Menu {
    std::string_view title;  // with its '&' access key
    std::span<const MenuEntry> entries;
};

// The menus of the menu bar, left to right: Fichier, Editer, Page, Zoom, Clefs, Armure, Détruire, Insérer,
// Outils, Son, Options, Divers, Val, ?.
std::span<const Menu> MainMenus();
// The "Val" menu alone: the palette's two value buttons open it as a popup.
const Menu& DurationMenu();

// While a mask page is edited the menu bar carries one more item, cmd::LeaveMask, that leaves it.
inline constexpr std::string_view LeaveMaskLabel = "&Quitter";

// Calls visit(entry) for every command entry of `entries`, submenus included, in menu order.
template <typename Visit>
void VisitCommands(std::span<const MenuEntry> entries, Visit&& visit) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntryKind::Command) visit(entry);
        if (entry.kind == MenuEntryKind::Submenu) VisitCommands(entry.submenu, visit);
    }
}

// Every command id of the main menus, in menu order (submenus included, the mask item excluded).
std::vector<int> MainMenuCommands();
// The label of a command of the main menus, with its '&'; nothing for an id no menu carries.
std::optional<std::string_view> CommandLabel(int command);

// Tool 300 works on what this names.
enum class HideKind { Element = 1, Accidental = 2, Dot = 3 };

// An input tool: what the mouse applies after the command chose it.
struct ToolEntry {
    int command = 0;
    int currentTool = 0;                 // a character code, or 300..304 for the tools without one
    std::optional<HideKind> hideKind;    // tool 300 only
    bool takesCheckMark = true;          // false: choosing it removes the check mark from the tool item
};

// Every tool command, in the order of the tool table.
std::span<const ToolEntry> ToolTable();
std::optional<ToolEntry> FindTool(int command);

// The "Val" commands (cmd::Durations) give the duration codes 0..10 (longa .. 1/256); nothing for other ids.
std::optional<unsigned> DurationForCommand(int command);

}  // namespace notavera
