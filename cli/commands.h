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

int RunRender(const Args& args);

}  // namespace notavera::cli
