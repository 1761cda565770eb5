// The drawing window end to end: recordings and their limits, replays, symbols, the accelerating cursor, the
// scaling keys, metafile pictures read back where they were drawn. Each drawing element reads as
// "d<slot>:S/P/L" (shapes, points, recording length) and its steps after the first.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "score/drawing_recording.h"
#include "support/cli_runner.h"
#include "support/test_files.h"
#ifdef NOTAVERA_CLI_QT
#include <QColor>
#include <QImage>
#endif

namespace notavera {
namespace {

constexpr const char* piece = "[ \\clef<\"g\"> \\meter<\"4/4\"> c1/4 d e f g a b c2 d e f g a b c3 d ]";
constexpr const char* lineInSlot1 = "menu Ligne\nmenu \"DESSIN>Enregistrement>1e Dessin\"\n";
constexpr const char* finish = "menu \"Terminer enregistrement\"\n";

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string Drawings(const nlohmann::json& page) {
    std::string out;
    for (const auto& staff : page["staves"])
        for (const auto& e : staff["elements"]) {
            if (e["kind"] != "sign" || e["signType"] != 7) continue;
            const std::vector<std::uint8_t> payload = e["payload"];
            const std::optional<DrawingRecording> r = DecodeRecording(payload);
            if (!r) return "damaged";
            out += (out.empty() ? "d" : " d") + std::to_string(e["code"].get<int>()) + ":" +
                   std::to_string(r->shapes.size()) + "/" + std::to_string(r->points.size()) + "/" +
                   std::to_string(payload.size()) + " ";
            for (std::size_t i = 1; i < r->points.size(); ++i)
                out += "(" + Number(r->points[i].dx) + "," + Number(r->points[i].dy) + ")";
        }
    return out;
}

struct DrawingCase {
    const char* name;
    std::string script;
    const char* drawings;
    const char* printed = "";
    int status = 0;
};

class DrawingWindowScript : public ::testing::TestWithParam<DrawingCase> {
protected:
    test::TempDir dir;
};

TEST_P(DrawingWindowScript, LeavesTheDrawings) {
    test::WriteText(dir / "piece.gmn", piece);
    test::WriteBytes(dir / "short.sym", {26, 0, 1});
    test::WriteBytes(dir / "bad.wmf", {1, 2, 3, 4});
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "piece.gmn", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", "cmd 232\nwindow dessin\n" + GetParam().script + "\nwindow partition\ndump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, GetParam().status) << r.err << r.out;
    EXPECT_NE(r.out.find(GetParam().printed), std::string::npos) << r.out;
    if (r.status != 0) return;
    const auto dump = nlohmann::json::parse(test::ReadText(dir / "d.json"));
    EXPECT_EQ(Drawings(dump["pages"][0]), GetParam().drawings);
}

const std::string twoClicks = std::string(lineInSlot1) + "click 1000 2500\nclick 1200 2400\n" + finish;

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawingWindowScript,
    ::testing::Values(
        DrawingCase{"LineOfTwoClicks", twoClicks, "d1:1/2/26 (200,-100)"},
        DrawingCase{"BoxAndCurve",
                    "menu \"Rectangle Vide\"\nmenu \"DESSIN>Enregistrement>2e Dessin\"\nclick 1000 2500\n"
                    "click 1100 2400\nmenu Beziers\nclick 1200 2500\nkey Right\nchar 1\nkey Right\nchar 2\n"
                    "dblclick 1300 2500\n" + std::string(finish),
                    "d2:2/6/64 (100,-100)(100,100)(1,0)(1,0)(98,0)"},
        DrawingCase{"HeldLeftAccelerates",
                    std::string(lineInSlot1) + "click 1000 2500\nhold Left 3\nkey Insert\nkey Left\nkey Insert\n" + finish,
                    "d1:1/3/34 (-6,0)(-1,0)"},
        DrawingCase{"F2TenTimes",
                    std::string(lineInSlot1) + "click 1000 2500\nclick 1100 2500\n" + finish +
                        "key F4\nkey F2\nkey F2\nkey F2\nkey F2\nkey F2\nkey F2\nkey F2\nkey F2\nkey F2\nkey F2",
                    "d1:1/2/26 (110.462,0)"},
        DrawingCase{"F6AndF9ScaleOneAxis",
                    std::string(lineInSlot1) + "click 1000 2500\nclick 1100 2600\n" + finish + "key F4\nkey F6\nkey F9",
                    "d1:1/2/26 (101,99)"},
        DrawingCase{"ReplayAndSymbolKeepTheRecording",
                    twoClicks + "answer file s.sym\nmenu \"DESSIN>Sauver symbole ...>Adresse Dessin 1\"\n"
                                "answer file s.sym\nmenu \"DESSIN>Lire symbole ...>Adresse Dessin 2\"\n"
                                "click 300 2000\nmenu \"DESSIN>Relecture>2e Dessin\"",
                    "d2:1/2/26 (200,-100) d1:1/2/26 (200,-100)"},
        DrawingCase{"ShortSymbolEmptiesTheSlot",
                    twoClicks + "answer message yes\nanswer file short.sym\n"
                                "menu \"DESSIN>Lire symbole ...>Adresse Dessin 1\"\nmenu \"DESSIN>Relecture>1e Dessin\"",
                    "", "Commande grisée", 1},
        DrawingCase{"OverwriteRefusedKeepsTheSlot",
                    twoClicks + "answer message no\nmenu \"DESSIN>Enregistrement>1e Dessin\"\ntitle\n"
                                "menu \"DESSIN>Relecture>1e Dessin\"",
                    "d1:1/2/26 (200,-100) d1:1/2/26 (200,-100)", "TITLE NV (DESSIN) *  Ligne (Normal) * \n"},
        DrawingCase{"TitleWhileRecording",
                    "menu \"Trait Epais\"\nmenu \"Cercle Plein\"\nmenu \"DESSIN>Enregistrement>3e Dessin\"\ntitle",
                    "", "TITLE NV (DESSIN) *  Cercle Plein (Epais) * ENREGISTREMENT Dessin 3\n"},
        DrawingCase{"UndoTakesTheDrawingBack", twoClicks + "window partition\nundo", ""},
        DrawingCase{"UnreadableMetafile", "answer file bad.wmf\nmenu \"Lire metafile\"", "",
                    "MESSAGE Notavera 4 Impossible de lire le fichier bad.wmf !"},
        DrawingCase{"PasteWithoutAPictureIsGrey", "clipboard text \"la\"\nmenu \"Coller (Presse-papiers)\"", "",
                    "Commande grisée", 1},
        DrawingCase{"UnreadablePastedPicture", "clipboard picture bad.wmf\nmenu \"Coller (Presse-papiers)\"", "",
                    "MESSAGE Notavera 4 Impossible de lire le fichier (Presse-papiers) !"}),
    [](const ::testing::TestParamInfo<DrawingCase>& info) { return std::string(info.param.name); });

