// notavera-cli export-pdf and export-svg end to end: the pages of a range in one PDF read back by poppler, the SVG
// pages drawing what the PNG of the same page shows with each glyph defined once, an unwritable place leaving no
// file, and "Imprimer" without a printer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>

#include "support/cli_runner.h"
#include "support/page_fixtures.h"
#include "support/test_files.h"
#include "support/test_paths.h"
#ifdef NOTAVERA_CLI_QT
#include <QImage>
#endif

namespace notavera {
namespace {

#ifdef NOTAVERA_CLI_QT
// What a command prints on its standard output; empty when it cannot run.
std::string Output(const std::string& command) { return test::CommandOutput(command + " 2>/dev/null"); }

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0; }

std::string Quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Pixels whose grey levels differ by more than a quarter of the range: antialiasing alone stays under it.
double DifferingShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8), gb = b.convertToFormat(QImage::Format_Grayscale8);
    long differing = 0;
    for (int y = 0; y < ga.height(); ++y) {
        const uchar* ra = ga.constScanLine(y);
        const uchar* rb = gb.constScanLine(y);
        for (int x = 0; x < ga.width(); ++x) differing += std::abs(int(ra[x]) - int(rb[x])) > 64;
    }
    return double(differing) / (double(ga.width()) * ga.height());
}

// Three pages, the page number centred at the foot of each.
class PageExport : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Have("pdfinfo") || !Have("rsvg-convert")) GTEST_SKIP() << "poppler-utils or librsvg2-bin is not installed";
        test::SaveNumberedDocument(document, 3);
    }
    test::CliResult run(std::vector<std::string> args) { return test::RunCli(dir.path(), args); }

    test::TempDir dir;
    std::filesystem::path document = dir / "score.mus";
};

struct RangeCase {
    std::vector<std::string> options;
    int pages;
    int firstNumber;
};

TEST_F(PageExport, PdfHoldsTheRangeOnA4PagesWithTheirNumbers) {
    const RangeCase cases[] = {{{}, 3, 1}, {{"--from", "2"}, 2, 2}, {{"--from", "2", "--to", "2"}, 1, 2},
                               {{"--to", "2"}, 2, 1}};
    for (const RangeCase& c : cases) {
        const auto pdf = dir / "score.pdf";
        std::vector<std::string> args{"export-pdf", document.string(), pdf.string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(run(args).status, 0) << c.options.size();
        const std::string info = Output("pdfinfo " + Quoted(pdf));
        EXPECT_NE(info.find("Pages:           " + std::to_string(c.pages) + "\n"), std::string::npos) << info;
        EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
        for (int i = 0; i < c.pages; ++i) {
            const std::string page = std::to_string(i + 1);
            const std::string text = Output("pdftotext -f " + page + " -l " + page + " " + Quoted(pdf) + " -");
            const int number = c.firstNumber + i;
            if (number >= 2) {
                EXPECT_NE(text.find(std::to_string(number)), std::string::npos) << number << text;
            }
        }
    }
}

TEST_F(PageExport, RangesOutsideTheScoreAreRefused) {
    for (const std::vector<std::string>& options : {std::vector<std::string>{"--from", "4"},
                                                    std::vector<std::string>{"--from", "3", "--to", "2"},
                                                    std::vector<std::string>{"--to", "0"}}) {
        std::vector<std::string> args{"export-pdf", document.string(), (dir / "x.pdf").string()};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_NE(run(args).status, 0);
        EXPECT_FALSE(std::filesystem::exists(dir / "x.pdf"));
    }
}

TEST_F(PageExport, AnUnwritablePlaceGivesTheDiskMessageAndLeavesNoFile) {
    test::WriteText(dir / "plain", "not a folder");
    for (const char* command : {"export-pdf", "export-svg"}) {
        const auto out = dir / "plain" / "out";
        const test::CliResult r = run({command, document.string(), out.string()});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find("Impossible d'écrire le fichier"), std::string::npos) << r.err;
    }
    // A folder that exists but is a file's name inside: nothing is left beside the score but the two files.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u);
}

