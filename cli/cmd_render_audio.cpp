// notavera-cli render-audio: a score (or a Standard MIDI File) rendered offline to a WAV file by the built-in
// synthesizer.
#include <cctype>
#include <cstdio>
#include <fstream>

#include "cli_ui.h"
#include "commands.h"
#include "midi/playback_file.h"
#include "midi/score_to_midi.h"
#include "platform/audio/fluidsynth_renderer.h"
#include "platform/headless/headless_ui.h"
#include "platform/messages.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera::cli {

namespace {

constexpr int cannotWriteMessage = 2;

// The box the editor would show: the file message for the WAV file, the device's text for the rest.
void report(const DeviceStatus& status, const std::string& wavFile) {
    CliUi ui(stderr);
    if (status.code == audio_error::wavFile)
        MessageWithName(ui, cannotWriteMessage, wavFile);
    else
        ui.showMessage({"Message", 0, status.text, MessageIcon::Information, MessageButtons::Ok});
}

// A MIDI file by its name or by its first bytes; anything else is taken for a document.
bool isMidiFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".mid" || extension == ".midi") return true;
    std::ifstream in(path, std::ios::binary);
    char tag[4] = {};
    return in.read(tag, 4) && std::string_view(tag, 4) == "MThd";
}

// The whole score as the playback file, the way the editor plays it from the first page to the last.
std::optional<std::filesystem::path> scoreAsMidi(const std::string& document) {
    CliUi ui(stderr);
    EditorContext ctx(ui);
    if (InspectDocument(ctx.doc, ctx.ui, document) != FileOk) return std::nullopt;
    std::optional<std::filesystem::path> midi;
    if (MoveWindowTo(ctx.doc, ctx.ui, 1) == FileOk) {
        const std::filesystem::path path = PlaybackFilePath();
        if (WriteScoreMidi(ctx.doc, ctx.ui, path, ctx.doc.pageCount))
            midi = path;
        else
            MessageWithName(ui, cannotWriteMessage, path.string());
    }
    DeleteWorkFiles(ctx.doc);
    return midi;
}

}  // namespace

int RunRenderAudio(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli render-audio DOC.mus|FICHIER.mid SORTIE.wav\n", stderr);
        return 2;
    }
    std::filesystem::path midi = args[0];
    if (!isMidiFile(args[0])) {
        const auto written = scoreAsMidi(args[0]);
        if (!written) return 1;
        midi = *written;
    }
    const DeviceStatus status = RenderMidiToWav(midi, args[1]);
    if (status.ok()) return 0;
    report(status, args[1]);
    return 1;
}

}  // namespace notavera::cli
