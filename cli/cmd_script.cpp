// notavera-cli script: the editor without a window, driven by a script through the same dispatch as the
// window. Message boxes print as MESSAGE lines and take the scripted answers.
#include <cstdio>
#include <fstream>
#include <span>
#include <sstream>

#include "cli_ui.h"
#include "commands.h"
#include "midi/midi_devices.h"
#include "midi/midi_input_ring.h"
#include "page_picture.h"
#include "platform/clipboard.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/script_reader.h"
#include "platform/message_ids.h"
#include "platform/xml/qt_xml_file.h"
#include "score/cursor_place.h"
#include "score/document_json.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/command_ids.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"
#include "shell/menu_state.h"
#include "shell/mouse_input.h"
#include "shell/menu_table.h"
#include "shell/midi_step_entry.h"
#include "shell/shell_timers.h"
#include "shell/drawing_window.h"
#include "shell/drawing_window_menu.h"
#include "shell/text_window.h"
#include "shell/text_window_menu.h"
#include "shell/title_bar.h"
#ifdef NOTAVERA_CLI_QT
#include "qt_picture_output.h"
#endif

namespace notavera::cli {

namespace {

constexpr const char* scriptUsage =
    "usage : notavera-cli script DOC SCRIPT\n"
    "  souris (unités de page : 1/10 mm depuis le coin inférieur gauche, y vers le haut) :\n"
    "    click X Y [ctrl|shift]   dblclick X Y   rclick X Y   drag X1 Y1 X2 Y2 [ctrl] [quick]\n"
    "  un glisser attend que le clic soit posé (250 ms), sauf avec quick ; le temps passe entre deux lignes\n"
    "  clipboard BASE : écrit le contenu du presse-papiers, un fichier par forme (BASE.svg, BASE.png, BASE.wmf),\n"
    "    et l'annonce par une ligne CLIPBOARD suivie des types MIME écrits\n"
    "  window texte|dessin|partition : les touches, caractères, clics, commandes, menus et titres qui suivent vont\n"
    "    à la fenêtre Texte (ouverte par cmd 231), à la fenêtre Dessin (cmd 232) ou à la partition ; fermer la\n"
    "    fenêtre revient à la partition\n"
    "  hold TOUCHE N : la touche tenue enfoncée le temps de N frappes, puis relâchée\n"
    "  menu \"LIBELLÉ\" : l'élément de menu de la fenêtre visée, par son libellé (avec ou sans &) ou par le chemin\n"
    "    des libellés depuis le titre du menu, joints par > (\"Catégorie>PAROLES>PAROLES 2\")\n"
    "  clipboard text \"TEXTE\" : met un texte dans le presse-papiers (\\t tabulation, \\r retour, \\n saut de ligne)\n"
    "  clipboard picture IMAGE : met l'image d'un fichier .wmf, .svg ou .png dans le presse-papiers\n"
    "  midi-in STATUS D1 D2 [at MS] : un événement d'un clavier MIDI (octets en décimal ou 0x..), daté de MS\n"
    "    millisecondes, sinon de la date du précédent\n"
    "  le script échoue sur une commande grisée, une boîte de dialogue sans réponse, un champ inconnu, et une\n"
    "    réponse qu'aucune boîte ne prend ; les réponses du début servent aux boîtes du démarrage\n";

// The file name ending of each clipboard form.
const char* ExtensionOf(const std::string& mime) {
    if (mime == svgMime) return ".svg";
    if (mime == pngMime) return ".png";
    return ".wmf";
}

class ScriptRunner {
public:
    ScriptRunner() : ctx_(ui_) {
        ui_.xmlFiles = WriteXmlFile;
#ifdef NOTAVERA_CLI_QT
        ui_.headlessClipboard().setRenderer(QtClipboardForm);
        ui_.headlessClipboard().setConverter(QtPictureMetafile);
        ui_.pdfFiles = OpenPdfJob;
#endif
    }

    EditorContext& ctx() { return ctx_; }
    HeadlessUi& ui() { return ui_; }

    // False when the line failed, or left a mistake of the script behind it: the failure was told on stderr or
    // in a MESSAGE line.
    bool run(const ScriptLine& line) {
        line_ = line.number;
        return std::visit([this](const auto& a) { return perform(a); }, line.action) && answersFitDialogs();
    }

