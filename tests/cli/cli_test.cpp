// notavera-cli new and info, run as a separate program: the new document's defaults, its round trip through the
// editor's load and save, the backup and working files, and the errors a user sees.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "score/working_file_lock.h"
#include "shell/editor_context.h"
#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;

// An empty page of the default model: the page record and ten staves without elements.
constexpr std::uint32_t emptyPageLength = 27 + 10 * 16;

class CliTest : public ::testing::Test {
protected:
    nlohmann::json info(const std::string& name, bool elements = false) {
        std::vector<std::string> args{"info", name};
        if (elements) args.push_back("--elements");
        const CliResult r = RunCli(dir.path(), args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return nlohmann::json::parse(r.out, nullptr, false);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir;
};

TEST_F(CliTest, ANewDocumentHasTheDefaultsAndLeavesNoOtherFile) {
    ASSERT_EQ(RunCli(dir.path(), {"new", "song.mus"}).status, 0);
    const nlohmann::json doc = info("song.mus");
    ASSERT_FALSE(doc.is_discarded());
    EXPECT_EQ(doc["version"], nlohmann::json::array({2, 2}));
    EXPECT_EQ(doc["title"], "song.mus");
    EXPECT_EQ(doc["pageCount"], 1);
    EXPECT_EQ(doc["optionalBlocks"], nlohmann::json::array());
    EXPECT_EQ(doc["pageTable"], nlohmann::json::parse("[[187, 4423]]"));
    EXPECT_EQ(doc["endOfData"], firstPageOffset + emptyPageLength);
    const nlohmann::json& page = doc["pages"][0];
    EXPECT_EQ(page["layout"].get<std::uint32_t>() & 0x3FF, 10u);
    ASSERT_EQ(page["staves"].size(), 10u);
    for (const auto& staff : page["staves"]) {
        EXPECT_EQ(staff["elementCount"], 0);
        EXPECT_FALSE(staff.contains("elements"));
    }
    EXPECT_EQ(fs::file_size(dir / "song.mus"), firstPageOffset + emptyPageLength + 7);
    EXPECT_EQ(files(), std::vector<std::string>{"song.mus"});  // neither backup nor working file
}

TEST_F(CliTest, NewWithSeveralPagesListsThemAllAndOverAFileKeepsItAsBackup) {
    test::WriteText(dir / "three.mus", "an older file");
    ASSERT_EQ(RunCli(dir.path(), {"new", "three.mus", "--pages", "3"}).status, 0);
    EXPECT_EQ(test::ReadText(dir / "three.bak"), "an older file");
    const nlohmann::json doc = info("three.mus", true);
    ASSERT_EQ(doc["pages"].size(), 3u);
    std::uint32_t offset = firstPageOffset;
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(doc["pages"][p]["number"], p + 1);
        EXPECT_EQ(doc["pageTable"][p], nlohmann::json::array({emptyPageLength, offset}));
        offset += emptyPageLength;
        for (const auto& staff : doc["pages"][p]["staves"]) EXPECT_EQ(staff["elements"], nlohmann::json::array());
    }
    EXPECT_EQ(doc["endOfData"], offset);
}

TEST_F(CliTest, LoadedAndSavedAgainIsTheSameFile) {
    ASSERT_EQ(RunCli(dir.path(), {"new", "song.mus", "--pages", "2"}).status, 0);
    const std::string made = test::ReadText(dir / "song.mus");
    {
        HeadlessUi ui(nullptr);
        EditorContext ctx(ui);
        ASSERT_EQ(ReadDocument(ctx, dir / "song.mus"), FileOk);
        ctx.doc.storage.fileState = FileState::Publish;  // what "Enregistrer" asks
        ASSERT_TRUE(SavePages(ctx));
        DeleteWorkFiles(ctx);
        EXPECT_TRUE(ui.messages().empty());
    }
    std::string saved = test::ReadText(dir / "song.mus");
    ASSERT_EQ(saved.size(), made.size());
    for (std::size_t at = 522; at < 528; ++at) saved[at] = made[at];  // only the position current when saving
    EXPECT_TRUE(saved == made);
    EXPECT_TRUE(test::ReadText(dir / "song.bak") == made);
}

TEST_F(CliTest, InfoLeavesTheAutosaveAndRefusesADocumentOpenElsewhere) {
    ASSERT_EQ(RunCli(dir.path(), {"new", "song.mus"}).status, 0);
    test::WriteText(dir / "song.sav", "autosaved");
    info("song.mus");
    EXPECT_EQ(test::ReadText(dir / "song.sav"), "autosaved");
    WorkingFileLock editor;
    ASSERT_EQ(editor.acquire(LockFileName(WorkingFileName(dir / "song.mus"))), WorkingFileLock::Result::Acquired);
    const CliResult r = RunCli(dir.path(), {"info", "song.mus"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("est déjà ouvert dans une autre fenêtre de Notavera"), std::string::npos) << r.err;
}

TEST_F(CliTest, MissingFilesAndBadArgumentsAreExplainedInFrench) {
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
    EXPECT_TRUE(files().empty());
}

}  // namespace
}  // namespace notavera
