// Parsing script lines into actions.
#include "platform/headless/script_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/clipboard.h"

namespace notavera {

namespace {

using Words = std::vector<ScriptWord>;
using Parsed = std::variant<ScriptAction, std::string>;  // the action, or what is wrong with the line

struct KeyName {
    std::string_view name;
    Key key;
};

constexpr std::array<KeyName, 36> keyNames{{
    {"Backspace", Key::Backspace}, {"Tab", Key::Tab}, {"Enter", Key::Enter}, {"Escape", Key::Escape}, {"Space", Key::Space},
    {"PgUp", Key::PageUp}, {"PageUp", Key::PageUp}, {"PgDn", Key::PageDown}, {"PageDown", Key::PageDown},
    {"End", Key::End}, {"Home", Key::Home}, {"Left", Key::Left}, {"Up", Key::Up}, {"Right", Key::Right},
    {"Down", Key::Down}, {"Insert", Key::Insert}, {"Delete", Key::Delete}, {"F1", Key::F1}, {"F2", Key::F2},
    {"F3", Key::F3}, {"F4", Key::F4}, {"F5", Key::F5}, {"F6", Key::F6}, {"F7", Key::F7}, {"F8", Key::F8},
    {"F9", Key::F9}, {"Num1", Key::Numpad1}, {"Num2", Key::Numpad2}, {"Num3", Key::Numpad3}, {"Num4", Key::Numpad4},
    {"Num5", Key::Numpad5}, {"Num6", Key::Numpad6}, {"Num7", Key::Numpad7}, {"Num8", Key::Numpad8},
    {"Num9", Key::Numpad9}, {"NumPlus", Key::NumpadAdd},
}};

Parsed ParseKey(std::string_view text) {
    KeyAction action{Key::Enter, {}};
    for (;;) {
        if (text.starts_with("Ctrl+")) {
            action.modifiers.ctrl = true;
            text.remove_prefix(5);
        } else if (text.starts_with("Shift+")) {
            action.modifiers.shift = true;
            text.remove_prefix(6);
        } else {
            break;
        }
    }
    for (const KeyName& k : keyNames) {
        if (k.name != text) continue;
        action.key = k.key;
        return action;
    }
    return std::string("touche inconnue : ") + std::string(text);
}

// One character, or Ctrl+letter as its control character.
Parsed ParseChar(const std::string& text) {
    if (text.size() == 6 && text.starts_with("Ctrl+") && std::isalpha(static_cast<unsigned char>(text[5])))
        return CharsAction{std::u32string(1, static_cast<char32_t>(text[5] & 0x1F))};
    const auto decoded = DecodeUtf8(text);
    if (!decoded || decoded->size() != 1) return std::string("un seul caractère attendu");
    return CharsAction{*decoded};
}

Parsed ParseChars(const std::string& text) {
    const auto decoded = DecodeUtf8(text);
    if (!decoded || decoded->empty()) return std::string("texte UTF-8 attendu");
    return CharsAction{*decoded};
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && at == end;
}

Parsed ParseCommand(const std::string& text) {
    std::uint32_t command = 0;
    if (!ParseNumber(text, command)) return std::string("numéro de commande attendu");
    return CommandAction{command};
}

Parsed ParseMessageAnswer(const std::string& text) {
    if (text == "yes") return MessageAnswerAction{MessageAnswer::Yes};
    if (text == "no") return MessageAnswerAction{MessageAnswer::No};
    if (text == "cancel") return MessageAnswerAction{MessageAnswer::Cancel};
    if (text == "ok") return MessageAnswerAction{MessageAnswer::Ok};
    if (text == "retry") return MessageAnswerAction{MessageAnswer::Retry};
    return std::string("réponse attendue : yes, no, cancel, ok ou retry");
}

// answer NAME field=value … ok|cancel
Parsed ParseDialogAnswer(const Words& w) {
    DialogAnswer answer;
    answer.name = w[1].text;
    const std::string& last = w.back().text;
    if (w.size() < 3 || (last != "ok" && last != "cancel")) return std::string("la réponse finit par ok ou cancel");
    answer.ok = last == "ok";
    for (std::size_t i = 2; i + 1 < w.size(); ++i) {
        if (w[i].equals == std::string::npos) return "champ sans valeur : " + w[i].text;
        answer.fields.emplace_back(w[i].text.substr(0, w[i].equals), w[i].text.substr(w[i].equals + 1));
    }
    return DialogAnswerAction{std::move(answer)};
}

Parsed ParseAnswer(const Words& w) {
    if (w.size() < 3) return std::string("réponse incomplète");
    if (w[1].text == "message") return w.size() == 3 ? ParseMessageAnswer(w[2].text) : Parsed("une seule réponse");
    if (w[1].text == "file") {
        if (w.size() != 3) return std::string("un seul nom de fichier");
        return FileAnswerAction{w[2].text == "cancel" ? std::nullopt : std::optional<std::string>(w[2].text)};
    }
    return ParseDialogAnswer(w);
}

// A byte of a MIDI message, in decimal or in hexadecimal after 0x. Bytes above 127 are let through: a data byte
// out of range is the handler's to ignore.
bool ParseMidiByte(std::string_view text, std::uint32_t& value) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    if (hex) text.remove_prefix(2);
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value, hex ? 16 : 10);
    return !text.empty() && error == std::errc() && at == end && value <= 0xFF;
}

