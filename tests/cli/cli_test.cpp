// notavera-cli new and info as a user runs them: the new document's file and the JSON that describes it, and the
// errors in French (saving, backups, locks and round trips are the score library's tests).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "score/mus_file.h"
#include "support/cli_runner.h"
#include "support/test_files.h"

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

}  // namespace
}  // namespace notavera
