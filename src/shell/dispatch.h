// The one way in for everything the user does on the main window: menu commands, palette buttons, keys and
// characters. The Qt window and the script runner both feed it; the handlers of each subsystem plug into it.
#pragma once

#include <cstdint>

#include "shell/command_ids.h"
#include "shell/editor_context.h"

namespace notavera {

// Keys that reach the key dispatch, numbered as the key table speaks of them (virtual-key numbers); the
// Ctrl renumbering gives the seven codes 178..182, 206 and 207.
enum class Key : int {
    Backspace = 8, Tab = 9, Enter = 13, Escape = 27, Space = 32,
    PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40,
    Insert = 45, Delete = 46,
    Numpad1 = 97, Numpad2, Numpad3, Numpad4, Numpad5, Numpad6, Numpad7, Numpad8, Numpad9, NumpadAdd = 107,
    F1 = 112, F2, F3, F4, F5, F6, F7, F8, F9,
    CtrlRight = 178, CtrlUp = 181, CtrlDown = 182, CtrlHome = 180, CtrlPageDown = 179,
    CtrlPageUp = 206, CtrlLeft = 207,
};

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
};

// Ctrl+Shift+arrow moves the element at the cursor: it reaches the key handler of this offset + the arrow key.
inline constexpr int elementMoveKeyOffset = 1000;
// Shift+Left, Shift+Right, Shift+Space and Shift+Backspace move the element at the cursor, or the cursor when no
// element is there: they reach the key handler of this offset + the key.
inline constexpr int shiftMoveKeyOffset = 2000;

// The key number dispatched for a key-down: Ctrl renumbers PgUp, PgDn, Home and the arrows (End keeps its
// number), Shift turns Up and Down into PgUp and PgDn, Ctrl+Shift+arrow gives elementMoveKeyOffset + arrow and
// Shift with a sideways key shiftMoveKeyOffset + key.
int TranslateKey(Key key, KeyModifiers modifiers);

// Called first for every command: a tool command of the checked kind moves the tool check mark, ends a line
// cut that waits for its click, and clears the pending mouse mode. Other commands pass unchanged.
void SelectTool(EditorContext& ctx, int command);

// A menu command, palette button or re-entered command. The whole parameter is compared: a command with a
// non-zero high word matches nothing.
void DispatchCommand(EditorContext& ctx, std::uint32_t command);
// A key-down with its modifiers (the Ctrl renumbering and Shift+Up/Down are done here).
void DispatchKey(EditorContext& ctx, Key key, KeyModifiers modifiers);
// A character message (printable characters, and Ctrl+letter as its control character). The shell's character
// table acts first; a handler registered for the character then runs as well.
void DispatchChar(EditorContext& ctx, char32_t character);

// True when the command has a handler in this build; the menus grey every other command. The second form
// also counts the handlers of the window's own services.
bool CommandIsBuilt(int command);
bool CommandIsBuilt(const EditorContext& ctx, int command);

}  // namespace notavera
