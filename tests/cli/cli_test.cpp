// notavera-cli new and info as a user runs them: the new document's file and the JSON that describes it, and the
// errors in French; saves killed at random, read-only documents (round trips are the score library's tests).
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "score/mus_file.h"
#include "score/working_file_lock.h"
#include "support/cli_runner.h"
#include "support/test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;

// An empty page of the default model: the page record and ten staves without elements.
constexpr std::uint32_t emptyPageLength = 27 + 10 * 16;

TEST(Cli, NewWritesTheDefaultDocumentThatInfoDescribes) {
    test::TempDir dir;
    ASSERT_EQ(RunCli(dir.path(), {"new", "song.mus", "--pages", "2"}).status, 0);
    const CliResult r = RunCli(dir.path(), {"info", "song.mus", "--elements"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const nlohmann::json doc = nlohmann::json::parse(r.out, nullptr, false);
    EXPECT_EQ(doc["version"], nlohmann::json::array({2, 2}));
    EXPECT_EQ(doc["title"], "song.mus");
    EXPECT_EQ(doc["pageCount"], 2);
    EXPECT_EQ(doc["optionalBlocks"], nlohmann::json::array());
    EXPECT_EQ(doc["pageTable"][1], nlohmann::json::array({emptyPageLength, firstPageOffset + emptyPageLength}));
    EXPECT_EQ(doc["endOfData"], firstPageOffset + 2 * emptyPageLength);
    ASSERT_EQ(doc["pages"].size(), 2u);
    EXPECT_EQ(doc["pages"][1]["number"], 2);
    EXPECT_EQ(doc["pages"][0]["layout"].get<std::uint32_t>() & 0x3FF, 10u);
    ASSERT_EQ(doc["pages"][0]["staves"].size(), 10u);
    for (const auto& staff : doc["pages"][0]["staves"]) EXPECT_EQ(staff["elements"], nlohmann::json::array());
    EXPECT_EQ(fs::file_size(dir / "song.mus"), firstPageOffset + 2 * emptyPageLength + 7);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "neither backup nor working file";
}

TEST(Cli, MissingFilesAndBadArgumentsAreExplainedInFrench) {
    test::TempDir dir;
    CliResult r = RunCli(dir.path(), {"info", "missing.mus"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Impossible de lire le fichier missing.mus !"), std::string::npos) << r.err;
    r = RunCli(dir.path(), {"new"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage : notavera-cli new"), std::string::npos);
    r = RunCli(dir.path(), {"new", "x.mus", "--pages", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Nombre de pages incorrect"), std::string::npos);
    EXPECT_EQ(RunCli(dir.path(), {"new", "x.mus", "--pages", "256"}).status, 2);
    EXPECT_EQ(RunCli(dir.path(), {"info", "a.mus", "--pages"}).status, 2);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

std::size_t FileCount(const test::TempDir& dir) { return std::distance(fs::directory_iterator(dir.path()), {}); }

TEST(Cli, SavesKilledAtRandomLeaveTheOldOrNewVersionAndTheNextOpeningNoStagingCopy) {
    test::TempDir dir;
    ASSERT_EQ(RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    std::string saves;
    for (int i = 0; i < 200; ++i) saves += "key F2\nsave\n";
    test::WriteText(dir / "saves.txt", saves);
    test::WriteText(dir / "dump.txt", "dump d.json\n");
    std::mt19937 random(7);
    std::size_t notes = 0;
    for (int kill = 0; kill < 30; ++kill) {
        const pid_t child = fork();
        if (child == 0) {
            const std::string cli = test::CliProgram().string(), doc = dir / "opus.mus", lines = dir / "saves.txt";
            execl(cli.c_str(), cli.c_str(), "script", doc.c_str(), lines.c_str(), nullptr);
            _exit(127);
        }
        // The kill falls among the saves, however slowly a busy machine starts the program.
        std::error_code ec;
        const auto before = fs::last_write_time(dir / "opus.mus", ec);
        for (int wait = 0; wait < 2000 && fs::last_write_time(dir / "opus.mus", ec) == before; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 120));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const CliResult r = RunCli(dir.path(), {"script", "opus.mus", "dump.txt"});
        ASSERT_EQ(r.status + r.out.size(), 0u) << r.out << r.err;
        const auto staff = nlohmann::json::parse(test::ReadText(dir / "d.json"))["pages"][0]["staves"][0];
        EXPECT_GE(staff["elements"].size(), notes);  // a save is never undone
        notes = staff["elements"].size();
        fs::remove(dir / "opus.bak");
        EXPECT_EQ(FileCount(dir), 4u) << "the document, two scripts and the dump";
    }
    EXPECT_GT(notes, 0u);
}

TEST(Cli, ReadOnlyDocumentsAreSaidAtOpeningAndNotSavedOverAndInfoReadsADocumentAnEditorHolds) {
    test::TempDir dir;
    ASSERT_EQ(RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    const std::string before = test::ReadText(dir / "opus.mus");
    test::WriteText(dir / "s.txt", "key F2\nsave\n");
    for (const fs::path& readOnly : {dir / "opus.mus", dir.path()}) {
        fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write, fs::perm_options::remove);
        const std::string out = RunCli(dir.path(), {"script", "opus.mus", "s.txt"}).out;
        fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_TRUE(out.starts_with("MESSAGE Notavera 5 ") && out.find("\nMESSAGE Notavera 2 ") != out.npos) << out;
        EXPECT_EQ(test::ReadText(dir / "opus.mus"), before);
        EXPECT_EQ(FileCount(dir), 2u) << "the document and the script";
    }
    WorkingFileLock editor;
    ASSERT_EQ(editor.acquire(LockFileName(dir / "opus.sum")), WorkingFileLock::Result::Acquired);
    test::WriteText(dir / "opus.sum", "the editor's pages");
    // Reading for output leaves the document, its working file and its autosave copy to the editor.
    test::WriteText(dir / "opus.sav", "the editor's autosave");
    for (const std::vector<std::string>& reading : {std::vector<std::string>{"info", "opus.mus"},
                                                    {"export-midi", "opus.mus", "opus.mid"},
                                                    {"render", "opus.mus", "--page", "1", "--out", "opus.json"}})
        EXPECT_EQ(RunCli(dir.path(), reading).status, 0) << reading.front();
    EXPECT_EQ(test::ReadText(dir / "opus.sum"), "the editor's pages");
    EXPECT_EQ(test::ReadText(dir / "opus.sav"), "the editor's autosave");
}

}  // namespace
}  // namespace notavera
