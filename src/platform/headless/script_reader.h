// Reading a script of notavera-cli script: one action a line, checked entirely before anything runs, so that a
// mistake in line 40 cannot leave the document half edited.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/canvas.h"
#include "platform/dialog_model.h"
#include "platform/ui_services.h"
#include "shell/dispatch.h"

namespace notavera {

struct KeyAction { Key key; KeyModifiers modifiers; };
// A key held down for `presses` presses (the first and its repeats), then released.
struct HoldAction { Key key; KeyModifiers modifiers; int presses = 1; };
struct CharsAction { std::u32string characters; };
struct CommandAction { std::uint32_t command; };
struct MessageAnswerAction { MessageAnswer answer; };
struct FileAnswerAction { std::optional<std::string> path; };  // nothing: the file dialog is cancelled
struct DialogAnswerAction { DialogAnswer answer; };
struct SaveAction { std::optional<std::string> path; };
struct RenderAction { int page; std::string path; };
struct DumpAction { std::string path; };
struct TitleAction {};
// Writes what the clipboard holds, one file per form: BASE.svg, BASE.png, BASE.wmf.
struct ClipboardAction { std::string base; };
// The mouse in page units: a click (with Ctrl or Shift), a double click, a right click, or a drag from `at` to
// `to`. A drag holds the button until the click has settled, unless `quick`.
struct MouseAction {
    enum class Kind { Click, DoubleClick, RightClick, Drag };
    Kind kind = Kind::Click;
    Point at;
    Point to;
    KeyModifiers modifiers;
    bool quick = false;
};

// Puts a plain text on the clipboard (\t, \r, \n and \\ in it stand for tab, carriage return, line feed and
// backslash).
struct ClipboardTextAction { std::string utf8; };
// Puts the picture of a file on the clipboard, as another program would: in the one form its name ends with
// (.wmf, .svg or .png).
struct ClipboardPictureAction { std::string path; std::string mime; };
// The window the following keys, characters, clicks, commands and titles go to: the score's, the text window or
// the drawing window.
enum class ScriptWindow { Score, Text, Drawing };
struct WindowAction { ScriptWindow window = ScriptWindow::Score; };
// A menu item of the target window chosen by its label (see FindMenuCommand).
struct MenuAction { std::string label; };
// An event from a MIDI keyboard, as its driver hands it over: the packed short message (status in the low byte)
// and its time stamp in milliseconds, or nothing to take the previous event's.
struct MidiInAction { std::uint32_t message; std::optional<std::uint32_t> at; };

using ScriptAction = std::variant<KeyAction, CharsAction, CommandAction, MessageAnswerAction, FileAnswerAction,
                                  DialogAnswerAction, SaveAction, RenderAction, DumpAction, TitleAction, MouseAction,
                                  ClipboardAction, ClipboardTextAction, ClipboardPictureAction, WindowAction, MenuAction,
                                  MidiInAction, HoldAction>;

struct ScriptLine {
    int number = 0;  // 1-based line of the script file
    ScriptAction action;
};

struct ScriptError {
    int line = 0;
    std::string problem;  // in French
};

// The actions of the script text, or the first line that cannot be read.
std::variant<std::vector<ScriptLine>, ScriptError> ReadScript(const std::string& text);

// The words of a line: blanks separate them, double quotes group blanks into one word and are removed. Each
// word also tells where its first '=' outside quotes stands (npos without one). Nothing for an unclosed quote.
struct ScriptWord {
    std::string text;
    std::size_t equals = std::string::npos;
};
std::optional<std::vector<ScriptWord>> SplitScriptLine(const std::string& line);

// The characters of a UTF-8 text; nothing when it is not valid UTF-8.
std::optional<std::u32string> DecodeUtf8(const std::string& text);

}  // namespace notavera