    // Every dialog answer of the script was taken by a dialog; otherwise the script answers a dialog that never
    // opened (a mistyped name, or a step that did not happen).
    // What the editor opens as it starts, before the first action: its dialogs take the script's first answers.
    bool startFitsAnswers() {
        line_ = 0;
        return answersFitDialogs();
    }

    bool allAnswersUsed() const {
        for (const DialogAnswer& left : ui_.pendingDialogAnswers()) {
            std::fprintf(stderr, "Ligne %d : aucune boîte de dialogue \"%s\" n'a pris cette réponse\n", left.scriptLine,
                         left.name.c_str());
        }
        return ui_.pendingDialogAnswers().empty();
    }

private:
    std::string where() const { return line_ == 0 ? "Au démarrage" : "Ligne " + std::to_string(line_); }

    // A dialog opened without its answer, or an answer naming a field the dialog lacks or refuses, fails the line
    // that opened it: a mistyped test must not pass.
    bool answersFitDialogs() {
        bool fit = true;
        for (; unansweredSeen_ < ui_.unansweredDialogs().size(); ++unansweredSeen_, fit = false) {
            std::fprintf(stderr, "%s : la boîte de dialogue \"%s\" s'est ouverte sans réponse\n", where().c_str(),
                         ui_.unansweredDialogs()[unansweredSeen_].c_str());
        }
        for (; refusedSeen_ < ui_.refusedFields().size(); ++refusedSeen_, fit = false) {
            std::fprintf(stderr, "%s : champ inconnu ou valeur refusée : %s\n", where().c_str(),
                         ui_.refusedFields()[refusedSeen_].c_str());
        }
        return fit;
    }

