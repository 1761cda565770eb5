// notavera-cli dump-midi IN.mid [--first-track]: the text the "Information" dialog lists for a MIDI file, on
// standard output. A file that is not MIDI gives "Erreur de lecture." on standard error.
#include <cstdio>

#include "cli_ui.h"
#include "commands.h"
#include "midi/midi_dump.h"
#include "platform/headless/headless_ui.h"
#include "platform/message_ids.h"
#include "platform/messages.h"

namespace notavera::cli {

int RunDumpMidi(const Args& args) {
    const bool firstTrack = args.size() == 2 && args[1] == "--first-track";
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !firstTrack)) {
        std::fputs("usage: notavera-cli dump-midi IN.mid [--first-track]\n", stderr);
        return 2;
    }
    const auto dump = DumpMidiFile(args[0], firstTrack);
    if (!dump) {
        CliUi ui(stderr);
        ShowError(ui, msg::readError);
        return 1;
    }
    std::fwrite(dump->text.data(), 1, dump->text.size(), stdout);
    return 0;
}

}  // namespace notavera::cli
