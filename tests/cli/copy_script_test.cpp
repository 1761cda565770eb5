// Copy and paste, erase recovery and the clipboard picture end to end: notes typed in a script, copied, deleted,
// pasted and recovered, read back from the dump as note names page by page ("/" parts pages), and the clipboard
// written to files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

// The notes of each page's first staff; with `gaps` each note after the first also tells how far it stands
// from the one before it.
std::string Notes(const nlohmann::json& dump, bool gaps = false) {
    std::string line;
    for (const auto& page : dump["pages"]) {
        if (&page != &dump["pages"].front()) line += '/';
        const auto& elements = page["staves"][0]["elements"];
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const auto& e = elements[i];
            if (i > 0) line += ' ';
            line += "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>());
            if (gaps && i > 0) line += "+" + std::to_string(e["x"].get<int>() - elements[i - 1]["x"].get<int>());
        }
    }
    return line;
}

struct CopyCase {
    const char* name;
    const char* script;
    const char* notes;
    int refusals;  // MESSAGE lines of message 21
};

class CopyScriptTest : public ::testing::TestWithParam<CopyCase> {};

// "key Left" after typing goes back one element (the first press onto the last note); "char Y" sets marker Y.
#define CDE "key F2\nkey F3\nkey F4\nkey Left\nkey Left\nkey Left\n"
#define COPY_CD CDE "char Y\nkey Right\nchar Ctrl+C\n"

TEST_P(CopyScriptTest, LeavesTheNotes) {
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", std::string(GetParam().script) + "dump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Notes(nlohmann::json::parse(test::ReadText(dir / "d.json"), nullptr, false)), GetParam().notes);
    int refusals = 0;
    for (std::size_t at = 0; (at = r.out.find("MESSAGE Erreur 21 ", at)) != std::string::npos; ++at) ++refusals;
    EXPECT_EQ(refusals, GetParam().refusals) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyScriptTest,
    ::testing::Values(
        // From the cursor to marker Y, pasted at the cursor of another page after what is there.
        CopyCase{"OtherPage", "cmd 63\n" COPY_CD "cmd 63\ncmd 63\ncmd 63\nkey F5\nchar Ctrl+V\n",
                 "/C4 D4 E4///F4 C4 D4", 0},
        // The source stays recorded, also when the first paste moved it along its staff.
        CopyCase{"PasteTwice", COPY_CD "char Ctrl+V\ncmd 13\n", "C4 C4 D4 C4 D4 D4 E4", 0},
        // Without marker Y the current element alone; Ctrl+C and command 217 copy alike.
        CopyCase{"CurrentElement", CDE "cmd 217\nkey Right\nkey Right\nkey Right\nchar Ctrl+V\n", "C4 D4 E4 C4", 0},
        // A deleted source refuses once and is forgotten; so is one changed in place.
        CopyCase{"SourceDeleted", COPY_CD "key Delete\nchar Ctrl+V\nchar Ctrl+V\n", "C4 E4", 1},
        CopyCase{"SourceChanged", COPY_CD "char b\nchar Ctrl+V\n", "C4 D4 E4", 1},
        // Recovery puts back what the last deletion removed, at the cursor.
        CopyCase{"RecoverRegion", CDE "char Y\nkey Right\ncmd 212\ncmd 218\ncmd 218\n",
                 "C4 D4 C4 D4 E4", 0},
        CopyCase{"RecoverDeletedNote", CDE "key Delete\ncmd 218\ncmd 218\n", "C4 C4 D4 E4", 0},
        CopyCase{"RecoverLineEnd", CDE "key Right\ncmd 213\nkey Left\ncmd 218\n", "D4 E4 C4", 0}),
    [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

// The page recorded for copy is not deleted; a page deleted before it takes the source along to its new number.
TEST(CopyDistances, ThePageOfTheCopySourceStaysUntilAnotherCopy) {
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", "cmd 63\n" COPY_CD "cmd 64\nanswer message yes\ncmd 67\nanswer message yes\ncmd 67\n"
                                   "cmd 63\ncmd 63\nkey F5\nchar Ctrl+V\ndump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("MESSAGE Message 34 Page 1 marquée pour copie"), std::string::npos) << r.out;
    EXPECT_EQ(Notes(nlohmann::json::parse(test::ReadText(dir / "d.json"), nullptr, false)), "C4 D4 E4//F4 C4 D4");
}

TEST(CopyDistances, PastedAndRecoveredNotesKeepTheirDistances) {
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", "char 2\nkey F2\nchar 4\nkey F3\nkey F4\nkey Left\nkey Left\nkey Left\nchar Y\n"
                                   "key Right\nchar Ctrl+C\ndump a.json\ncmd 63\nchar Ctrl+V\ncmd 64\nkey Left\n"
                                   "cmd 213\ncmd 218\ndump d.json\n");
    ASSERT_EQ(test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"}).status, 0);
    const auto notes = [&](const char* name) {
        return Notes(nlohmann::json::parse(test::ReadText(dir / name), nullptr, false), true);
    };
    const std::string before = notes("a.json");  // the whole note C leaves more room than a quarter
    const std::string pair = before.substr(0, before.find(" E4"));
    const std::string after = notes("d.json");
    EXPECT_TRUE(after.starts_with(pair + " E4+") && after.ends_with("/" + pair)) << before << " -> " << after;
}

// The PNG and SVG forms exist only where Qt draws them.
TEST(ClipboardScript, APictureOfTheRegionOrThePageInEveryForm) {
    test::TempDir dir;
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", "key F2\nkey F3\ncmd 479\nclipboard page\ncmd 233\nclick 40 2700\nclick 600 2300\n"
                                   "cmd 479\nclipboard zone\ncmd 479\nclipboard again\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string all = "CLIPBOARD image/png image/svg+xml image/x-wmf\n";
    ASSERT_EQ(r.out, all + all + all);
    const auto width = [&](const char* name) {
        const std::string png = test::ReadText(dir / name);
        EXPECT_EQ(png.substr(0, 4), "\x89PNG");
        return (static_cast<unsigned char>(png[18]) << 8) | static_cast<unsigned char>(png[19]);
    };
    EXPECT_GT(width("page.png"), 2 * width("zone.png"));
    EXPECT_EQ(width("again.png"), width("page.png"));  // the zone was shown only until its picture was taken
    for (const char* name : {"page.svg", "zone.svg"})  // the note heads
        EXPECT_NE(test::ReadText(dir / name).find("<path"), std::string::npos) << name;
    EXPECT_EQ(test::ReadText(dir / "zone.wmf").substr(0, 4), "\xD7\xCD\xC6\x9A");
}

}  // namespace
}  // namespace notavera
