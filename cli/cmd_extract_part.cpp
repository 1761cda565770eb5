// notavera-cli extract-part DOC --voice N [--mode standard|voice-alone|raw] OUT.mus: the part of one voice, on
// pages of the default staff layout model (one staff a line) and the document's page format.
#include <cstdio>
#include <cstdlib>

#include "cli_ui.h"
#include "commands.h"
#include "edit/separate_part.h"
#include "imported_score.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/page_size.h"
#include "shell/editor_context.h"

namespace notavera::cli {

namespace {

constexpr const char* usage = "usage: notavera-cli extract-part DOC --voice N [--mode standard|voice-alone|raw] OUT.mus\n";

bool ParseMode(const std::string& text, PartMode& mode) {
    if (text == "standard") mode = PartMode::Standard;
    else if (text == "voice-alone") mode = PartMode::VoiceAlone;
    else if (text == "raw") mode = PartMode::Raw;
    else return false;
    return true;
}

}  // namespace

int RunExtractPart(const Args& args) {
    std::vector<std::string> files;
    PartRequest request;
    bool voiceGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--voice" && hasValue) {
            request.voice = std::atoi(args[++i].c_str());
            voiceGiven = request.voice >= 0 && request.voice <= 255;
        } else if (args[i] == "--mode" && hasValue) {
            if (!ParseMode(args[++i], request.mode)) {
                std::fputs(usage, stderr);
                return 2;
            }
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2 || !voiceGiven) {
        std::fputs(usage, stderr);
        return 2;
    }
    CliUi ui(stderr);
    ScoreDocument doc;
    if (InspectDocument(doc, ui, files[0]) != FileOk) return 1;
    request.firstPage = 1;
    request.lastPage = doc.pageCount;

    EditorContext ctx(ui);
    ScoreDocument& part = ctx.doc;
    part.header = doc.header;
    part.fonts = doc.fonts;
    part.settings = doc.settings;
    applyPageSize(part);
    if (BuildSeparatePart(doc, ui, request, ctx.shell.settings.distanceSteps, part) == 0)
        std::fprintf(stderr, "La voix %d n'a pas de portée\n", request.voice);
    return SaveImportedScore(ctx, files[1]) ? 0 : 1;
}

}  // namespace notavera::cli
