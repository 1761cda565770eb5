// The drawing window's menus as data: "&Catégorie" with the tools, and "DESSIN" with the recordings, replays,
// symbols, metafiles, line widths and styles and the selection of placed drawings. The numbers are the window's own.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "score/drawing_recording.h"
#include "shell/menu_table.h"

namespace notavera::drawcmd {

inline constexpr int FirstTool = 4001;  // the tools in menu order: Ligne ... Boite d'effacement
inline constexpr int LastTool = 4009;
inline constexpr int FirstRecording = 4011;  // "&1e Dessin" .. "&3e Dessin" of "&Enregistrement"
inline constexpr int FinishRecording = 4014;
inline constexpr int FirstReplay = 4021;
inline constexpr int FirstSaveSymbol = 4031;
inline constexpr int FirstReadSymbol = 4041;
inline constexpr int ReadMetafile = 4051;
inline constexpr int PasteMetafile = 4052;
inline constexpr int SaveMetafile = 4053;
inline constexpr int CopyRegion = 4054;
inline constexpr int MarkRegion = 4055;
inline constexpr int Thin = 4061;
inline constexpr int Normal = 4062;
inline constexpr int Medium = 4063;
inline constexpr int Thick = 4064;
inline constexpr int Continuous = 4065;
inline constexpr int Dotted = 4066;
inline constexpr int Dashed = 4067;
inline constexpr int PreviousDrawing = 4071;
inline constexpr int NextDrawing = 4072;
inline constexpr int Quit = 4080;

}  // namespace notavera::drawcmd

namespace notavera {

std::span<const Menu> DrawingMenus();
// The "&Catégorie" menu alone: the right button opens it as a popup.
const Menu& DrawingCategoryMenu();

// The shape kind a tool item draws; nothing for other commands.
std::optional<ShapeKind> ToolOfCommand(int command);
// The tool's name in the title bar ("NEANT" without one).
std::string_view ToolName(std::optional<ShapeKind> tool);

}  // namespace notavera