// The page calls after each drawing note: the shapes the drawing drew (the note counts them).
std::vector<nlohmann::json> ShapesOfDrawings(const nlohmann::json& calls) {
    std::vector<nlohmann::json> drawings;
    std::size_t count = 0;
    for (const auto& call : calls) {
        if (call["op"] == "drawing") {
            drawings.emplace_back(nlohmann::json::array());
            count = call["width"];
        } else if (!drawings.empty() && call.contains("points") && drawings.back().size() < count) {
            drawings.back().push_back(call);
        }
    }
    return drawings;
}

// The drawing calls of page 1 once `script` has run in the drawing window over the piece.
nlohmann::json CallsAfterDrawing(const test::TempDir& dir, const std::string& script) {
    test::WriteText(dir / "piece.gmn", piece);
    EXPECT_EQ(test::RunCli(dir.path(), {"import-gmn", "piece.gmn", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", "cmd 232\nwindow dessin\n" + script + "render 1 p.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    return r.status == 0 ? nlohmann::json::parse(test::ReadText(dir / "p.json")) : nlohmann::json::array();
}

TEST(DrawingWindow, ReplayElsewhereDrawsTheSameShapesTranslated) {
    test::TempDir dir;
    const std::vector<nlohmann::json> drawn = ShapesOfDrawings(CallsAfterDrawing(
        dir, "menu \"Polygones Pleins\"\nmenu \"DESSIN>Enregistrement>1e Dessin\"\nclick 1000 2500\nclick 1100 2400\n"
             "dblclick 1050 2300\nmenu Ligne\nclick 900 2000\nclick 950 2050\n" +
                 std::string(finish) + "click 1333 1777\nmenu \"DESSIN>Relecture>1e Dessin\"\n"));
    ASSERT_EQ(drawn.size(), 2u);
    ASSERT_EQ(drawn[0].size(), 2u);
    ASSERT_EQ(drawn[0][0]["points"].size(), 3u);
    EXPECT_EQ(drawn[0][0]["winding"], true);
    for (std::size_t s = 0; s < drawn[0].size(); ++s) {
        const auto& first = drawn[0][s]["points"];
        const auto& second = drawn[1][s]["points"];
        ASSERT_EQ(first.size(), second.size());
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(second[i][0].get<int>() - first[i][0].get<int>(), 333) << s << " " << i;
            EXPECT_EQ(second[i][1].get<int>() - first[i][1].get<int>(), -723) << s << " " << i;
        }
    }
}

#ifdef NOTAVERA_CLI_QT
// Pixels whose grey levels differ by more than a quarter of the range.
double DifferingShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8), gb = b.convertToFormat(QImage::Format_Grayscale8);
    long differing = 0;
    for (int y = 0; y < ga.height(); ++y)
        for (int x = 0; x < ga.width(); ++x) differing += std::abs(ga.constScanLine(y)[x] - gb.constScanLine(y)[x]) > 64;
    return double(differing) / (double(ga.width()) * ga.height());
}