// midi-in STATUS D1 D2 [at MS]
Parsed ParseMidiIn(const Words& w) {
    const std::string usage = "midi-in STATUS D1 D2 [at MS]";
    std::array<std::uint32_t, 3> bytes{};
    if (w.size() != 4 && w.size() != 6) return usage;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!ParseMidiByte(w[i + 1].text, bytes[i])) return usage;
    }
    MidiInAction action{bytes[0] | bytes[1] << 8 | bytes[2] << 16, std::nullopt};
    if (w.size() == 6) {
        std::uint32_t at = 0;
        if (w[4].text != "at" || !ParseNumber(std::string_view(w[5].text), at)) return usage;
        action.at = at;
    }
    return action;
}

Parsed ParseRender(const Words& w) {
    int page = 0;
    if (w.size() != 3 || !ParseNumber(std::string_view(w[1].text), page)) return std::string("render PAGE FICHIER");
    return RenderAction{page, w[2].text};
}

// Mouse points lie within a hundred metres of the page: the drag's arithmetic never leaves the int range.
constexpr int farthestPoint = 1000000;

bool ParsePoint(const Words& w, std::size_t at, Point& p) {
    const bool read = at + 1 < w.size() && ParseNumber(std::string_view(w[at].text), p.x) &&
                      ParseNumber(std::string_view(w[at + 1].text), p.y);
    return read && std::abs(p.x) <= farthestPoint && std::abs(p.y) <= farthestPoint;
}

// click X Y [ctrl|shift], dblclick X Y, rclick X Y
Parsed ParseClick(const Words& w, MouseAction::Kind kind) {
    MouseAction action;
    action.kind = kind;
    const std::size_t n = w.size();
    const bool withModifier = (kind == MouseAction::Kind::Click || kind == MouseAction::Kind::RightClick) && n == 4;
    if (!ParsePoint(w, 1, action.at) || (n != 3 && !withModifier)) return w[0].text + " X Y";
    if (withModifier) {
        if (w[3].text == "ctrl") action.modifiers.ctrl = true;
        else if (w[3].text == "shift") action.modifiers.shift = true;
        else return std::string("ctrl ou shift attendu");
    }
    return action;
}

// drag X1 Y1 X2 Y2 [ctrl] [quick]
Parsed ParseDrag(const Words& w) {
    const std::string usage = "drag X1 Y1 X2 Y2 [ctrl] [quick]";
    MouseAction action;
    action.kind = MouseAction::Kind::Drag;
    if (!ParsePoint(w, 1, action.at) || !ParsePoint(w, 3, action.to)) return usage;
    for (std::size_t i = 5; i < w.size(); ++i) {
        if (w[i].text == "ctrl" && !action.modifiers.ctrl) action.modifiers.ctrl = true;
        else if (w[i].text == "quick" && !action.quick) action.quick = true;
        else return usage;
    }
    return action;
}

// The escapes of a clipboard text.
Parsed ParseClipboardText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 't') out += '\t';
        else if (c == 'n') out += '\n';
        else if (c == 'r') out += '\r';
        else if (c == '\\') out += '\\';
        else return std::string("échappement inconnu : \\") + c;
    }
    if (!DecodeUtf8(out)) return std::string("texte UTF-8 attendu");
    return ClipboardTextAction{std::move(out)};
}

Parsed ParseClipboardPicture(const std::string& path) {
    const std::string ending = std::filesystem::path(path).extension().string();
    for (const auto& [extension, mime] : {std::pair{".wmf", wmfMime}, {".svg", svgMime}, {".png", pngMime}})
        if (ending == extension) return ClipboardPictureAction{path, mime};
    return std::string("image .wmf, .svg ou .png attendue : ") + path;
}

Parsed ParseClipboard(const Words& w) {
    if (w.size() == 2) return ClipboardAction{w[1].text};
    if (w.size() == 3 && w[1].text == "text") return ParseClipboardText(w[2].text);
    if (w.size() == 3 && w[1].text == "picture") return ParseClipboardPicture(w[2].text);
    return std::string("clipboard BASE, clipboard text \"TEXTE\" ou clipboard picture IMAGE");
}