    // A window closed by its own Quitter hands the keys back to the score.
    bool toText() {
        if (target_ == ScriptWindow::Text && !TextWindowOpen(ctx_)) target_ = ScriptWindow::Score;
        return target_ == ScriptWindow::Text;
    }
    bool toDrawing() {
        if (target_ == ScriptWindow::Drawing && !DrawingWindowOpen(ctx_)) target_ = ScriptWindow::Score;
        return target_ == ScriptWindow::Drawing;
    }
    bool perform(const KeyAction& a) {
        if (toText()) {
            DispatchTextKey(ctx_, a.key, a.modifiers);
        } else if (toDrawing()) {
            DispatchDrawingKey(ctx_, a.key, a.modifiers);
            DispatchDrawingKeyUp(ctx_, a.key);
        } else {
            DispatchKey(ctx_, a.key, a.modifiers);
        }
        return true;
    }
    bool perform(const HoldAction& a) {
        // Outside the drawing window a held key is its presses: only that window tells a release apart.
        if (!toDrawing()) {
            for (int i = 0; i < a.presses; ++i) perform(KeyAction{a.key, a.modifiers});
            return true;
        }
        for (int i = 0; i < a.presses; ++i) DispatchDrawingKey(ctx_, a.key, a.modifiers);
        DispatchDrawingKeyUp(ctx_, a.key);
        return true;
    }
    bool perform(const CharsAction& a) {
        for (const char32_t c : a.characters) {
            if (toText()) DispatchTextChar(ctx_, c);
            else if (toDrawing()) DispatchDrawingChar(ctx_, c);
            else DispatchChar(ctx_, c);
        }
        return true;
    }
    bool perform(const WindowAction& a) {
        const bool open = a.window == ScriptWindow::Text      ? TextWindowOpen(ctx_)
                          : a.window == ScriptWindow::Drawing ? DrawingWindowOpen(ctx_)
                                                              : true;
        if (!open) {
            std::fprintf(stderr, "Ligne %d : la fenêtre %s n'est pas ouverte\n", line_,
                         a.window == ScriptWindow::Text ? "Texte" : "Dessin");
            return false;
        }
        if (a.window != ScriptWindow::Text && toText()) DeactivateTextWindow(ctx_);
        target_ = a.window;
        return true;
    }
    bool perform(const MenuAction& a) {
        const auto found = FindMenuCommand(toText() ? TextMenus() : toDrawing() ? DrawingMenus() : MainMenus(), a.label);
        if (const auto* problem = std::get_if<std::string>(&found)) {
            std::fprintf(stderr, "Ligne %d : %s\n", line_, problem->c_str());
            return false;
        }
        return perform(CommandAction{static_cast<std::uint32_t>(std::get<int>(found))});
    }
    bool perform(const ClipboardPictureAction& a) {
        std::ifstream file(a.path, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file.good() && !file.eof()) {
            ShowError(ui_, msg::cannotRead, &a.path);
            return false;
        }
        ui_.headlessClipboard().setPictureForm(a.mime, std::move(bytes));
        return true;
    }
    bool perform(const ClipboardTextAction& a) {
        ui_.headlessClipboard().setText(a.utf8);
        return true;
    }
    // A grey item cannot be chosen: the script that tries is wrong.
    bool perform(const CommandAction& a) {
        if (toText()) {
            if (!TextMenuItem(ctx_, static_cast<int>(a.command)).enabled) {
                std::printf("MESSAGE Script 0 Commande grisée : %u\n", a.command);
                std::fflush(stdout);
                return false;
            }
            DispatchTextCommand(ctx_, static_cast<int>(a.command));
            return true;
        }
        if (toDrawing()) {
            if (!DrawingMenuItem(ctx_, static_cast<int>(a.command)).enabled) {
                std::printf("MESSAGE Script 0 Commande grisée : %u\n", a.command);
                std::fflush(stdout);
                return false;
            }
            DispatchDrawingCommand(ctx_, static_cast<int>(a.command));
            return true;
        }
        if (!CommandAvailable(ctx_, static_cast<int>(a.command))) {
            std::printf("MESSAGE Script 0 Commande grisée : %u\n", a.command);
            std::fflush(stdout);
            return false;
        }
        DispatchCommand(ctx_, a.command);
        return true;
    }
    bool perform(const MessageAnswerAction& a) {
        ui_.queueAnswer(a.answer);
        return true;
    }
    bool perform(const FileAnswerAction& a) {
        ui_.queueFileName(a.path);
        return true;
    }
    bool perform(const DialogAnswerAction& a) {
        DialogAnswer answer = a.answer;
        answer.scriptLine = line_;
        ui_.queueDialogAnswer(std::move(answer));
        return true;
    }
    bool perform(const SaveAction& a) {
        if (!a.path) return DoFileCommand(ctx_, cmd::Save) == 1;
        ui_.queueFileName(*a.path);
        return DoFileCommand(ctx_, cmd::SaveAs) == 1;
    }
    // The view stays on the page it showed: the page drawn is only visited.
    bool perform(const RenderAction& a) {
        const KeepCursor keep(ctx_.doc, ctx_.ui);
        PictureRequest request;
        request.page = a.page;
        request.out = a.path;
        request.zoom = ctx_.shell.view.zoom;
        request.markers = a.page == keep.saved().page;  // the markers belong to the page the editor shows
        const auto format = FormatOf(a.path);
        if (!format || !FormatAvailable(*format)) {
            std::fprintf(stderr, "Format de sortie inconnu : %s\n", a.path.c_str());
            return false;
        }
        request.format = *format;
        return WritePagePicture(ctx_, request) == 0;
    }
    bool perform(const DumpAction& a) {
        std::ofstream file(a.path, std::ios::binary | std::ios::trunc);
        file << DocumentToJson(ctx_.doc, ctx_.ui, true).dump(2) << '\n';
        if (file.flush()) return true;
        ShowError(ui_, msg::cannotWrite, &a.path);
        return false;
    }
    bool perform(const MouseAction& a) {
        using Kind = MouseAction::Kind;
        if (toDrawing()) {
            switch (a.kind) {
            case Kind::RightClick: DrawingMouseRightDown(ctx_, a.modifiers); break;
            case Kind::DoubleClick:
                DrawingMouseLeftDown(ctx_, a.at, {});
                DrawingMouseDoubleClick(ctx_, a.at);
                break;
            case Kind::Click:
            case Kind::Drag: DrawingMouseLeftDown(ctx_, a.at, a.modifiers); break;
            }
            return true;
        }
        if (toText()) {
            if (a.kind == Kind::RightClick) {
                TextMouseRightDown(ctx_);
                return true;
            }
            TextMouseLeftDown(ctx_, a.at);
            if (a.kind == Kind::Drag) TextMouseMove(ctx_, a.to);
            TextMouseLeftUp(ctx_, a.kind == Kind::Drag ? a.to : a.at);
            return true;
        }
        switch (a.kind) {
        case Kind::Click:
            MouseLeftDown(ctx_, a.at, a.modifiers);
            MouseLeftUp(ctx_, a.at);
            break;
        case Kind::DoubleClick:
            // As the window receives it: a click, then the double click in place of the second press.
            MouseLeftDown(ctx_, a.at, {});
            MouseLeftUp(ctx_, a.at);
            MouseDoubleClick(ctx_, a.at);
            MouseLeftUp(ctx_, a.at);
            break;
        case Kind::RightClick: MouseRightDown(ctx_); break;
        case Kind::Drag:
            MouseLeftDown(ctx_, a.at, a.modifiers);
            if (!a.quick) OnShellTimer(ctx_, clickSettleTimer);
            MouseMove(ctx_, a.to, true, a.modifiers);
            MouseLeftUp(ctx_, a.to);
            break;
        }
        // The lines of a script are far apart in time: the click has settled before the next one.
        OnShellTimer(ctx_, clickSettleTimer);
        return true;
    }
    bool perform(const TitleAction&) {
        const std::string title = toText()      ? TextWindowTitle(ctx_)
                                  : toDrawing() ? DrawingWindowTitle(ctx_)
                                                : TitleBarText(TitleBarInfoOf(ctx_));
        std::printf("TITLE %s\n", title.c_str());
        std::fflush(stdout);
        return true;
    }

