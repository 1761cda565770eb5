// "Exporter MusicXML…" from the menu and notavera-cli export-musicxml: the file where the dialog or the command says,
// a new page where the score turns one, and a place that cannot be written told without a file left there.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/cli_runner.h"
#include "support/page_fixtures.h"
#include "support/test_files.h"

namespace notavera {
namespace {

std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(MusicXmlExport, MenuAndCommandWriteTheScoreWhereTheyAreTold) {
    test::TempDir dir;
    const auto document = dir / "score.mus";
    test::SaveNumberedDocument(document, 3);
    test::WriteText(dir / "plain", "not a folder");
    struct Case {
        std::filesystem::path target;
        bool menu;
        bool written;
    };
    for (const Case& c : {Case{dir / "menu.musicxml", true, true}, Case{dir / "plain" / "x.musicxml", true, false},
                          Case{dir / "cli.musicxml", false, true}, Case{dir / "plain" / "y.musicxml", false, false}}) {
        test::WriteText(dir / "export.txt", "answer file " + c.target.string() + "\ncmd 906\n");
        const test::CliResult r =
            c.menu ? test::RunCli(dir.path(), {"script", document.string(), (dir / "export.txt").string()})
                   : test::RunCli(dir.path(), {"export-musicxml", document.string(), c.target.string()});
        EXPECT_EQ((r.out + r.err).find("Impossible d'écrire le fichier") == std::string::npos, c.written) << r.out;
        EXPECT_EQ(std::filesystem::exists(c.target), c.written) << c.target;
        if (!c.written) continue;
        const std::string xml = Read(c.target);
        EXPECT_NE(xml.find("<!DOCTYPE score-partwise PUBLIC"), std::string::npos);
        EXPECT_EQ(Count(xml, "new-page=\"yes\""), 2u) << "three pages";
    }
}

}  // namespace
}  // namespace notavera