Parsed ParseWindow(const Words& w) {
    if (w.size() == 2 && w[1].text == "texte") return WindowAction{ScriptWindow::Text};
    if (w.size() == 2 && w[1].text == "dessin") return WindowAction{ScriptWindow::Drawing};
    if (w.size() == 2 && w[1].text == "partition") return WindowAction{ScriptWindow::Score};
    return std::string("window texte|dessin|partition");
}

// hold KEY N: the key pressed and held for N presses, then released.
Parsed ParseHold(const Words& w) {
    const std::string usage = "hold TOUCHE N";
    int presses = 0;
    if (w.size() != 3 || !ParseNumber(std::string_view(w[2].text), presses) || presses < 1 || presses > 1000)
        return usage;
    Parsed key = ParseKey(w[1].text);
    if (const auto* k = std::get_if<ScriptAction>(&key)) {
        const KeyAction& a = std::get<KeyAction>(*k);
        return HoldAction{a.key, a.modifiers, presses};
    }
    return key;
}

Parsed ParseWords(const Words& w) {
    const std::string& verb = w[0].text;
    const std::size_t n = w.size();
    if (verb == "key") return n == 2 ? ParseKey(w[1].text) : Parsed("key TOUCHE");
    if (verb == "hold") return ParseHold(w);
    if (verb == "char") return n == 2 ? ParseChar(w[1].text) : Parsed("char CARACTÈRE");
    if (verb == "chars") return n == 2 ? ParseChars(w[1].text) : Parsed("chars \"TEXTE\"");
    if (verb == "cmd") return n == 2 ? ParseCommand(w[1].text) : Parsed("cmd NUMÉRO");
    if (verb == "answer") return ParseAnswer(w);
    // The undo lines act as the two menu commands, so a script goes through what the menu and palette do.
    if (verb == "undo") return n == 1 ? Parsed(CommandAction{cmd::Undo}) : Parsed("undo s'emploie seul");
    if (verb == "redo") return n == 1 ? Parsed(CommandAction{cmd::CancelUndo}) : Parsed("redo s'emploie seul");
    if (verb == "save") {
        if (n > 2) return std::string("save [FICHIER]");
        return SaveAction{n == 2 ? std::optional<std::string>(w[1].text) : std::nullopt};
    }
    if (verb == "render") return ParseRender(w);
    if (verb == "dump") return n == 2 ? Parsed(DumpAction{w[1].text}) : Parsed("dump FICHIER");
    if (verb == "title") return n == 1 ? Parsed(TitleAction{}) : Parsed("title s'emploie seul");
    if (verb == "clipboard") return ParseClipboard(w);
    if (verb == "window") return ParseWindow(w);
    if (verb == "menu") return n == 2 ? Parsed(MenuAction{w[1].text}) : Parsed("menu \"LIBELLÉ\"");
    if (verb == "click") return ParseClick(w, MouseAction::Kind::Click);
    if (verb == "dblclick") return ParseClick(w, MouseAction::Kind::DoubleClick);
    if (verb == "rclick") return ParseClick(w, MouseAction::Kind::RightClick);
    if (verb == "drag") return ParseDrag(w);
    if (verb == "midi-in") return ParseMidiIn(w);
    return "action inconnue : " + verb;
}

}  // namespace

std::optional<std::vector<ScriptWord>> SplitScriptLine(const std::string& line) {
    std::vector<ScriptWord> words;
    std::optional<ScriptWord> word;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            if (!word) word.emplace();
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (word) words.push_back(std::move(*word));
            word.reset();
            continue;
        }
        if (!word) word.emplace();
        if (c == '=' && !quoted && word->equals == std::string::npos) word->equals = word->text.size();
        word->text += c;
    }
    if (quoted) return std::nullopt;
    if (word) words.push_back(std::move(*word));
    return words;
}

std::optional<std::u32string> DecodeUtf8(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3
                                                                                                       : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) return std::nullopt;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        out += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::variant<std::vector<ScriptLine>, ScriptError> ReadScript(const std::string& text) {
    std::vector<ScriptLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        const auto words = SplitScriptLine(line);
        if (!words) return ScriptError{number, "guillemet non fermé"};
        if (words->empty() || (*words)[0].text.starts_with('#')) continue;
        Parsed parsed = ParseWords(*words);
        if (auto* problem = std::get_if<std::string>(&parsed)) return ScriptError{number, std::move(*problem)};
        lines.push_back({number, std::move(std::get<ScriptAction>(parsed))});
    }
    return lines;
}

}  // namespace notavera
