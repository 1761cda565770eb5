// The registration of the shell's own handlers into the core's table.
#include "shell/command_registry.h"
#include "shell/duration_commands.h"
#include "shell/file_commands.h"
#include "shell/mouse_input.h"
#include "shell/palette_commands.h"
#include "shell/region_commands.h"
#include "shell/shell_timers.h"
#include "shell/subsystem_commands.h"
#include "shell/tool_commands.h"
#include "shell/transposition_commands.h"
#include "shell/undo_commands.h"
#include "shell/whole_file_commands.h"
#include "shell/zoom_commands.h"

namespace notavera {

void RegisterShellCommands(CommandRegistry& registry) {
    RegisterToolCommands(registry);
    RegisterDurationCommands(registry);
    RegisterPaletteCommands(registry);
    RegisterZoomCommands(registry);
    RegisterFileCommands(registry);
    RegisterTimerCommands(registry);
    RegisterSubsystemCommands(registry);
    RegisterMouseCommands(registry);
    RegisterUndoCommands(registry);
    RegisterRegionCommands(registry);
    RegisterTranspositionCommands(registry);
    RegisterWholeFileCommands(registry);
}

}  // namespace notavera