QImage Png(const std::filesystem::path& p) { return QImage(QString::fromStdString(p.string())); }

// A page written as a metafile comes back as a picture on a score of the same staves without their music.
TEST(DrawingWindow, MetafileOfAPageComesBackInPlace) {
    test::TempDir dir;
    // A page full of music, so that the picture is a fair part of it.
    std::string bars;
    for (int i = 0; i < 40; ++i) bars += " c1/4 d e f g a b c2";
    test::WriteText(dir / "piece.gmn", "[ \\clef<\"g\"> \\meter<\"4/4\">" + bars + " ]");
    test::WriteText(dir / "empty.gmn", "[ \\clef<\"g\"> \\meter<\"4/4\"> ]");
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "piece.gmn", "opus.mus"}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "empty.gmn", "empty.mus"}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"render", "opus.mus", "--page", "1", "--out", "p.wmf"}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"render", "opus.mus", "--page", "1", "--out", "p.png"}).status, 0);
    ASSERT_EQ(test::RunCli(dir.path(), {"render", "empty.mus", "--page", "1", "--out", "e.png"}).status, 0);
    // The picture's top-left corner is the sheet's: its bottom-left is where the page picture starts, its height
    // the metafile's own.
    ASSERT_EQ(test::RunCli(dir.path(), {"render", "opus.mus", "--page", "1", "--out", "p.json"}).status, 0);
    const auto origin = nlohmann::json::parse(test::ReadText(dir / "p.json"))[0];
    const std::vector<std::uint8_t> wmf = test::ReadBytes(dir / "p.wmf");
    const int height = wmf[12] | wmf[13] << 8;
    test::WriteText(dir / "s.txt", "cmd 232\nwindow dessin\nclick " + std::to_string(origin["x"].get<int>()) + " " +
                                       std::to_string(origin["y"].get<int>() + height) +
                                       "\nanswer file p.wmf\nmenu \"Lire metafile\"\nrender 1 w.png\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "empty.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    // Without the picture much more differs.
    EXPECT_GT(DifferingShare(Png(dir / "p.png"), Png(dir / "e.png")), 0.02);
    EXPECT_LE(DifferingShare(Png(dir / "p.png"), Png(dir / "w.png")), 0.01);
}

// Pictures other programs put on the clipboard come in as metafile pictures of their own printed size, drawn
// where the cursor stood; the marked region gives them its size instead.
TEST(DrawingWindow, PastedSvgAndPngPicturesKeepTheirSizeOrFillTheRegion) {
    test::TempDir dir;
    test::WriteText(dir / "logo.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30mm\" height=\"10mm\" "
                                      "viewBox=\"0 0 30 10\"><rect width=\"15\" height=\"10\" fill=\"#0000ff\"/>"
                                      "<rect x=\"15\" width=\"15\" height=\"10\" fill=\"#ff0000\"/></svg>");
    QImage png(96, 48, QImage::Format_ARGB32);  // one inch by half an inch at 96 dpi
    png.fill(QColor(0, 160, 0));
    png.setDotsPerMeterX(3780);
    png.setDotsPerMeterY(3780);
    ASSERT_TRUE(png.save(QString::fromStdString((dir / "green.png").string())));
    std::vector<nlohmann::json> images;
    for (const auto& call : CallsAfterDrawing(dir, "click 500 2600\nclipboard picture logo.svg\n"
                                                   "menu \"Coller (Presse-papiers)\"\nmenu \"Marquer région\"\n"
                                                   "click 1200 2000\nclick 1500 2600\nclipboard picture green.png\n"
                                                   "menu \"Coller (Presse-papiers)\"\n"))
        if (call["op"] == "image") images.push_back(call);
    ASSERT_EQ(images.size(), 2u);
    const auto box = [](const nlohmann::json& c) {
        return std::array<int, 4>{c["left"], c["bottom"], c["right"], c["top"]};
    };
    // 30 by 10 mm from the cursor; the region's 30 by 60 mm.
    EXPECT_NEAR(box(images[0])[0], 500, 2);
    EXPECT_NEAR(box(images[0])[2] - box(images[0])[0], 300, 2);
    EXPECT_NEAR(box(images[0])[3] - box(images[0])[1], 100, 2);
    EXPECT_NEAR(box(images[0])[3], 2600, 3);
    EXPECT_EQ(images[0]["corners"][0], 0xFF0000FFu);  // blue on the left, red on the right
    EXPECT_EQ(images[0]["corners"][3], 0xFFFF0000u);
    EXPECT_NEAR(box(images[1])[0], 1200, 2);
    EXPECT_NEAR(box(images[1])[2], 1500, 2);
    EXPECT_NEAR(box(images[1])[1], 2000, 3);
    EXPECT_NEAR(box(images[1])[3], 2600, 3);
    EXPECT_EQ(images[1]["width"], 96);
    EXPECT_EQ(images[1]["corners"][0], 0xFF00A000u);
}

#endif

}  // namespace
}  // namespace notavera