// The SVG of a page draws what its PNG shows, and each glyph is written once however often it is used. Both are
// rasterised at one pixel a unit, where the two agree on where whole units fall.
void ExpectSvgMatchesPng(const std::filesystem::path& folder, const std::filesystem::path& document, int page,
                         std::size_t maxBytes) {
    const auto svg = folder / ("page-" + std::string(page < 10 ? "00" : "0") + std::to_string(page) + ".svg");
    const std::string text = test::ReadText(svg);
    ASSERT_FALSE(text.empty()) << svg;
    EXPECT_LT(text.size(), maxBytes);
    std::size_t defined = 0, used = 0;
    for (std::size_t at = 0; (at = text.find("<path id=\"g", at)) != std::string::npos; ++at) ++defined;
    for (std::size_t at = 0; (at = text.find("<use ", at)) != std::string::npos; ++at) ++used;
    EXPECT_GE(used, defined);
    if (Have("xmllint")) {
        ASSERT_EQ(std::system(("xmllint --noout " + Quoted(svg)).c_str()), 0);
    }
    const auto fromSvg = folder / "svg.png", fromQt = folder / "qt.png";
    const std::string rasterise = "rsvg-convert -d 254 -p 254 -b white -o " + Quoted(fromSvg) + " " + Quoted(svg);
    ASSERT_EQ(std::system(rasterise.c_str()), 0);
    ASSERT_EQ(test::RunCli(folder, {"render", document.string(), "--page", std::to_string(page), "--out",
                                    fromQt.string(), "--dpi", "254"})
                  .status,
              0);
    EXPECT_LT(DifferingShare(QImage(QString::fromStdString(fromSvg.string())),
                             QImage(QString::fromStdString(fromQt.string()))),
              0.01);
}

TEST_F(PageExport, SvgPagesAreOneFileEachAndDrawWhatThePngShows) {
    ASSERT_EQ(run({"export-svg", document.string(), (dir / "pages").string(), "--from", "2"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "pages" / "page-001.svg"));
    EXPECT_TRUE(std::filesystem::exists(dir / "pages" / "page-003.svg"));
    ExpectSvgMatchesPng(dir / "pages", document, 2, 200'000);
}

// The densest page of the corpus: many glyphs at a few sizes, so that defining each glyph once keeps it small.
TEST(PageExportCorpus, DensestPageStaysSmallAndDrawsWhatThePngShows) {
    const auto gmn = test::CorpusDir() / "gmn" / "guidolib_complex_846_2f.gmn";
    if (!std::filesystem::exists(gmn)) GTEST_SKIP() << "the corpus is not beside the sources";
    if (!Have("rsvg-convert")) GTEST_SKIP() << "librsvg2-bin is not installed";
    test::TempDir dir;
    const auto mus = dir / "dense.mus";
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", gmn.string(), mus.string()}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"export-svg", mus.string(), (dir / "pages").string(), "--to", "1"}).status, 0);
    ExpectSvgMatchesPng(dir / "pages", mus, 1, 200'000);
    const std::string svg = test::ReadText(dir / "pages" / "page-001.svg");
    auto count = [&svg](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = svg.find(what, at)) != std::string::npos; ++at) ++n;
        return n;
    };
    EXPECT_GT(count("<use "), 20 * count("<path id=\"g"));  // hundreds of glyphs drawn from a handful of outlines
    // The PDF of the same score carries every font it names inside it.
    const auto pdf = dir / "dense.pdf";
    ASSERT_EQ(test::RunCli(dir.path(), {"export-pdf", mus.string(), pdf.string()}).status, 0);
    const std::string fonts = Output("pdffonts " + Quoted(pdf));
    const std::regex row(R"((yes|no) +(yes|no) +(yes|no) +\d+ +\d+\n)");
    int rows = 0;
    for (auto it = std::sregex_iterator(fonts.begin(), fonts.end(), row); it != std::sregex_iterator(); ++it, ++rows)
        EXPECT_EQ((*it)[1], "yes") << fonts;
    EXPECT_GT(rows, 0) << fonts;
}

// "Exporter PDF…" from the menu: the file named in the dialog, every page; a place that cannot be written is told.
TEST_F(PageExport, ExportPdfCommandWritesEveryPageWhereTheDialogSays) {
    test::WriteText(dir / "plain", "not a folder");
    for (const auto& [target, written] :
         {std::pair{dir / "menu.pdf", true}, std::pair{dir / "plain" / "x.pdf", false}}) {
        test::WriteText(dir / "export.txt", "answer file " + target.string() + "\ncmd 903\n");
        const test::CliResult r = run({"script", document.string(), (dir / "export.txt").string()});
        EXPECT_EQ(r.out.find("Impossible d'écrire le fichier") == std::string::npos, written) << r.out;
        EXPECT_EQ(std::filesystem::exists(target), written);
    }
    EXPECT_NE(Output("pdfinfo " + Quoted(dir / "menu.pdf")).find("Pages:           3\n"), std::string::npos);
}
#endif

TEST(PrintCommand, WithoutAPrinterEndsWithTheNoPrinterMessage) {
    test::TempDir dir;
    const auto mus = dir / "score.mus", script = dir / "print.txt";
    ASSERT_EQ(test::RunCli(dir.path(), {"new", mus.string()}).status, 0);
    test::WriteText(script, "cmd 5\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", mus.string(), script.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("MESSAGE Notavera 32 "), std::string::npos) << r.out;
}

}  // namespace
}  // namespace notavera
