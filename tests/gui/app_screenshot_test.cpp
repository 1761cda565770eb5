// The real editor under a virtual X server: started on the demo score, it paints the page, reports how long the
// first page took, saves a picture of its window and leaves; the picture shows a white sheet with music on it.
// Started without a document it opens the Régleur, whose picture shows the grey miniature page with its staves.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include "support/test_paths.h"

namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Runs a shell command; its standard output, and false when it failed.
bool RunShell(const std::string& command, std::string& output) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    return pclose(pipe) == 0;
}

struct AppScreenshotTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("notavera_shot_" + std::to_string(getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(AppScreenshotTest, TheEditorPaintsTheDemoScoreUnderXvfb) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const fs::path demo = dir / "demo.mus", shot = dir / "window.png";
    std::string output;
    ASSERT_TRUE(RunShell(notavera::test::CliProgram().string() + " import-gmn " + Quoted(notavera::test::SourceDir() / "demo/demo.gmn") +
                        " " + Quoted(demo) + " 2>&1",
                    output))
        << output;
    output.clear();
    const std::string editor = "env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' " +
                               notavera::test::EditorProgram().string() + " --timing --screenshot " + Quoted(shot) + " " +
                               Quoted(demo) + " 2>&1";
    ASSERT_TRUE(RunShell(editor, output)) << output;
    EXPECT_NE(output.find("Première page affichée en "), std::string::npos) << output;
    std::printf("%s", output.c_str());

    const QImage image(QString::fromStdString(shot.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 600);
    long white = 0, dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            white += grey > 250;
            dark += grey < 64;
        }
    }
    const long pixels = static_cast<long>(image.width()) * image.height();
    EXPECT_GT(white, pixels / 4) << "the sheet is not shown";
    EXPECT_GT(dark, 2000) << "no staves or notes on the sheet";
    // The editor takes its working file away when it leaves.
    EXPECT_FALSE(fs::exists(dir / "demo.sum"));
}

// The editor started without a document, its Régleur set up by --dialog-field options and saved as a picture.
bool ShootRegleur(const fs::path& shot, const std::string& fields, std::string& output) {
    const std::string editor = "cd " + Quoted(shot.parent_path()) +
                               " && env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' " +
                               notavera::test::EditorProgram().string() + " --screenshot-dialog " + Quoted(shot) + " " + fields +
                               " 2>&1";
    return RunShell(editor, output);
}

TEST_F(AppScreenshotTest, ANewDocumentStartsInTheRegleurWhosePictureShowsTheGroupedStaves) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const fs::path plain = dir / "regleur.png", grouped = dir / "groupe.png";
    std::string output;
    // The run starts in the temporary folder: the new document's work files stay out of the source tree.
    ASSERT_TRUE(ShootRegleur(plain, "", output)) << output;
    ASSERT_TRUE(ShootRegleur(grouped, "--dialog-field 113=1 --dialog-field '110=2 4' --dialog-field 116=1 "
                                      "--dialog-field '110=2 4'",
                             output))
        << output;
    const QImage before(QString::fromStdString(plain.string()));
    const QImage after(QString::fromStdString(grouped.string()));
    ASSERT_FALSE(before.isNull());
    ASSERT_EQ(before.size(), after.size());
    long grey = 0, changed = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            grey += before.pixelColor(x, y) == QColor(200, 200, 200);
            changed += before.pixel(x, y) != after.pixel(x, y);
        }
    }
    EXPECT_GT(grey, 20000) << "no miniature page";
    // The two grouping lines and the status line; a few hundred pixels, not a different dialog.
    EXPECT_GT(changed, 100);
    EXPECT_LT(changed, before.width() * before.height() / 10);
}

TEST_F(AppScreenshotTest, ARefusedRegleurFieldFailsTheRun) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    std::string output;
    EXPECT_FALSE(ShootRegleur(dir / "x.png", "--dialog-field 'Nulle part=3'", output));
    EXPECT_NE(output.find("Champ refusé par le Régleur : Nulle part=3"), std::string::npos) << output;
}

}  // namespace
