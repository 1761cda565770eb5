// The main window offscreen: the document named on the command line (quoted or not) opens with its exact title
// bar, a missing one leaves a new first page, the zoom commands change what is drawn, the scroll bars move the
// view, Quit takes the window down only once the user agreed, and the menus and the palette reach the dispatch.
#include "platform/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/qt/menu_bar.h"
#include "platform/qt/palette_bar.h"
#include "platform/qt/score_view.h"
#include "print/mask_editing.h"
#include "shell/dispatch.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

constexpr const char* DemoTitle = "Notavera v.6.5d - demo.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]";

struct MainWindowTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("notavera_window_" + std::to_string(getpid()));
    fs::path demo = dir / "demo.mus";

    void SetUp() override {
        fs::create_directories(dir);
        const std::string import = test::CliProgram().string() + " import-gmn '" + test::SourceDir().string() +
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

// Answers "Annuler" to the modal dialog the next event loop shows, and tells whether there was one.
struct DialogCanceller {
    bool seen = false;
    DialogCanceller() {
        QTimer::singleShot(0, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                dialog->reject();
            }
        });
    }
};

TEST_F(MainWindowTest, WithoutADocumentStartsAnUntitledFirstPage) {
    DialogCanceller cancel;  // the Régleur defining page 1
    MainWindow window("");
    EXPECT_TRUE(cancel.seen);
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
    EXPECT_EQ(window.context().shell.view.zoom, (ZoomFraction{2, 1}));
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

TEST_F(MainWindowTest, CarriesTheFourteenMenusAndThePaletteAboveThePage) {
    MainWindow window(demo.string());
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();
    int menus = 0;
    for (QAction* action : window.menus().actions()) menus += action->menu() ? 1 : 0;
    EXPECT_EQ(menus, 14);
    PaletteBar& palette = window.palette();
    EXPECT_TRUE(palette.isVisible());
    const QRect last = palette.button(0)->geometry().translated(palette.mapTo(&window, QPoint()));
    // The first button is the rightmost one, against the window's right edge, and the page starts below the row.
    EXPECT_EQ(last.right(), window.width() - 1);
    EXPECT_GE(window.view().mapTo(&window, QPoint()).y(), last.bottom());
}

TEST_F(MainWindowTest, MenuItemsGreyAsThePreparationSays) {
    MainWindow window(demo.string());
    MenuBar& menus = window.menus();
    ASSERT_NE(menus.commandAction(mask_command::editFixed), nullptr);
    EXPECT_TRUE(menus.commandAction(mask_command::editFixed)->isEnabled());
    EXPECT_TRUE(menus.commandAction(6)->isEnabled());  // Quitter
    menus.commandAction(mask_command::editFixed)->trigger();
    EXPECT_TRUE(window.context().shell.maskEditing);
    // Mask editing greys Quit and puts its own "&Quitter" on the bar at once.
    EXPECT_FALSE(menus.commandAction(6)->isEnabled());
    EXPECT_TRUE(menus.leaveMaskAction()->isVisible());
    menus.leaveMaskAction()->trigger();
    EXPECT_FALSE(window.context().shell.maskEditing);
    EXPECT_FALSE(menus.leaveMaskAction()->isVisible());
}

TEST_F(MainWindowTest, APaletteClickReachesTheDispatch) {
    MainWindow window(demo.string());
    window.show();
    const int before = window.context().shell.input.noteFormFlags;
    window.palette().button(*PaletteIndex(38))->click();  // note-form flag A
    EXPECT_NE(window.context().shell.input.noteFormFlags, before);
}

}  // namespace
}  // namespace notavera
