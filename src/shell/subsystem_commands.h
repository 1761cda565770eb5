// The menu commands carried out by other subsystems that already exist: the settings dialogs, the note options,
// GUIDO import, the MIDI file export, and the "?" menu (help and About).
#pragma once

#include <filesystem>

namespace notavera {

class CommandRegistry;

// The help file beside the program: the executable's path with its file name replaced by "notavera.hlp".
std::filesystem::path HelpFilePath(const std::filesystem::path& executable);

void RegisterSubsystemCommands(CommandRegistry& registry);

}  // namespace notavera
