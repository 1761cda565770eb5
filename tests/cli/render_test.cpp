// notavera-cli render and render-audio end to end: each picture format from a saved document (the JSON of drawing
// calls, a metafile an independent reader accepts, PNG sizes at a resolution, zoom and region, SVG and PDF), a WAV
// that sox hears for as long as the music lasts, and the errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <nlohmann/json.hpp>

#include "platform/wmf_canvas.h"
#include "score/little_endian.h"
#include "score/work_files.h"
#include "support/audio_test_files.h"
#include "support/cli_runner.h"
#include "support/page_fixtures.h"
#include "support/score_builder.h"
#include "support/test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

// Two pages; the page number centred at the foot of every page but the first.
class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        test::SaveNumberedDocument(document, 2);
    }
    int render(int page, const std::filesystem::path& out, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"render", document.string(), "--page", std::to_string(page), "--out", out.string()};
        args.insert(args.end(), more.begin(), more.end());
        return test::RunCli(dir.path(), args).status;
    }

    test::TempDir dir;
    std::filesystem::path document = dir / "score.mus";
};

TEST_F(RenderCommand, JsonListsTheDrawingCallsInOrderAtTheZoomAsked) {
    ASSERT_EQ(render(2, dir / "page.json"), 0);
    const nlohmann::json calls = nlohmann::json::parse(std::ifstream(dir / "page.json"));
    EXPECT_EQ(calls[0]["op"], "origin");
    int lines = 0;
    std::vector<std::string> texts;
    for (const auto& c : calls) {
        lines += c["op"] == "line";
        if (c["op"] == "text") texts.push_back(c["text"]);
    }
    EXPECT_EQ(lines, 50);
    EXPECT_EQ(texts, std::vector<std::string>{"2"});
    EXPECT_FALSE(std::filesystem::exists(WorkingFileName(document)));  // the working file opened is gone
    ASSERT_EQ(render(1, dir / "half.json", {"--zoom", "1/2"}), 0);
    for (const auto& c : nlohmann::json::parse(std::ifstream(dir / "half.json")))
        if (c["op"] == "line") {
            EXPECT_EQ(c["x2"], 950);
            break;
        }
}

TEST_F(RenderCommand, MetafileIsReadByAnIndependentReader) {
    const auto out = dir / "page.wmf";
    ASSERT_EQ(render(1, out), 0);
    const std::vector<std::uint8_t> bytes = test::ReadBytes(out);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(le::u32(bytes, 0), wmf::kPlaceableKey);
    if (std::system("command -v wmf2svg >/dev/null 2>&1") != 0) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    std::string command = "wmf2svg -o '";
    command.append((dir / "page.svg").string()).append("' '").append(out.string()).append("' >/dev/null 2>&1");
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string svg = test::ReadText(dir / "page.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<line"), std::string::npos);  // the staff lines came through
}

#ifdef NOTAVERA_CLI_QT
// The width and height of a PNG file, from its header.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::vector<std::uint8_t>& bytes) {
    const auto be = [&](std::size_t at) {
        return std::uint32_t{bytes.at(at)} << 24 | std::uint32_t{bytes.at(at + 1)} << 16 |
               std::uint32_t{bytes.at(at + 2)} << 8 | bytes.at(at + 3);
    };
    return {be(16), be(20)};
}

TEST_F(RenderCommand, PicturesTakeTheSheetOrRegionSizeAtTheResolutionAndSvgAndPdfAreWritten) {
    const auto png = dir / "page.png", svg = dir / "page.svg", pdf = dir / "page.pdf";
    ASSERT_EQ(render(1, png, {"--dpi", "96"}), 0);
    EXPECT_EQ(PngSize(test::ReadBytes(png)), std::pair(794u, 1123u));  // 210 × 297 mm at 96 dpi
    ASSERT_EQ(render(1, png, {"--dpi", "300", "--zoom", "1/2"}), 0);
    EXPECT_EQ(PngSize(test::ReadBytes(png)), std::pair(1241u, 1754u));
    ASSERT_EQ(render(1, png, {"--dpi", "254", "--region", "0,2000,1000,2900"}), 0);
    EXPECT_EQ(PngSize(test::ReadBytes(png)), std::pair(1000u, 900u));
    ASSERT_EQ(render(1, svg), 0);
    ASSERT_EQ(render(1, pdf), 0);
    EXPECT_NE(test::ReadText(svg).find("<svg"), std::string::npos);
    EXPECT_EQ(test::ReadText(pdf).rfind("%PDF-", 0), 0u);
}
#else
TEST_F(RenderCommand, PicturesNeedTheGraphicalLayer) { EXPECT_EQ(render(1, dir / "page.png"), 2); }
#endif

