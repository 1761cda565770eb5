// notavera-cli: batch use of the editor's core, one subcommand per job.
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "shell/musicxml_import_command.h"

namespace notavera::cli {

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> table = {
        {"new", "SORTIE.mus [--pages N]", RunNew},
        {"info", "FICHIER.mus [--elements]", RunInfo},
        {"render-audio", "DOC.mus|FICHIER.mid SORTIE.wav", RunRenderAudio},
        {"export-midi", "DOC SORTIE.mid [--voice] [--from-page P] [--to-page Q]", RunExportMidi},
        {"export-musicxml", "DOC SORTIE.musicxml", RunExportMusicXml},
        {"gmn-trace", "IN.gmn [--mode 0|2|11|13]", RunGmnTrace},
        {"import-gmn", "IN.gmn OUT.mus", RunImportGmn},
        {"import-musicxml", "IN.musicxml|IN.mxl OUT.mus", RunImportMusicXml},
        {"dump-midi", "IN.mid [--first-track]", RunDumpMidi},
        {"import-midi", "IN.mid OUT.mus [--rounding 32|64|128|256] [--upbeat N] [--bars-per-page N] [--raw]",
         RunImportMidi},
        {"render",
         "FICHIER.mus --page N --out SORTIE.png|svg|pdf|wmf|json [--zoom N/D] [--dpi D] [--region x0,y0,x1,y1]",
         RunRender},
        {"export-pdf", "DOC SORTIE.pdf [--from P] [--to Q]", RunExportPdf},
        {"export-svg", "DOC DOSSIER [--from P] [--to Q]", RunExportSvg},
        {"export-wnv", "DOC SORTIE.wnv", RunExportWnv},
        {"import-wnv", "IN.wnv SORTIE.mus", RunImportWnv},
        {"compress", "DOC", RunCompress},
        {"merge", "DOC AUTRE.mus", RunMerge},
        {"extract-part", "DOC --voice N [--mode standard|voice-alone|raw] SORTIE.mus", RunExtractPart},
        {"script", "DOC SCRIPT", RunScript},
    };
    return table;
}

}  // namespace notavera::cli

static int usage() {
    std::fputs("usage: notavera-cli <commande> [arguments]\n", stderr);
    for (const auto& c : notavera::cli::Subcommands()) std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const auto& c : notavera::cli::Subcommands()) {
        if (std::strcmp(argv[1], c.name) == 0) return c.run(notavera::cli::Args(argv + 2, argv + argc));
    }
    return usage();
}
