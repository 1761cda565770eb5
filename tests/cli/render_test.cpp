// notavera-cli render end to end: each output format from a saved document (the JSON of drawing calls, a metafile
// an independent reader accepts, PNG sizes at a resolution and zoom, SVG and PDF files), regions, and the errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/headless/headless_ui.h"
#include "platform/wmf_canvas.h"
#include "score/little_endian.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#include "support/cli_runner.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::ReadBytes;

// Built by appending: g++ 12 at -O3 misreads "'" + s + "'" as an overlapping copy (-Wrestrict).
std::string Quoted(const std::filesystem::path& p) {
    std::string quoted = "'";
    quoted.append(p.string()).push_back('\'');
    return quoted;
}

class RenderCommand : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path document = dir / "score.mus";

    void SetUp() override {
        HeadlessUi ui(nullptr);
        EditorContext ctx(ui);
        SetUpNewDocument(ctx.doc, 2);
        std::array<std::uint8_t, 10> pagination{};
        pagination[4] = 1;  // "Première page incluse"
        pagination[5] = 1;  // "Centré"
        pagination[6] = 1;
        pagination[9] = 2;
        ctx.doc.optional.pagination = pagination;
        ctx.doc.header.blockFlags() |= block_flag::pagination;
        ctx.doc.storage.path = document;
        ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
        DeleteWorkFiles(ctx.doc);
    }

    test::CliResult render(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "render");
        return test::RunCli(dir.path(), arguments);
    }

    test::CliResult render(int page, const std::filesystem::path& out, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments{document.string(), "--page", std::to_string(page), "--out", out.string()};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return render(arguments);
    }
};

TEST_F(RenderCommand, JsonListsTheDrawingCallsInOrder) {
    const auto out = dir / "page.json";
    ASSERT_EQ(render(2, out).status, 0);
    const nlohmann::json calls = nlohmann::json::parse(std::ifstream(out));
    ASSERT_TRUE(calls.is_array());
    EXPECT_EQ(calls[0]["op"], "origin");
    int lines = 0;
    std::vector<std::string> texts;
    for (const auto& c : calls) {
        if (c["op"] == "line") ++lines;
        if (c["op"] == "text") texts.push_back(c["text"]);
    }
    EXPECT_EQ(lines, 50);
    EXPECT_EQ(texts, std::vector<std::string>{"2"});
    // The working file the command opened is gone.
    EXPECT_FALSE(std::filesystem::exists(WorkingFileName(document)));
}

TEST_F(RenderCommand, JsonAtAZoomScalesTheCalls) {
    const auto out = dir / "half.json";
    ASSERT_EQ(render(1, out, {"--zoom", "1/2"}).status, 0);
    const nlohmann::json calls = nlohmann::json::parse(std::ifstream(out));
    for (const auto& c : calls) {
        if (c["op"] != "line") continue;
        EXPECT_EQ(c["x2"], 950);
        break;
    }
}

TEST_F(RenderCommand, MetafileIsReadByAnIndependentReader) {
    const auto out = dir / "page.wmf";
    ASSERT_EQ(render(1, out).status, 0);
    const std::vector<std::uint8_t> bytes = ReadBytes(out);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(le::u32(bytes, 0), wmf::kPlaceableKey);
    if (std::system("command -v wmf2svg >/dev/null 2>&1") != 0) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    const auto svg = dir / "page.svg";
    const std::string command = "wmf2svg -o " + Quoted(svg) + " " + Quoted(out) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(svg);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("<svg"), std::string::npos);
    EXPECT_NE(text.str().find("<line"), std::string::npos);  // the staff lines came through
}

#ifdef NOTAVERA_CLI_QT
// The width and height of a PNG file, from its header.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::vector<std::uint8_t>& bytes) {
    auto be = [&](std::size_t at) {
        return std::uint32_t{bytes.at(at)} << 24 | std::uint32_t{bytes.at(at + 1)} << 16 |
               std::uint32_t{bytes.at(at + 2)} << 8 | bytes.at(at + 3);
    };
    return {be(16), be(20)};
}

TEST_F(RenderCommand, PngTakesTheSheetsSizeAtTheResolution) {
    const auto out = dir / "page.png";
    ASSERT_EQ(render(1, out, {"--dpi", "96"}).status, 0);
    const std::vector<std::uint8_t> bytes = ReadBytes(out);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(PngSize(bytes), (std::pair<std::uint32_t, std::uint32_t>{794, 1123}));  // 210 × 297 mm at 96 dpi
    ASSERT_EQ(render(1, out, {"--dpi", "300", "--zoom", "1/2"}).status, 0);
    EXPECT_EQ(PngSize(ReadBytes(out)), (std::pair<std::uint32_t, std::uint32_t>{1241, 1754}));
}

TEST_F(RenderCommand, ARegionIsRenderedAlone) {
    const auto out = dir / "region.png";
    ASSERT_EQ(render(1, out, {"--dpi", "254", "--region", "0,2000,1000,2900"}).status, 0);
    EXPECT_EQ(PngSize(ReadBytes(out)), (std::pair<std::uint32_t, std::uint32_t>{1000, 900}));
}

TEST_F(RenderCommand, SvgAndPdfFilesAreWritten) {
    const auto svg = dir / "page.svg", pdf = dir / "page.pdf";
    ASSERT_EQ(render(1, svg).status, 0);
    ASSERT_EQ(render(1, pdf).status, 0);
    const std::vector<std::uint8_t> svgBytes = ReadBytes(svg), pdfBytes = ReadBytes(pdf);
    const std::string svgText(svgBytes.begin(), svgBytes.end());
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    ASSERT_GT(pdfBytes.size(), 100u);
    EXPECT_EQ(std::string(pdfBytes.begin(), pdfBytes.begin() + 5), "%PDF-");
}
#else
TEST_F(RenderCommand, PicturesNeedTheGraphicalLayer) {
    const test::CliResult run = render(1, dir / "page.png");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Format non disponible"), std::string::npos);
}
#endif

TEST_F(RenderCommand, ErrorsAreReportedInFrenchWithAFailingStatus) {
    test::CliResult run = render(3, dir / "p.json");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Page 3 inexistante"), std::string::npos);
    EXPECT_EQ(render(1, dir / "p.txt").status, 2);
    EXPECT_EQ(render(1, dir / "p.json", {"--zoom", "0/2"}).status, 2);
    EXPECT_EQ(render(1, dir / "p.json", {"--region", "1,2,3"}).status, 2);
    EXPECT_EQ(render(1, dir / "p.json", {"--region", "1,2,3,4,5"}).status, 2);
    EXPECT_EQ(render(1, dir / "p.json", {"--dpi", "0"}).status, 2);
    EXPECT_EQ(render({document.string(), "--page", "1"}).status, 2);
    run = render({(dir / "absent.mus").string(), "--page", "1", "--out", (dir / "p.json").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("MESSAGE Notavera 4 Impossible de lire le fichier"), std::string::npos);
    run = render(1, dir / "no such folder" / "p.json");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Impossible d'écrire le fichier"), std::string::npos);
}

}  // namespace
}  // namespace notavera
