// The command "Lire fichier MIDI": the "MIDI" file browser (MainScreen) in which the user picks a MIDI file, looks
// at its contents and the import parameters ("Info"), deletes files ("Effacer") and imports one ("Importer").
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace notavera {

struct EditorContext;

namespace midi_browser_field {
inline constexpr int files = 201;
inline constexpr int name = 202;
inline constexpr int folder = 203;
inline constexpr const char* info = "Info";
inline constexpr const char* erase = "Effacer";
}  // namespace midi_browser_field

// The entries of the browser's list for `folder`: its MIDI files (".mid" in any letter case), then its
// sub-folders in brackets, "[..]" first, each list sorted by name.
std::vector<std::string> MidiBrowserEntries(const std::filesystem::path& folder);

// The command is open while no document file is open and no mask page is being edited. The browser's OK is
// "Importer" and its "Annuler" is "Quitter". Returns 1 when a file was imported.
bool MidiImportAllowed(const EditorContext& ctx);
int RunMidiImportCommand(EditorContext& ctx);

}  // namespace notavera
