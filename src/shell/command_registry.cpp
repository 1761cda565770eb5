// The core's handler table, built once from the registration functions of the subsystems.
#include "shell/command_registry.h"

#include "print/page_layout_commands.h"
#include "print/separate_part_command.h"
#include "shell/cursor_keys.h"
#include "shell/entry_commands.h"
#include "shell/font_ratio_commands.h"
#include "shell/measure_number_commands.h"
#include "shell/outils_commands.h"
#include "shell/spacing_commands.h"
#include "shell/drawing_window.h"
#include "shell/text_window.h"

namespace notavera {

const CommandRegistry& CoreCommands() {
    // A function-local static is built once even when several threads ask at the same time.
    static const CommandRegistry registry = [] {
        CommandRegistry r;
        RegisterShellCommands(r);
        RegisterSpacingCommands(r);
        RegisterCursorCommands(r);
        RegisterEntryCommands(r);
        RegisterPageLayoutCommands(r);
        RegisterSeparatePartCommands(r);
        RegisterOutilsCommands(r);
        RegisterMeasureNumberCommands(r);
        RegisterFontRatioCommands(r);
        RegisterTextWindowCommands(r);
        RegisterDrawingWindowCommands(r);
        return r;
    }();
    return registry;
}

}  // namespace notavera
