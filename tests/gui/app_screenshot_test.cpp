// The real editor under a virtual X server: started on the demo score it paints the page, reports how long the
// first page took, saves a picture of its window and leaves.
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

// The editor under Xvfb, started in the temporary folder so no work file lands in the source tree.
bool RunEditor(const fs::path& dir, const std::string& arguments, std::string& output) {
    return RunShell("cd " + Quoted(dir) + " && env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a -s '-screen 0 "
                    "1280x1024x24' " + notavera::test::EditorProgram().string() + " " + arguments + " 2>&1", output);
}

struct AppScreenshotTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("notavera_shot_" + std::to_string(getpid()));
    void SetUp() override {
        if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(AppScreenshotTest, TheEditorPaintsTheDemoScoreUnderXvfb) {
    const fs::path demo = dir / "demo.mus", shot = dir / "window.png";
    std::string output;
    ASSERT_TRUE(RunShell(notavera::test::CliProgram().string() + " import-gmn " +
                             Quoted(notavera::test::SourceDir() / "demo/demo.gmn") + " " + Quoted(demo) + " 2>&1",
                         output))
        << output;
    output.clear();
    ASSERT_TRUE(RunEditor(dir, "--timing --screenshot " + Quoted(shot) + " " + Quoted(demo), output)) << output;
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
    EXPECT_GT(white, static_cast<long>(image.width()) * image.height() / 4) << "the sheet is not shown";
    EXPECT_GT(dark, 2000) << "no staves or notes on the sheet";
    EXPECT_FALSE(fs::exists(dir / "demo.sum"));  // the editor takes its working file away when it leaves
}

}  // namespace