TEST_F(RenderCommand, ErrorsAreReportedInFrenchWithAFailingStatus) {
    test::CliResult run = test::RunCli(dir.path(), {"render", document.string(), "--page", "3", "--out", "p.json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Page 3 inexistante"), std::string::npos);
    EXPECT_EQ(render(1, dir / "p.txt"), 2);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--zoom", "0/2"}, {"--region", "1,2,3"},
                                                {"--region", "1,2,3,4,5"}, {"--dpi", "0"}})
        EXPECT_EQ(render(1, dir / "p.json", bad), 2) << bad[0] << " " << bad[1];
    EXPECT_EQ(test::RunCli(dir.path(), {"render", document.string(), "--page", "1"}).status, 2);
    run = test::RunCli(dir.path(), {"render", "absent.mus", "--page", "1", "--out", "p.json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("MESSAGE Notavera 4 Impossible de lire le fichier"), std::string::npos);
    run = test::RunCli(dir.path(), {"render", document.string(), "--page", "1", "--out", "absent/p.json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Impossible d'écrire le fichier"), std::string::npos);
}

// The WAV written from `source` lasts between `shortest` and `longest` seconds and is not silent.
void ExpectHeard(const test::TempDir& dir, const std::string& source, double shortest, double longest) {
    const test::CliResult run = test::RunCli(dir.path(), {"render-audio", source, "out.wav"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto stat = test::MeasureWithSox(dir / "out.wav");
    ASSERT_TRUE(stat);
    EXPECT_GT(stat->rmsAmplitude, 0.001) << source;
    EXPECT_GE(stat->seconds, shortest) << source;
    EXPECT_LE(stat->seconds, longest) << source;
}

TEST(RenderAudioCommand, MidiFilesAndDocumentsAreHeardForAsLongAsTheyLast) {
    test::TempDir dir;
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67, 69, 71}, 320));  // one second
    ExpectHeard(dir, "air.mid", 1.0, 3.0);
    test::ScoreBuilder score(2);
    score.on(1, 0).notes(100, 150, 4, 5);  // four quarters on G at 120 a minute: two seconds
    score.on(2, 0).notes(100, 150, 4, 1);  // and two more on the second page
    ASSERT_TRUE(score.saveAs(dir / "song.mus"));
    ExpectHeard(dir, "song.mus", 4.0, 7.0);
    EXPECT_FALSE(std::filesystem::exists(dir / "song.sum")) << "the working file is removed";
}

TEST(RenderAudioCommand, UnreadableMidiUnwritableWavAndWrongArgumentsAreReported) {
    test::TempDir dir;
    const auto bad = test::CorpusDir() / "midi/malformed/jazzsoft_test-not-a-midi-file.mid";
    test::CliResult run = test::RunCli(dir.path(), {"render-audio", bad.string(), "x.wav"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "MESSAGE Message 0 Fichier MIDI illisible : " + bad.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.wav"));
    test::WriteBytes(dir / "air.mid", test::MelodyMidi({67}, 320));
    const auto wav = dir / "absent" / "air.wav";
    run = test::RunCli(dir.path(), {"render-audio", "air.mid", wav.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "MESSAGE Notavera 2 Impossible d'écrire le fichier " + wav.string() + "\n");
    run = test::RunCli(dir.path(), {"render-audio", "seul.mid"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("render-audio"), std::string::npos);
}

}  // namespace
}  // namespace notavera
