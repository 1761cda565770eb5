// The whole-file subcommands as a user runs them: the interchange file out and back in, compressing, merging and
// extracting a part, on scores made from the corpus.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "score/mus_file.h"
#include "support/cli_runner.h"
#include "support/test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;

nlohmann::json Info(const test::TempDir& dir, const std::string& file) {
    const CliResult r = RunCli(dir.path(), {"info", file, "--elements"});
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out, nullptr, false);
}

// A corpus piece imported into `name`.
void ImportCorpus(const test::TempDir& dir, const std::string& piece, const std::string& name) {
    const CliResult r = RunCli(dir.path(), {"import-gmn", (test::CorpusDir() / "gmn" / piece).string(), name});
    ASSERT_TRUE(fs::exists(dir / name)) << r.err;
}

// Pages lie one after the other from 4423 in page order, and the separator closes the last.
void ExpectCompact(const nlohmann::json& doc) {
    std::uint32_t at = firstPageOffset;
    for (int i = 0; i < doc["pageCount"].get<int>(); ++i) {
        EXPECT_EQ(doc["pageTable"][i][1], at) << "page " << i + 1;
        at += doc["pageTable"][i][0].get<std::uint32_t>();
    }
    EXPECT_EQ(doc["endOfData"], at);
}

TEST(WnvCli, ExportThenImportGivesTheSameScoreLaidOutInPageOrder) {
    test::TempDir dir;
    for (const std::string piece : {"guidolib_examples_bach.gmn", "guidolib_complex_Faure.gmn",
                                    "guidolib_examples_4voices.gmn"}) {
        ImportCorpus(dir, piece, "a.mus");
        // Page 1 grows and moves to the end of the data: the import must put it back in its place.
        test::WriteText(dir / "grow.txt", "cmd 64\ncmd 64\nkey F2\nkey F2\nsave\n");
        ASSERT_EQ(RunCli(dir.path(), {"script", "a.mus", "grow.txt"}).status, 0);
        CliResult r = RunCli(dir.path(), {"export-wnv", "a.mus", "a.wnv"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "MESSAGE Notavera 24 Fichier a.wnv écrit\n");
        fs::create_directory(dir / "back");
        r = RunCli(dir.path(), {"import-wnv", "a.wnv", "back/a.mus"});
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json original = Info(dir, "a.mus");
        const nlohmann::json back = Info(dir, "back/a.mus");
        if (original["pageCount"] > 1) {
            EXPECT_NE(original["pageTable"][0][1], firstPageOffset) << "page 1 moved";
        }
        EXPECT_EQ(back["pages"], original["pages"]) << piece;
        EXPECT_EQ(back["fonts"], original["fonts"]);
        EXPECT_EQ(back["midi"], original["midi"]);
        EXPECT_EQ(back["title"], "a.mus");
        ExpectCompact(back);
        fs::remove_all(dir / "back");
    }
}

TEST(WnvCli, ImportKeepsThePreviousDocumentAsOldAndAFailedOneLeavesTheTargetWhole) {
    test::TempDir dir;
    ImportCorpus(dir, "guidolib_examples_bach.gmn", "a.mus");
    ASSERT_EQ(RunCli(dir.path(), {"new", "b.mus"}).status, 0);
    ASSERT_EQ(RunCli(dir.path(), {"export-wnv", "a.mus", "a.wnv"}).status, 0);
    const std::vector<std::uint8_t> before = test::ReadBytes(dir / "b.mus");

    std::vector<std::uint8_t> cut = test::ReadBytes(dir / "a.wnv");
    cut.resize(cut.size() - 200);
    test::WriteBytes(dir / "cut.wnv", cut);
    CliResult r = RunCli(dir.path(), {"import-wnv", "cut.wnv", "b.mus"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "MESSAGE Erreur 9 Erreur de lecture.\n");
    EXPECT_EQ(test::ReadBytes(dir / "b.mus"), before);

    r = RunCli(dir.path(), {"import-wnv", "a.wnv", "b.mus"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadBytes(dir / "b.old"), before);
    EXPECT_EQ(Info(dir, "b.mus")["pages"], Info(dir, "a.mus")["pages"]);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 5) << "no staged copy left";
}

}  // namespace
}  // namespace notavera
