// The main window offscreen (the one application object of the Qt tests is made here): the document named on the
// command line, quoted or not, opens with its title bar, a missing one leaves a new first page, Quit takes the
// window down; its menu bar follows menu preparation and sends commands; its palette is placed, painted, clicked.
#include "platform/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "platform/headless/headless_ui.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/palette_bar.h"
#include "platform/qt/palette_icons.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/score_view.h"
#include "shell/dispatch.h"
#include "shell/menu_table.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

// Where the tests' settings go, so that the windows they open never write the user's.
fs::path TestSettingsDir() { return fs::temp_directory_path() / ("notavera_gui_settings_" + std::to_string(getpid())); }

void UseSettingsIn(const fs::path& dir) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.string()));
}

// Fonts, painting and widgets need the application object: made once before the first test, shown on no screen.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        UseSettingsIn(TestSettingsDir());
    }
    void TearDown() override {
        app_.reset();
        fs::remove_all(TestSettingsDir());
    }

private:
    int argc_ = 1;
    char name_[20] = "notavera_gui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

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
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    MainWindow window("");
    EXPECT_TRUE(asked);
    EXPECT_EQ(window.windowTitle().toStdString(), "Notavera v.6.5d - (sans nom) (p.1/1) - {0,1} 1 - Voix 1  [1:1]");
    EXPECT_EQ(window.context().doc.pageCount, 1);
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
    const int before = window.context().shell.input.noteFormFlags;
    palette.button(*PaletteIndex(cmd::ButtonNoteFormA))->click();
    EXPECT_NE(window.context().shell.input.noteFormFlags, before);
}

// The text and drawing windows open over the page with their menus, and their close box is their Quitter.
TEST_F(MainWindowTest, TheSecondWindowsOpenWithTheirMenusAndTheCloseBoxQuitsThem) {
    MainWindow window(demo.string());
    window.show();
    for (const auto& [command, name] : {std::pair{cmd::TextWindow, "Texte"}, std::pair{cmd::DrawingWindow, "Dessin"}}) {
        DispatchCommand(window.context(), command);
        QCoreApplication::processEvents();
        auto* second = window.findChild<QMainWindow*>(name);
        ASSERT_NE(second, nullptr) << name;
        EXPECT_TRUE(second->isVisible()) << name;
        EXPECT_GE(second->menuBar()->actions().size(), 2) << name;
        second->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window.findChild<QMainWindow*>(name), nullptr) << name;
    }
}

