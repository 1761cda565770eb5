// "Lire fichier MIDI": the file browser, its "Info" and "Effacer" buttons, and the import.
#include "shell/midi_import_command.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "edit/midi_import.h"
#include "midi/midi_dump.h"
#include "platform/dialog_model.h"
#include "platform/messages.h"
#include "platform/ui_services.h"
#include "score/new_document.h"
#include "shell/editor_context.h"
#include "shell/midi_info_dialog.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

namespace f = midi_browser_field;

constexpr int readError = 9;

bool IsFolderEntry(const std::string& entry) { return entry.size() >= 2 && entry.front() == '[' && entry.back() == ']'; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The browser's state between its reactions: the folder shown and the entries listed.
struct Browser {
    EditorContext& ctx;
    std::filesystem::path folder;
    std::vector<std::string> entries;

    void fill(DialogModel& m) {
        ctx.ui.setWaitCursor(true);
        entries = MidiBrowserEntries(folder);
        ctx.ui.setWaitCursor(false);
        DialogField* list = m.find(std::to_string(f::files));
        list->choices = entries.empty() ? std::vector<std::string>{""} : entries;
        list->value = 0;
        m.find(std::to_string(f::folder))->text = Lower(folder.string());
        m.find(std::to_string(f::name))->text = entries.empty() || IsFolderEntry(entries[0]) ? "" : entries[0];
    }
    std::string selected(const DialogModel& m) const {
        const int i = m.value(std::to_string(f::files));
        return i >= 0 && i < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(i)] : "";
    }

    void chosen(DialogModel& m) {
        const std::string entry = selected(m);
        if (!IsFolderEntry(entry)) {
            m.find(std::to_string(f::name))->text = entry;
            return;
        }
        // Choosing a folder enters it.
        std::error_code ec;
        const auto next = std::filesystem::weakly_canonical(folder / entry.substr(1, entry.size() - 2), ec);
        if (!ec && std::filesystem::is_directory(next, ec)) folder = next;
        fill(m);
    }

    void info(const DialogModel& m) {
        const std::string entry = selected(m);
        const auto dump = IsFolderEntry(entry) || entry.empty() ? std::nullopt : DumpMidiFile(folder / entry, false);
        if (!dump) {
            ShowError(ctx.ui, readError);
            return;
        }
        RunMidiInfoDialog(ctx.ui, dump->text, dump->meter, ctx.shell.dialogs.midiImport);
    }

    void erase(DialogModel& m) {
        const std::string entry = selected(m);
        if (entry.empty() || IsFolderEntry(entry)) return;
        if (!YesNoBox(ctx.ui, "Voulez-vous effacer " + entry + "?")) return;
        std::error_code ec;
        std::filesystem::remove(folder / entry, ec);
        fill(m);
    }
};

}  // namespace

std::vector<std::string> MidiBrowserEntries(const std::filesystem::path& folder) {
    std::vector<std::string> files, folders;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (it->is_directory(kind))
            folders.push_back("[" + name + "]");
        else if (Lower(it->path().extension().string()) == ".mid")
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    if (folder.has_parent_path() && folder != folder.root_path()) folders.insert(folders.begin(), "[..]");
    files.insert(files.end(), folders.begin(), folders.end());
    return files;
}

bool MidiImportAllowed(const EditorContext& ctx) {
    return ctx.doc.storage.fileState == FileState::None && ctx.doc.storage.path.empty() && !ctx.shell.maskEditing;
}

int RunMidiImportCommand(EditorContext& ctx) {
    if (!MidiImportAllowed(ctx)) return 0;
    std::error_code ec;
    std::filesystem::path& folder = ctx.shell.dialogs.midiFolder;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) folder = std::filesystem::current_path(ec);
    Browser browser{ctx, folder, {}};
    DialogModel m("MainScreen", "MIDI");
    m.addStatic(f::folder, "Répertoire", "");
    m.addChoice(f::files, "Fichiers", {""}, 0);
    m.addText(f::name, "Nom", "", 0);
    m.addButton(0, f::info);
    m.addButton(0, f::erase);
    browser.fill(m);
    m.onChange = [&browser](DialogModel& model, const DialogField& field) {
        if (field.id == f::files) browser.chosen(model);
        if (field.label == f::info) browser.info(model);
        if (field.label == f::erase) browser.erase(model);
    };
    // "Importer" on a folder, or on nothing, leaves the browser open.
    for (;;) {
        const bool ok = ctx.ui.runDialog(m);
        folder = browser.folder;
        if (!ok) return 0;
        const std::string entry = browser.selected(m);
        if (!entry.empty() && !IsFolderEntry(entry)) {
            ScoreDocument& doc = ctx.doc;
            if (!doc.findPage(1)) SetUpNewDocument(doc, 1);
            ctx.ui.setWaitCursor(true);
            const int imported = ImportMidiFile(doc, browser.folder / entry, ctx.shell.dialogs.midiImport, ctx.ui,
                                                ctx.shell.settings.distanceSteps);
            ctx.ui.setWaitCursor(false);
            if (imported == 0) continue;
            UpdateTitleBar(ctx);
            ctx.ui.invalidate();
            return 1;
        }
        browser.chosen(m);
    }
}

}  // namespace notavera
