// The whole-file commands of the Fichier menu end to end, as the editor runs them: their file dialogs, their
// messages, and the document they leave.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::CliResult;
using test::RunCli;

struct WholeFileCase {
    const char* name;
    std::string document;  // the document the script opens ("" for none)
    std::string script;    // ends with "dump d.json"
    std::string messages;  // the MESSAGE lines
    std::function<void(const test::TempDir&, const json&)> check;
};

class WholeFileScript : public ::testing::TestWithParam<WholeFileCase> {};

TEST_P(WholeFileScript, LeavesTheDocumentItPromises) {
    const WholeFileCase& c = GetParam();
    test::TempDir dir;
    test::WriteText(dir / "piece.gmn", test::ThreePagePiece());
    ASSERT_EQ(RunCli(dir.path(), {"import-gmn", "piece.gmn", "a.mus"}).status, 0);
    ASSERT_EQ(RunCli(dir.path(), {"new", "two.mus", "--pages", "2"}).status, 0);
    ASSERT_EQ(RunCli(dir.path(), {"export-wnv", "a.mus", "a.wnv"}).status, 0);
    test::WriteText(dir / "s.txt", c.script + "dump d.json\n");
    const CliResult r = RunCli(dir.path(), {"script", c.document, "s.txt"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::string messages;
    for (std::size_t at = r.out.find("MESSAGE"); at != std::string::npos; at = r.out.find("MESSAGE", at + 1))
        messages += r.out.substr(at, r.out.find('\n', at) + 1 - at);
    EXPECT_EQ(messages, c.messages);
    c.check(dir, json::parse(test::ReadText(dir / "d.json")));
}

json Info(const test::TempDir& dir, const std::string& file) {
    return json::parse(RunCli(dir.path(), {"info", file, "--elements"}).out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeFileScript,
    ::testing::Values(
        WholeFileCase{"NotesAreKeptWithTheDocument", "two.mus",
                      "answer InfoFichier Notes=\"Répétition lundi\" ok\ncmd 273\nsave\n", "",
                      [](const auto& dir, const json& d) {
                          EXPECT_EQ(d["notes"], "Répétition lundi");
                          EXPECT_EQ(Info(dir, "two.mus")["notes"], "Répétition lundi");
                      }},
        WholeFileCase{"EmptyNotesRemoveThem", "two.mus",
                      "answer InfoFichier Notes=abc ok\ncmd 273\nanswer InfoFichier Notes= ok\ncmd 273\nsave\n", "",
                      [](const auto&, const json& d) {
                          EXPECT_FALSE(d.contains("notes"));
                          EXPECT_EQ(d["optionalBlocks"], json::array());
                      }},
        WholeFileCase{"ExportWritesTheChosenFile", "a.mus", "answer file e.wnv\ncmd 588\n",
                      "MESSAGE Notavera 24 Fichier e.wnv écrit\n",
                      [](const auto& dir, const json&) {
                          EXPECT_EQ(test::ReadText(dir / "e.wnv").substr(900), test::ReadText(dir / "a.wnv").substr(900));
                      }},
        WholeFileCase{"ImportOpensTheNewDocument", "",
                      "answer Regleur cancel\nanswer file a.wnv\nanswer file b.mus\ncmd 589\n", "",
                      [](const auto& dir, const json& d) {
                          EXPECT_EQ(d["title"], "b.mus");
                          EXPECT_TRUE(d["pages"] == Info(dir, "a.mus")["pages"]);
                      }},
        WholeFileCase{"MergeAppendsTheOtherFile", "two.mus", "answer file a.mus\ncmd 8\nsave\n", "",
                      [](const auto& dir, const json& d) {
                          EXPECT_EQ(d["pageCount"], 5);
                          EXPECT_TRUE(Info(dir, "two.mus")["pages"][4]["staves"] ==
                                      Info(dir, "a.mus")["pages"][2]["staves"]);
                      }},
        WholeFileCase{"MergeWantsTheDocumentSavedFirst", "two.mus", "key F2\ncmd 8\n",
                      "MESSAGE Notavera 23 Sauver d'abord le fichier two.mus\n",
                      [](const auto&, const json& d) { EXPECT_EQ(d["pageCount"], 2); }},
        WholeFileCase{"SeparatePartOfTheCurrentVoice", "a.mus", "answer Format ok\nanswer Regleur ok\ncmd 14\n",
                      "MESSAGE Notavera 24 Fichier SEP_1.mus écrit\n",
                      [](const auto& dir, const json& d) {
                          EXPECT_EQ(Info(dir, "SEP_1.mus")["pages"][0]["staves"][0]["voiceWord"].template get<int>() & 0xFF, 1);
                          EXPECT_TRUE(d["pages"] == Info(dir, "a.mus")["pages"]) << "the score is only read";
                      }},
        WholeFileCase{"CancellingTheLayoutMakesNoPart", "a.mus", "answer Format ok\nanswer Regleur cancel\ncmd 584\n", "",
                      [](const auto& dir, const json&) { EXPECT_FALSE(fs::exists(dir / "PARTITIO.MUS")); }},
        WholeFileCase{"CompressLaysThePagesEndToEnd", "a.mus", "cmd 64\nkey F2\nkey F2\ncmd 7\n", "",
                      [](const auto& dir, const json& d) {
                          EXPECT_EQ(d["pageTable"][1][1], 4423 + d["pageTable"][0][0].get<int>());
                          EXPECT_TRUE(Info(dir, "a.mus")["pages"] == d["pages"]);
                          EXPECT_TRUE(fs::exists(dir / "a.bak"));
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