    bool perform(const ClipboardAction& a) {
        std::string line = "CLIPBOARD";
        for (const auto& [mime, bytes] : ui_.headlessClipboard().contents()) {
            const std::string path = a.base + ExtensionOf(mime);
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!file.flush()) {
                ShowError(ui_, msg::cannotWrite, &path);
                return false;
            }
            line += " " + mime;
        }
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        return true;
    }

    // The event goes through the ring as a keyboard's would, and the ring is emptied as the window empties it
    // when told that input is ready.
    bool perform(const MidiInAction& a) {
        if (a.at) midiTime_ = *a.at;
        midiRing_.push(MidiInputEvent{0, midiTime_, a.message});
        while (const std::optional<MidiInputEvent> event = midiRing_.pop()) {
            if (IsStepEntryEvent(event->message)) HandleMidiInputEvent(ctx_, *event);
        }
        return true;
    }

    CliUi ui_{stdout};
    EditorContext ctx_;
    MidiInputRing midiRing_;
    std::uint32_t midiTime_ = 0;
    int line_ = 0;
    ScriptWindow target_ = ScriptWindow::Score;  // the window the keys, characters and clicks go to
    std::size_t unansweredSeen_ = 0;
    std::size_t refusedSeen_ = 0;
};

bool IsAnswer(const ScriptAction& action) {
    return std::holds_alternative<MessageAnswerAction>(action) || std::holds_alternative<FileAnswerAction>(action) ||
           std::holds_alternative<DialogAnswerAction>(action);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int RunScript(const Args& args) {
    if (args.size() != 2) {
        std::fputs(scriptUsage, stderr);
        return 2;
    }
    const auto text = ReadWholeFile(args[1]);
    if (!text) {
        std::fprintf(stderr, "Impossible de lire le fichier %s !\n", args[1].c_str());
        return 2;
    }
    // Every line is read before the first one runs: a bad line changes nothing.
    auto script = ReadScript(*text);
    if (const auto* error = std::get_if<ScriptError>(&script)) {
        std::fprintf(stderr, "Erreur de script, ligne %d : %s\n", error->line, error->problem.c_str());
        return 2;
    }

    ScriptRunner runner;
    // The answers the script starts with are there before the editor starts: they answer what it opens first
    // (the staff layout of a score without a name).
    const auto& lines = std::get<std::vector<ScriptLine>>(script);
    auto first = lines.begin();
    for (; first != lines.end() && IsAnswer(first->action); ++first) runner.run(*first);
    OpenStartDocument(runner.ctx(), args[0]);
    int status = runner.startFitsAnswers() ? 0 : 1;
    StartShellTimers(runner.ctx());
    for (const ScriptLine& line : std::span(first, lines.end())) {
        if (status != 0) break;
        if (!runner.run(line)) {
            std::fprintf(stderr, "Echec de l'action de la ligne %d\n", line.number);
            status = 1;
        }
        if (runner.ui().closed()) break;  // Quitter took the window down
    }
    if (status == 0 && !runner.allAnswersUsed()) status = 1;
    // The batch run ends like a window closed without the question: unsaved changes are not kept.
    if (!runner.ui().closed()) DeleteWorkFiles(runner.ctx().doc);
    return status;
}

}  // namespace notavera::cli
