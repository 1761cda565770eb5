// The continuous view end to end: a line of music written on across three sheets instead of turning to the next
// staff, the page's record of the view, and the single page back after the command, a save and an undo.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using nlohmann::json;

// The continuous-page count the page records (0: shown as a single page).
int ContinuousCount(const json& page) { return (page["layout"].get<unsigned>() >> 12) & 0xF; }

int LastX(const json& staff) {
    const json& elements = staff["elements"];
    return elements.empty() ? -1 : elements.back()["x"].get<int>();
}

TEST(ContinuousView, ALineRunsOnAcrossTheSheetsAndTheSinglePageComesBack) {
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    std::string notes;
    for (int i = 0; i < 30; ++i) notes += "key F4\n";
    test::WriteText(dir / "s.txt", "answer Environnement \"Pages en continu (Max 10)\"=3 ok\ncmd 335\ncmd 100\n" +
                                       notes + "dump on.json\nsave\ndump saved.json\nundo\ndump undone.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;

    const json on = json::parse(test::ReadText(dir / "on.json"));
    const json& page = on["pages"][0];
    EXPECT_EQ(ContinuousCount(page), 3);
    const int line = page["lineLength"].get<int>();
    EXPECT_GT(LastX(page["staves"][0]), line);  // past the single page's end, on the same staff
    EXPECT_LT(LastX(page["staves"][0]), 3 * line);
    EXPECT_EQ(LastX(page["staves"][1]), -1);
    // The file keeps single pages; the view comes back after the save, and goes with an undo.
    EXPECT_EQ(ContinuousCount(json::parse(test::ReadText(dir / "saved.json"))["pages"][0]), 3);
    const test::CliResult stored = test::RunCli(dir.path(), {"info", "opus.mus"});
    EXPECT_EQ(ContinuousCount(json::parse(stored.out)["pages"][0]), 0);
    EXPECT_EQ(ContinuousCount(json::parse(test::ReadText(dir / "undone.json"))["pages"][0]), 0);
}

}  // namespace
}  // namespace notavera
