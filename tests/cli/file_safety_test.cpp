// What the user's files go through outside the normal run: saves killed at random moments, a document read
// while an editor holds it, read-only documents and folders.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include <nlohmann/json.hpp>

#include "score/working_file_lock.h"
#include "support/cli_runner.h"
#include "support/test_files.h"
#include "support/test_paths.h"

extern char** environ;

namespace notavera {
namespace {

namespace fs = std::filesystem;

class FileSafety : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus", "--pages", "12"}).status, 0); }
    test::CliResult script(const std::string& text) {
        test::WriteText(dir / "s.txt", text);
        return test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.insert(entry.path().filename().string());
        return names;
    }
    test::TempDir dir;
};

// The string ids of the MESSAGE lines.
std::vector<int> MessageIds(const std::string& out) {
    std::vector<int> ids;
    for (std::size_t at = out.find("MESSAGE "); at != std::string::npos; at = out.find("\nMESSAGE ", at + 1))
        ids.push_back(std::stoi(out.substr(out.find(' ', out.find(' ', at + 2) + 1))));
    return ids;
}

TEST_F(FileSafety, SavesKilledAtRandomLeaveTheOldOrNewVersionAndTheNextOpeningNoStagingCopy) {
    std::string saves;
    for (int i = 0; i < 200; ++i) saves += "key F2\nsave\n";
    test::WriteText(dir / "saves.txt", saves);
    const std::string program = test::CliProgram().string();
    std::vector<std::string> words{program, "script", "opus.mus", "saves.txt"};
    std::vector<char*> argv{words[0].data(), words[1].data(), words[2].data(), words[3].data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.path().c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::mt19937 random(7);
    std::size_t notes = 0;
    for (int kill = 0; kill < 30; ++kill) {
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(40 + random() % 120));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const test::CliResult r = script("dump d.json\n");
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(r.out, "");
        std::size_t now = 0;
        const auto doc = nlohmann::json::parse(test::ReadText(dir / "d.json"));
        for (const auto& page : doc["pages"])
            for (const auto& staff : page["staves"]) now += staff["elements"].size();
        EXPECT_GE(now, notes);  // a save is never undone
        notes = now;
        fs::remove(dir / "opus.bak");
        EXPECT_EQ(files(), (std::set<std::string>{"opus.mus", "saves.txt", "s.txt", "d.json"}));
    }
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_GT(notes, 0u);
}

TEST_F(FileSafety, InfoReadsADocumentAnEditorHolds) {
    WorkingFileLock editor;
    ASSERT_EQ(editor.acquire(LockFileName(dir / "opus.sum")), WorkingFileLock::Result::Acquired);
    test::WriteText(dir / "opus.sum", "the editor's pages");
    const test::CliResult r = test::RunCli(dir.path(), {"info", "opus.mus"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["pageCount"], 12);
    EXPECT_EQ(test::ReadText(dir / "opus.sum"), "the editor's pages");
}

TEST_F(FileSafety, AReadOnlyDocumentOrFolderIsSaidAtOpeningAndNotSavedOver) {
    const std::string before = test::ReadText(dir / "opus.mus");
    for (const fs::path& readOnly : {dir / "opus.mus", dir.path()}) {
        fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        const test::CliResult r = script("key F2\nsave\n");
        fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(MessageIds(r.out), (std::vector<int>{5, 2})) << r.out;
        EXPECT_EQ(test::ReadText(dir / "opus.mus"), before);
        EXPECT_EQ(files(), (std::set<std::string>{"opus.mus", "s.txt"}));
    }
}

}  // namespace
}  // namespace notavera
