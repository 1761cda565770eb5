// Spawns the command-line tool in the folder with its output sent to scratch files, then reads them back.
#include "support/cli_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/test_files.h"
#include "support/test_paths.h"

extern char** environ;

namespace notavera::test {

CliResult RunCli(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    const TempDir scratch;  // the output stays out of the folder under test
    const std::filesystem::path outFile = scratch / "stdout", errFile = scratch / "stderr";
    std::vector<std::string> words{CliProgram().string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    CliResult result;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return result;
    int wstatus = 0;
    if (waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
    result.out = ReadText(outFile);
    result.err = ReadText(errFile);
    return result;
}

}  // namespace notavera::test
