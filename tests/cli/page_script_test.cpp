// Pages made and taken out end to end: the page table and the page numbers stored in the saved file after an
// insertion, a score at its 255 pages that refuses more, and a long score walked with pages inserted and deleted
// anywhere, read back page by page. Each page of a built score is told by the length of its first staff.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/mus_file_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using nlohmann::json;

// A score of `count` pages whose page n has n + 2 elements on its first staff (3 with `plain`).
void WriteScore(const std::filesystem::path& path, int count, bool plain = false) {
    test::MusFileBuilder b;
    for (int n = 1; n <= count; ++n) b.addPage(test::MakePage(n, 2, plain ? 3 : n + 2));
    test::WriteBytes(path, b.build());
}

// The built page each page of the document is, by number; 0 for a page made empty.
std::vector<int> PagesOf(const json& doc) {
    std::vector<int> pages;
    for (const json& page : doc["pages"]) pages.push_back(std::max(page["staves"][0]["elementCount"].get<int>() - 2, 0));
    return pages;
}

std::string GoTo(std::size_t page) { return "answer PageNo \"Aller page no:\"=" + std::to_string(page) + " ok\ncmd 66\n"; }

class PageScript : public ::testing::Test {
protected:
    void run(const std::string& text) {
        test::WriteText(dir / "s.txt", text);
        const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
        ASSERT_EQ(r.status, 0) << r.err << r.out;
    }
    json info() {
        const test::CliResult r = test::RunCli(dir.path(), {"info", "opus.mus", "--elements"});
        EXPECT_EQ(r.status, 0) << r.err;
        return json::parse(r.out, nullptr, false);
    }
    json dump(const char* name) { return json::parse(test::ReadText(dir / name), nullptr, false); }
    std::vector<std::uint8_t> bytes() { return test::ReadBytes(dir / "opus.mus"); }

    test::TempDir dir;
};

TEST_F(PageScript, APageInsertedAfterThePageThreeOfSixMovesTheLastThreeUpOneNumberInTheSavedFile) {
    WriteScore(dir / "opus.mus", 6);
    const json before = info();
    run(GoTo(3) + "answer Regleur ok\ncmd 65\nsave\n");
    const json after = info();
    EXPECT_EQ(PagesOf(after), (std::vector<int>{1, 2, 3, 0, 4, 5, 6}));
    // The old pages stay where they were in the file and carry their new numbers there; the new one went where the
    // data ended.
    for (int page = 4; page <= 7; ++page) {
        const json& entry = after["pageTable"][page - 1];
        EXPECT_EQ(entry[1], page == 4 ? before["endOfData"] : before["pageTable"][page - 2][1]) << page;
        EXPECT_EQ(test::GetU32(bytes(), entry[1].get<std::size_t>() + 7), static_cast<std::uint32_t>(page));
    }
}

// At 255 pages neither Insérer Page (inside the score or at its end) nor Page Suivante at the end asks for a layout
// or makes a page.
TEST_F(PageScript, AScoreOf255PagesTakesNoMore) {
    WriteScore(dir / "opus.mus", 255, true);
    run(GoTo(3) + "dump a.json\ncmd 65\n" + GoTo(255) + "cmd 65\ncmd 63\ndump b.json\n");
    EXPECT_EQ(dump("b.json")["pageCount"], 255);
    EXPECT_TRUE(dump("b.json")["pages"] == dump("a.json")["pages"]);
}

// Random insertions (also at the last page), deletions and pages appended by Page Suivante in a 60-page score: the
// document as the session sees it and the saved file read afresh hold the same pages, in the expected order.
TEST_F(PageScript, PagesInsertedAndDeletedAnywhereInALongScoreKeepTheirOrder) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        WriteScore(dir / "opus.mus", 60);
        std::vector<int> pages(60);
        std::iota(pages.begin(), pages.end(), 1);
        std::mt19937 random(seed);
        std::string script;
        for (int step = 0; step < 30; ++step) {
            const std::size_t page = std::uniform_int_distribution<std::size_t>(1, pages.size())(random);
            switch (random() % 3) {
            case 0:
                script += GoTo(page) + "answer Regleur ok\ncmd 65\n";
                pages.insert(pages.begin() + static_cast<std::ptrdiff_t>(page), 0);
                break;
            case 1:
                script += GoTo(page) + "answer message yes\ncmd 67\n";
                pages.erase(pages.begin() + static_cast<std::ptrdiff_t>(page) - 1);
                break;
            default:
                script += GoTo(pages.size()) + "cmd 63\n";
                pages.push_back(0);
            }
        }
        run(script + "save\ndump d.json\n");
        const json session = dump("d.json");
        EXPECT_EQ(PagesOf(session), pages);
        const json saved = info();
        EXPECT_EQ(saved["pageCount"], session["pageCount"]);
        EXPECT_TRUE(saved["pages"] == session["pages"]);  // equal, in a message of its size
    }
}

}  // namespace
}  // namespace notavera
