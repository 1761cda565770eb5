// notavera-cli import-midi IN.mid OUT.mus [--rounding 32|64|128|256] [--upbeat N] [--bars-per-page N] [--raw]:
// a new score with the MIDI file's voices on staves of their own, laid out over as many pages as the music needs
// (left on page 1's staves as the import wrote them with --raw), saved as OUT.mus. The file's errors go to
// standard error as the boxes would show them; what was read before an error is saved all the same.
#include <charconv>
#include <cstdio>

#include "cli_ui.h"
#include "commands.h"
#include "imported_score.h"
#include "edit/midi_import.h"
#include "platform/headless/headless_ui.h"
#include "platform/messages.h"
#include "score/new_document.h"
#include "shell/editor_context.h"

namespace notavera::cli {

namespace {

bool Number(const std::string& text, unsigned low, unsigned high, unsigned& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= low && value <= high;
}

int Usage() {
    std::fputs("usage: notavera-cli import-midi IN.mid OUT.mus [--rounding 32|64|128|256] [--upbeat N] "
               "[--bars-per-page N] [--raw]\n",
               stderr);
    return 2;
}

}  // namespace

int RunImportMidi(const Args& args) {
    if (args.size() < 2) return Usage();
    MidiImportParameters params;
    bool raw = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        unsigned value = 0;
        const bool hasValue = i + 1 < args.size();
        if (a == "--raw") {
            raw = true;
        } else if (a == "--rounding" && hasValue && Number(args[++i], 32, 256, value) && (value & (value - 1)) == 0) {
            params.rounding = value;
        } else if (a == "--upbeat" && hasValue && Number(args[++i], 0, 64, value)) {
            params.upbeat = value;
        } else if (a == "--bars-per-page" && hasValue && Number(args[++i], 1, 255, value)) {
            params.barsPerPage = MidiImportParameters::FilledBarCounts(value);
        } else {
            return Usage();
        }
    }
    CliUi ui(stderr);
    EditorContext ctx(ui);
    SetUpNewDocument(ctx.doc, 1);
    if (ImportMidiFile(ctx.doc, args[0], params, ui, ctx.shell.settings.distanceSteps, !raw) == 0) return 1;
    if (!SaveImportedScore(ctx, args[1])) return 1;
    // A file read only in part still gives its score, and an exit status that says so.
    for (const MessageBoxRequest& m : ui.messages())
        if (m.caption == "Erreur") return 1;
    return 0;
}

}  // namespace notavera::cli
