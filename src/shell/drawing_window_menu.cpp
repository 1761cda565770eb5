// The drawing window's menu table.
#include "shell/drawing_window_menu.h"

#include <array>

namespace notavera {
namespace {

using K = MenuEntryKind;

constexpr MenuEntry Item(std::string_view label, int command) { return {K::Command, label, command, {}}; }
constexpr MenuEntry Separator() { return {K::Separator, {}, 0, {}}; }

// The tools in the order of their title names.
struct Tool {
    ShapeKind kind;
    std::string_view name;
};
constexpr std::array<Tool, 9> tools{{{ShapeKind::Line, "Ligne"},
                                     {ShapeKind::Ellipse, "Cercle Vide"},
                                     {ShapeKind::FilledEllipse, "Cercle Plein"},
                                     {ShapeKind::Rectangle, "Rect Vide"},
                                     {ShapeKind::FilledRectangle, "Rect Plein"},
                                     {ShapeKind::Bezier, "Courbe"},
                                     {ShapeKind::Polygon, "Polyg Vide"},
                                     {ShapeKind::FilledPolygon, "Polyg Plein"},
                                     {ShapeKind::EraseBox, "Boite Eff"}}};

constexpr std::array<MenuEntry, 9> category{
    Item("&Ligne", drawcmd::FirstTool),           Item("&Cercle Vide", drawcmd::FirstTool + 1),
    Item("C&ercle Plein", drawcmd::FirstTool + 2), Item("&Rectangle Vide", drawcmd::FirstTool + 3),
    Item("Rectan&gle Plein", drawcmd::FirstTool + 4), Item("&Beziers", drawcmd::FirstTool + 5),
    Item("&Polygones Vides", drawcmd::FirstTool + 6), Item("P&olygones Pleins", drawcmd::FirstTool + 7),
    Item("Boite d'e&ffacement", drawcmd::FirstTool + 8)};

constexpr std::array<MenuEntry, 3> recordings{Item("&1e Dessin", drawcmd::FirstRecording),
                                              Item("&2e Dessin", drawcmd::FirstRecording + 1),
                                              Item("&3e Dessin", drawcmd::FirstRecording + 2)};
constexpr std::array<MenuEntry, 3> replays{Item("&1e Dessin", drawcmd::FirstReplay),
                                           Item("&2e Dessin", drawcmd::FirstReplay + 1),
                                           Item("&3e Dessin", drawcmd::FirstReplay + 2)};
constexpr std::array<MenuEntry, 3> saveSymbols{Item("Adresse Dessin &1", drawcmd::FirstSaveSymbol),
                                               Item("Adresse Dessin &2", drawcmd::FirstSaveSymbol + 1),
                                               Item("Adresse Dessin &3", drawcmd::FirstSaveSymbol + 2)};
constexpr std::array<MenuEntry, 3> readSymbols{Item("Adresse Dessin &1", drawcmd::FirstReadSymbol),
                                               Item("Adresse Dessin &2", drawcmd::FirstReadSymbol + 1),
                                               Item("Adresse Dessin &3", drawcmd::FirstReadSymbol + 2)};

constexpr std::array<MenuEntry, 25> dessin{{
    {K::Submenu, "&Enregistrement", 0, recordings},
    Item("&Terminer enregistrement", drawcmd::FinishRecording),
    {K::Submenu, "&Relecture", 0, replays},
    Separator(),
    {K::Submenu, "&Sauver symbole ...", 0, saveSymbols},
    {K::Submenu, "&Lire symbole ...", 0, readSymbols},
    Separator(),
    Item("Lire &metafile", drawcmd::ReadMetafile),
    Item("C&oller (Presse-papiers)", drawcmd::PasteMetafile),
    Item("Sauver me&tafile", drawcmd::SaveMetafile),
    Item("&Copier (Presse-papiers)", drawcmd::CopyRegion),
    Item("&Marquer région", drawcmd::MarkRegion),
    Separator(),
    Item("Trait &Fin", drawcmd::Thin),
    Item("Trait &Normal", drawcmd::Normal),
    Item("Trait &Moyen", drawcmd::Medium),
    Item("Trait &Epais", drawcmd::Thick),
    Item("&Continu", drawcmd::Continuous),
    Item("&Pointillé", drawcmd::Dotted),
    Item("&Traitillé", drawcmd::Dashed),
    Separator(),
    Item("&Dessin Précédent", drawcmd::PreviousDrawing),
    Item("Dessin &Suivant", drawcmd::NextDrawing),
    Separator(),
    Item("&Quitter", drawcmd::Quit),
}};

constexpr std::array<Menu, 2> menus{{{"&Catégorie", category}, {"DESSIN", dessin}}};

}  // namespace

std::span<const Menu> DrawingMenus() { return menus; }
const Menu& DrawingCategoryMenu() { return menus[0]; }

std::optional<ShapeKind> ToolOfCommand(int command) {
    if (command < drawcmd::FirstTool || command > drawcmd::LastTool) return std::nullopt;
    return tools[static_cast<std::size_t>(command - drawcmd::FirstTool)].kind;
}

std::string_view ToolName(std::optional<ShapeKind> tool) {
    for (const Tool& t : tools)
        if (tool && t.kind == *tool) return t.name;
    return "NEANT";
}

}  // namespace notavera
