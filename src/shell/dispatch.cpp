// Command, key and character dispatch of the main window: the shell's own rules first (the right-button flag,
// the tool check mark, the Ctrl renumbering, the modes that swallow characters), then the registered handler.
#include "shell/dispatch.h"

#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/curve_steering.h"
#include "shell/insertion_characters.h"
#include "shell/mouse_input.h"
#include "shell/move_box.h"
#include "shell/tool_commands.h"

namespace notavera {

namespace {

using Entry = CommandRegistry::Entry;

const Entry* FindCommandHandler(const EditorContext& ctx, int command) {
    if (const Entry* h = CoreCommands().findCommand(command)) return h;
    return ctx.platformCommands ? ctx.platformCommands->findCommand(command) : nullptr;
}

const Entry* FindKeyHandler(const EditorContext& ctx, int key) {
    if (const Entry* h = CoreCommands().findKey(key)) return h;
    return ctx.platformCommands ? ctx.platformCommands->findKey(key) : nullptr;
}

const Entry* FindCharHandler(const EditorContext& ctx, char32_t character) {
    if (const Entry* h = CoreCommands().findChar(character)) return h;
    return ctx.platformCommands ? ctx.platformCommands->findChar(character) : nullptr;
}

UndoPolicy PolicyOf(const Entry* entry) { return entry ? entry->policy : UndoPolicy::None; }

bool IsArrow(Key key) { return key == Key::Left || key == Key::Up || key == Key::Right || key == Key::Down; }

bool IsSideways(Key key) {
    return key == Key::Left || key == Key::Right || key == Key::Space || key == Key::Backspace;
}

int CtrlNumber(Key key) {
    switch (key) {
    case Key::PageUp: return static_cast<int>(Key::CtrlPageUp);
    case Key::PageDown: return static_cast<int>(Key::CtrlPageDown);
    case Key::Home: return static_cast<int>(Key::CtrlHome);
    case Key::Left: return static_cast<int>(Key::CtrlLeft);
    case Key::Up: return static_cast<int>(Key::CtrlUp);
    case Key::Right: return static_cast<int>(Key::CtrlRight);
    case Key::Down: return static_cast<int>(Key::CtrlDown);
    default: return static_cast<int>(key);
    }
}

// Escape leaves the modes the shell owns; the handlers of the other modes run after it.
void LeavePendingModes(EditorContext& ctx) {
    ShellState& shell = ctx.shell;
    if (shell.input.mouseMode != 0) ctx.ui.endMouseMode();
    shell.input.mouseMode = 0;
    shell.input.zSymbolMode = 0;
    EndMouseActions(ctx);
}

}  // namespace

int TranslateKey(Key key, KeyModifiers modifiers) {
    if (modifiers.ctrl && modifiers.shift && IsArrow(key)) return elementMoveKeyOffset + static_cast<int>(key);
    if (modifiers.ctrl) return CtrlNumber(key);
    if (modifiers.shift && IsSideways(key)) return shiftMoveKeyOffset + static_cast<int>(key);
    if (modifiers.shift && key == Key::Up) return static_cast<int>(Key::PageUp);
    if (modifiers.shift && key == Key::Down) return static_cast<int>(Key::PageDown);
    return static_cast<int>(key);
}

void SelectTool(EditorContext& ctx, int command) {
    if (!ToolTakesCheckMark(command)) return;
    ShellState& shell = ctx.shell;
    ctx.doc.toolOverride = 0;
    shell.input.toolMenuItem = command;
    // A line cut waited for its click.
    const int mode = shell.input.mouseMode;
    if (mode == cutLineUpMouseMode || mode == cutLineDownMouseMode) ctx.ui.endMouseMode();
    shell.input.mouseMode = 0;
}

void DispatchCommand(EditorContext& ctx, std::uint32_t command) {
    // The whole parameter is compared: a number with a high word is no menu item.
    if (command > 0xFFFF) return;
    const int id = static_cast<int>(command);
    const Entry* entry = FindCommandHandler(ctx, id);
    const CommandScope scope(ctx, PolicyOf(entry), true);
    SelectTool(ctx, id);
    if (entry) entry->handler(ctx, id);
}

void DispatchKey(EditorContext& ctx, Key key, KeyModifiers modifiers) {
    const int code = TranslateKey(key, modifiers);
    // A running move box, curve drag or free-slur tool takes the keys for itself.
    if (SteerMoveBox(ctx, code) || SteerCurve(ctx, code) || SteerFreeSlur(ctx, code)) return;
    const Entry* entry = FindKeyHandler(ctx, code);
    const CommandScope scope(ctx, PolicyOf(entry));
    if (code != static_cast<int>(Key::Enter)) ctx.shell.input.valueEntry = false;
    if (code == static_cast<int>(Key::Escape)) LeavePendingModes(ctx);
    if (entry) entry->handler(ctx, code);
}

void DispatchChar(EditorContext& ctx, char32_t character) {
    const Entry* entry = FindCharHandler(ctx, character);
    const CommandScope scope(ctx, PolicyOf(entry));
    if (TakeValueEntryDigit(ctx, character)) return;
    // A registered handler also runs after the shell's own table took the character into the insertion
    // attributes: that is how a typed accidental or dot reaches the note at the cursor.
    DispatchInsertionCharacter(ctx, character);
    if (entry) entry->handler(ctx, static_cast<int>(character));
}

bool CommandIsBuilt(int command) { return CoreCommands().findCommand(command) != nullptr; }

bool CommandIsBuilt(const EditorContext& ctx, int command) { return FindCommandHandler(ctx, command) != nullptr; }

}  // namespace notavera
