// The text window "Texte": opening and closing it, its menu commands, keys, characters and mouse, its title bar
// and the state of its menu items. Windows of any interface (the Qt window, a script) drive it through these.
#pragma once

#include <optional>
#include <string>

#include "platform/canvas.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/menu_state.h"

namespace notavera {

class CommandRegistry;

// "&Texte": creates the window's state (or keeps it) and shows the window. The dispatch has saved an undo step.
void OpenTextWindow(EditorContext& ctx);
// "&Quitter" of the window, or its close box: commits, frees the fonts added and unused, hands the insertion
// point back to the main window and takes the window down.
void CloseTextWindow(EditorContext& ctx);
// The window loses the focus: the text being typed is committed, and the fonts added while it was active that no
// text uses are freed.
void DeactivateTextWindow(EditorContext& ctx);
bool TextWindowOpen(const EditorContext& ctx);

void DispatchTextCommand(EditorContext& ctx, int command);
void DispatchTextKey(EditorContext& ctx, Key key, KeyModifiers modifiers);
void DispatchTextChar(EditorContext& ctx, char32_t character);
void TextMouseLeftDown(EditorContext& ctx, Point at);
void TextMouseMove(EditorContext& ctx, Point at);
void TextMouseLeftUp(EditorContext& ctx, Point at);
void TextMouseRightDown(EditorContext& ctx);

std::string TextWindowTitle(const EditorContext& ctx);
void UpdateTextWindowTitle(EditorContext& ctx);

CommandState TextMenuItem(const EditorContext& ctx, int command);

// The text being typed or edited, as the window draws it over the page in the selection colour: its baseline's
// left end, its characters (UTF-8) and font, and the x of the insertion point.
struct TextInEditing {
    Point origin;
    std::string utf8;
    TextFont font;
    int caretX = 0;
};
std::optional<TextInEditing> TextBeingEdited(const EditorContext& ctx);
// Where the text cursor stands when nothing is being typed: x and the lower edge of the next text.
std::optional<Point> TextCursor(const EditorContext& ctx);

// The main window's commands of this subsystem: "&Texte", and the syllable spacing of lines and hyphens.
void RegisterTextWindowCommands(CommandRegistry& registry);

}  // namespace notavera
