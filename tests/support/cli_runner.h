// Runs notavera-cli as a separate process in a given folder and collects what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace notavera::test {

struct CliResult {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

CliResult RunCli(const std::filesystem::path& folder, const std::vector<std::string>& args);

}  // namespace notavera::test
