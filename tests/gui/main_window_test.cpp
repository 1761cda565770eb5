// The main window offscreen: the document named on the command line (quoted or not) opens with its exact title
// bar, a missing one leaves a new first page, the zoom commands change what is drawn, the scroll bars move the
// view, and Quit takes the window down only once the user agreed.
#include "platform/qt/main_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/qt/score_view.h"
#include "shell/dispatch.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

constexpr const char* DemoTitle = "Notavera v.6.5d - demo.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]";

struct MainWindowTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("notavera_window_" + std::to_string(getpid()));
    fs::path demo = dir / "demo.mus";

    void SetUp() override {
        fs::create_directories(dir);
        const std::string import = std::string(NOTAVERA_CLI) + " import-gmn '" + NOTAVERA_SOURCE_DIR +
                                   "/demo/demo.gmn' '" + demo.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(import.c_str()), 0);
    }
    void TearDown() override { fs::remove_all(dir); }

    // The width in device pixels of the dark ink in the frame's rows, a measure of how large the page is drawn.
    static int InkWidth(ScoreView& view) {
        view.grab();
        const QImage& frame = view.lastFrame();
        int left = frame.width(), right = -1;
        for (int y = 0; y < frame.height(); y += 2) {
            for (int x = 0; x < frame.width(); ++x) {
                if (qGray(frame.pixel(x, y)) >= 64) continue;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        return right - left;
    }
};

TEST_F(MainWindowTest, OpensTheDocumentAndShowsItsTitleBarExactly) {
    MainWindow window(demo.string());
    window.view().grab();
    EXPECT_EQ(window.windowTitle().toStdString(), DemoTitle);
    EXPECT_TRUE(window.context().shell.documentReady);
    EXPECT_EQ(window.context().doc.storage.path, demo);
}

TEST_F(MainWindowTest, AQuotedCommandLineOpensTheSameDocument) {
    MainWindow window("\"" + demo.string() + "\"");
    EXPECT_EQ(window.windowTitle().toStdString(), DemoTitle);
    EXPECT_EQ(window.context().doc.storage.path, demo);
}

TEST_F(MainWindowTest, WithoutADocumentStartsAnUntitledFirstPage) {
    MainWindow window("");
    EXPECT_EQ(window.windowTitle().toStdString(),
              "Notavera v.6.5d - (sans nom) (p.1/1) - {0,1} 1 - Voix 1  [1:1]");
    EXPECT_EQ(window.context().doc.pageCount, 1);
}

TEST_F(MainWindowTest, ZoomCommandsChangeTheDrawnSize) {
    MainWindow window(demo.string());
    window.resize(1000, 800);
    ScoreView& view = window.view();
    const int normal = InkWidth(view);
    DispatchCommand(window.context(), 52);  // "&GROS 2/1"
    EXPECT_EQ(window.context().shell.zoom, (ZoomFraction{2, 1}));
    const int large = InkWidth(view);
    DispatchCommand(window.context(), 53);  // "&PETIT 1/2"
    const int small = InkWidth(view);
    DispatchCommand(window.context(), 51);  // "&NORMAL"
    EXPECT_EQ(InkWidth(view), normal);
    EXPECT_GT(large, normal);
    EXPECT_LT(small, normal);
    EXPECT_NEAR(small, normal / 2, normal / 10);
}

TEST_F(MainWindowTest, ScrollingMovesTheVisibleRegionDownThePage) {
    MainWindow window(demo.string());
    window.resize(1000, 600);
    ScoreView& view = window.view();
    view.grab();
    const PageRegion top = view.visibleRegion();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.grab();
    EXPECT_LT(view.visibleRegion().y1, top.y1);
    EXPECT_LE(view.visibleRegion().y0, 0);
}

TEST_F(MainWindowTest, ClosingAnUnmodifiedDocumentQuits) {
    auto* window = new MainWindow(demo.string());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    EXPECT_FALSE(window->close());  // the close waits for Quit
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    delete window;
}

}  // namespace
}  // namespace notavera
