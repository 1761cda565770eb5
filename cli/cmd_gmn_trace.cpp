// notavera-cli gmn-trace IN.gmn [--mode M]: the reader's callbacks as trace lines on standard output; the
// reading errors appear among them as the "Erreur" boxes would show them.
#include <cstdio>
#include <optional>
#include <string>

#include "cli_ui.h"
#include "commands.h"
#include "guido/gmn_reader.h"
#include "guido/gmn_trace.h"
#include "platform/headless/headless_ui.h"

namespace notavera::cli {

namespace {

int usage() {
    std::fputs("usage: notavera-cli gmn-trace IN.gmn [--mode 0|2|11|13]\n", stderr);
    return 2;
}

std::optional<GmnMode> parseMode(const std::string& text) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return GmnModeFromNumber(std::stoi(text));
}

}  // namespace

int RunGmnTrace(const Args& args) {
    if (args.size() != 1 && args.size() != 3) return usage();
    GmnMode mode = GmnMode::All;
    if (args.size() == 3) {
        const auto m = args[1] == "--mode" ? parseMode(args[2]) : std::nullopt;
        if (!m) return usage();
        mode = *m;
    }
    CliUi ui(stdout);
    GmnTrace trace([](const std::string& line) { std::fputs(line.c_str(), stdout); });
    const int status = ReadGmnFile(args[0], mode, trace, [&ui](const GmnError& e) { ShowGmnError(ui, e); });
    return status == gmnReadOk ? 0 : 1;
}

}  // namespace notavera::cli