TEST_F(MainWindowTest, ClosingAnUnmodifiedDocumentQuits) {
    auto window = std::make_unique<MainWindow>(demo.string());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    EXPECT_FALSE(window->close());  // the close waits for Quit
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

class MenuBarTest : public ::testing::Test {
protected:
    std::unique_ptr<MenuBar> makeBar(MenuBar::BuiltTest built = [](int) { return true; }) {
        return std::make_unique<MenuBar>(ctx, [this] { return inputs; }, std::move(built),
                                         [this](int command) { chosen.push_back(command); });
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    MenuInputs inputs;
    std::vector<int> chosen;
};

TEST_F(MenuBarTest, ItemsFollowMenuPreparationWhenAMenuOpens) {
    ctx.doc.modified = true;
    const auto bar = makeBar([](int command) { return command != cmd::ZoomSmall; });
    EXPECT_EQ(bar->commandAction(cmd::RecalculateDistances)->text(), QString::fromUtf8("Recalc&uler Distances"));
    EXPECT_EQ(bar->commandAction(cmd::LeaveMask), nullptr);
    EXPECT_FALSE(bar->commandAction(cmd::ZoomSmall)->isEnabled());  // not built
    EXPECT_TRUE(bar->commandAction(cmd::ZoomLarge)->isEnabled());
    EXPECT_FALSE(bar->commandAction(cmd::Paste)->isEnabled());
    EXPECT_TRUE(bar->commandAction(cmd::ZoomNormal)->isChecked());
    EXPECT_TRUE(ctx.shell.stickyModified);
    EXPECT_TRUE(bar->commandAction(cmd::Save)->isEnabled());
    ctx.shell.copy.copy.page = 1;
    ctx.shell.view.zoomMenuItem = cmd::ZoomLarge;  // the Zoom item chosen last carries the mark
    emit bar->actions().at(1)->menu()->aboutToShow();
    EXPECT_TRUE(bar->commandAction(cmd::Paste)->isEnabled());
    EXPECT_TRUE(bar->commandAction(cmd::ZoomLarge)->isChecked());
    EXPECT_FALSE(bar->commandAction(cmd::ZoomNormal)->isChecked());
    EXPECT_FALSE(bar->commandAction(cmd::ZoomNormal)->isCheckable());
}

TEST_F(MenuBarTest, ItemsSendTheirCommandsAndMaskEditingShowsItsOwnQuit) {
    const auto bar = makeBar();
    EXPECT_FALSE(bar->leaveMaskAction()->isVisible());
    bar->commandAction(cmd::SpaceBlockAligned)->trigger();  // inside the spacing detail submenu
    bar->commandAction(cmd::Duration256th)->trigger();
    ctx.shell.maskEditing = true;
    bar->prepare();
    EXPECT_TRUE(bar->leaveMaskAction()->isVisible());
    EXPECT_EQ(bar->leaveMaskAction()->text(), QStringLiteral("&Quitter"));
    EXPECT_FALSE(bar->commandAction(cmd::Quit)->isEnabled());
    bar->leaveMaskAction()->trigger();
    EXPECT_EQ(chosen, (std::vector<int>{cmd::SpaceBlockAligned, cmd::Duration256th, cmd::LeaveMask}));
}

TEST_F(MenuBarTest, RecentFilesShowTheirPathsAfterTheirKeysAndTheSubmenuIsGreyWithoutAny) {
    const auto bar = makeBar();
    QMenu* recent = nullptr;
    for (QAction* item : bar->actions().at(0)->menu()->actions())
        if (item->text() == QString::fromUtf8("Fic&hiers récents")) recent = item->menu();
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->menuAction()->isEnabled());
    ctx.shell.settings.recentFiles = {"/tmp/b&c.mus", "/tmp/a.mus"};
    emit recent->aboutToShow();
    EXPECT_TRUE(recent->menuAction()->isEnabled());
    EXPECT_EQ(bar->commandAction(cmd::FirstRecentFile + 1)->text(), QStringLiteral("&2 /tmp/a.mus"));
    EXPECT_EQ(bar->commandAction(cmd::FirstRecentFile)->text(), QStringLiteral("&1 /tmp/b&&c.mus"));
    EXPECT_TRUE(bar->commandAction(cmd::FirstRecentFile + 1)->isVisible());
    EXPECT_FALSE(bar->commandAction(cmd::FirstRecentFile + 2)->isVisible());
    bar->commandAction(cmd::FirstRecentFile + 1)->trigger();
    EXPECT_EQ(chosen, std::vector<int>{cmd::FirstRecentFile + 1});
}

// The list lives in the user's configuration through QSettings; the files this run opened before it was read come
// first.
TEST(SettingsStore, RecentFilesComeBackAfterThoseOfThisRun) {
    const fs::path dir = fs::temp_directory_path() / ("notavera_settings_" + std::to_string(getpid()));
    UseSettingsIn(dir);
    SystemSettings saved;
    saved.recentFiles = {"/tmp/b.mus", "/tmp/a.mus"};
    SaveSystemSettings(saved);
    SystemSettings loaded;
    loaded.recentFiles = {"/tmp/a.mus"};
    LoadSystemSettings(loaded);
    EXPECT_EQ(loaded.recentFiles, (std::vector<std::string>{"/tmp/a.mus", "/tmp/b.mus"}));
    UseSettingsIn(TestSettingsDir());
    fs::remove_all(dir);
}

TEST(PaletteBar, ButtonsTakeTheirPlacesAndSendTheirCommands) {
    std::vector<int> sent;
    PaletteBar bar([] { return PaletteInputs{}; }, [&sent](int command) { sent.push_back(command); });
    bar.placeInClient(1000);
    EXPECT_EQ(bar.geometry(), QRect(1000 - 616, 0, 616, 28));
    const auto rects = PaletteLayout(1000);
    for (int index = 0; index < PaletteButtonCount; ++index) {
        const PaletteRect& r = rects[static_cast<std::size_t>(index)];
        EXPECT_EQ(bar.button(index)->geometry(), QRect(r.x - (1000 - 616), 0, r.width, r.height)) << index;
    }
    bar.button(0)->click();
    bar.button(21)->click();
    EXPECT_EQ(sent, (std::vector<int>{cmd::ButtonUndo, cmd::ButtonValue}));
    EXPECT_EQ(bar.button(PaletteButtonCount), nullptr);
}

// Every face paints ink inside its own rectangle on a device of twice the logical density.
TEST(PaletteBar, EveryFacePaintsAtHighDensity) {
    PaletteInputs in{.noteFormFlags = 3, .undoAvailable = true, .cancelAvailable = true};
    for (int index = 0; index < PaletteButtonCount; ++index) {
        for (unsigned code : {0u, 1u, 2u, 4u, 10u}) {
            in.currentDuration = in.referenceValue = code;
            const int width = PaletteButtonWidth(index);
            QImage image(width * 2, PaletteHeight * 2, QImage::Format_ARGB32);
            image.setDevicePixelRatio(2.0);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                PaintPaletteFace(painter, QRectF(0, 0, width, PaletteHeight), *PaletteButtonFace(index, false, in));
            }
            int dark = 0;
            for (int y = 2; y < image.height() - 2; ++y)
                for (int x = 2; x < image.width() - 2; ++x) dark += qGray(image.pixel(x, y)) < 80 ? 1 : 0;
            EXPECT_GT(dark, 4) << "button " << index << " code " << code;
        }
    }
}

}  // namespace
}  // namespace notavera
