// The subcommands of notavera-cli: each takes its own arguments (after the subcommand's name)
// and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace notavera::cli {

using Args = std::vector<std::string>;

struct Subcommand {
    const char* name;
    const char* usage;
    int (*run)(const Args& args);
};

const std::vector<Subcommand>& Subcommands();

int RunNew(const Args& args);
int RunInfo(const Args& args);
int RunRenderAudio(const Args& args);
int RunExportMidi(const Args& args);
int RunExportMusicXml(const Args& args);
int RunGmnTrace(const Args& args);
int RunImportGmn(const Args& args);
int RunImportMusicXml(const Args& args);
int RunDumpMidi(const Args& args);
int RunImportMidi(const Args& args);
int RunRender(const Args& args);
int RunScript(const Args& args);
int RunExportPdf(const Args& args);
int RunExportSvg(const Args& args);
int RunExportWnv(const Args& args);
int RunImportWnv(const Args& args);
int RunCompress(const Args& args);
int RunMerge(const Args& args);
int RunExtractPart(const Args& args);

}  // namespace notavera::cli
