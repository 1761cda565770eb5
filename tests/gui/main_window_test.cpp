// The main window offscreen: the document named on the command line (quoted or not) opens with its title bar, a
// missing one leaves a new first page, the zoom commands change what is drawn, the scroll bars move the view,
// Quit takes the window down, and the menus and the palette reach the dispatch.
#include "platform/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/qt/menu_bar.h"
#include "platform/qt/palette_bar.h"
#include "platform/qt/score_view.h"
#include "print/mask_editing.h"
#include "shell/dispatch.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

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
        for (int y = 0; y < frame.height(); y += 2)
            for (int x = 0; x < frame.width(); ++x)
                if (qGray(frame.pixel(x, y)) < 64) left = std::min(left, x), right = std::max(right, x);
        return right - left;
    }
};

TEST_F(MainWindowTest, OpensTheDocumentNamedQuotedOrNotWithItsTitleBar) {
    for (const std::string& given : {demo.string(), "\"" + demo.string() + "\""}) {
        MainWindow window(given);
        window.view().grab();
        EXPECT_EQ(window.windowTitle().toStdString(), "Notavera v.6.5d - demo.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]");
        EXPECT_TRUE(window.context().shell.documentReady);
        EXPECT_EQ(window.context().doc.storage.path, demo);
    }
}

TEST_F(MainWindowTest, WithoutADocumentStartsAnUntitledFirstPageThroughTheRegleur) {
    bool asked = false;  // the Régleur defining page 1, answered "Annuler"
    QTimer::singleShot(0, [&asked] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) asked = true, dialog->reject();
    });
    MainWindow window("");
    EXPECT_TRUE(asked);
    EXPECT_EQ(window.windowTitle().toStdString(), "Notavera v.6.5d - (sans nom) (p.1/1) - {0,1} 1 - Voix 1  [1:1]");
    EXPECT_EQ(window.context().doc.pageCount, 1);
}

TEST_F(MainWindowTest, ZoomCommandsChangeTheDrawnSizeAndScrollingMovesDownThePage) {
    MainWindow window(demo.string());
    window.resize(1000, 600);
    ScoreView& view = window.view();
    const int normal = InkWidth(view);
    DispatchCommand(window.context(), 52);  // "&GROS 2/1"
    EXPECT_EQ(window.context().shell.zoom, (ZoomFraction{2, 1}));
    EXPECT_GT(InkWidth(view), normal);
    DispatchCommand(window.context(), 53);  // "&PETIT 1/2"
    EXPECT_NEAR(InkWidth(view), normal / 2, normal / 10);
    DispatchCommand(window.context(), 51);  // "&NORMAL"
    EXPECT_EQ(InkWidth(view), normal);
    const PageRegion top = view.visibleRegion();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.grab();
    EXPECT_LT(view.visibleRegion().y1, top.y1);
    EXPECT_LE(view.visibleRegion().y0, 0);
}

TEST_F(MainWindowTest, CarriesTheMenusAndThePaletteAboveThePageAndAPaletteClickReachesTheDispatch) {
    MainWindow window(demo.string());
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();
    int menus = 0;
    for (QAction* action : window.menus().actions()) menus += action->menu() ? 1 : 0;
    EXPECT_EQ(menus, 14);
    PaletteBar& palette = window.palette();
    EXPECT_TRUE(palette.isVisible());
    const QRect first = palette.button(0)->geometry().translated(palette.mapTo(&window, QPoint()));
    // The first button is the rightmost one, against the window's right edge, and the page starts below the row.
    EXPECT_EQ(first.right(), window.width() - 1);
    EXPECT_GE(window.view().mapTo(&window, QPoint()).y(), first.bottom());
    const int before = window.context().shell.noteFormFlags;
    palette.button(*PaletteIndex(38))->click();  // note-form flag A
    EXPECT_NE(window.context().shell.noteFormFlags, before);
}

TEST_F(MainWindowTest, ClosingAnUnmodifiedDocumentQuits) {
    auto window = std::make_unique<MainWindow>(demo.string());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    EXPECT_FALSE(window->close());  // the close waits for Quit
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, MaskEditingGreysQuitAndShowsItsOwnAtOnce) {
    MainWindow window(demo.string());
    MenuBar& menus = window.menus();
    EXPECT_TRUE(menus.commandAction(6)->isEnabled());  // Quitter
    menus.commandAction(mask_command::editFixed)->trigger();
    EXPECT_TRUE(window.context().shell.maskEditing);
    EXPECT_FALSE(menus.commandAction(6)->isEnabled());
    EXPECT_TRUE(menus.leaveMaskAction()->isVisible());
    menus.leaveMaskAction()->trigger();
    EXPECT_FALSE(window.context().shell.maskEditing);
    EXPECT_FALSE(menus.leaveMaskAction()->isVisible());
}

}  // namespace
}  // namespace notavera
