// The Qt menu bar and palette offscreen: menu titles, items following menu preparation, the mask item, the
// commands sent, and palette buttons painted at a high screen density.
#include "platform/qt/menu_bar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "platform/qt/palette_bar.h"
#include "platform/qt/palette_icons.h"
#include "shell/menu_table.h"

namespace notavera {
namespace {

class MenuBarTest : public ::testing::Test {
protected:
    MenuBarTest() : ui(nullptr), ctx(ui) {}

    std::unique_ptr<MenuBar> makeBar(MenuBar::BuiltTest built = [](int) { return true; }) {
        return std::make_unique<MenuBar>(ctx, [this] { return inputs; }, std::move(built),
                                         [this](int command) { chosen.push_back(command); });
    }

    HeadlessUi ui;
    EditorContext ctx;
    MenuInputs inputs;
    std::vector<int> chosen;
};

TEST_F(MenuBarTest, MenuTitlesInOrder) {
    const auto bar = makeBar();
    QStringList titles;
    for (QAction* action : bar->actions()) {
        if (action->menu()) titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"&Fichier", "&Editer", "&Page", "&Zoom", "&Clefs", "&Armure", "&Détruire",
                                   "&Insérer", "&Outils", "&Son", "Op&tions", "Dive&rs", "&Val", "&?"}));
    ASSERT_NE(bar->commandAction(284), nullptr);
    EXPECT_EQ(bar->commandAction(284)->text(), QString::fromUtf8("Recalc&uler Distances"));
    EXPECT_EQ(bar->commandAction(482), nullptr);
}

TEST_F(MenuBarTest, ItemsFollowMenuPreparationWhenAMenuOpens) {
    const auto bar = makeBar([](int command) { return command != 53; });
    EXPECT_FALSE(bar->commandAction(53)->isEnabled());  // not built
    EXPECT_TRUE(bar->commandAction(52)->isEnabled());
    EXPECT_FALSE(bar->commandAction(13)->isEnabled());
    EXPECT_TRUE(bar->commandAction(51)->isChecked());

    inputs.copyBufferFilled = true;
    ctx.shell.view.zoomMenuItem = 52;  // the Zoom item chosen last carries the mark
    QMenu* editMenu = bar->actions().at(1)->menu();
    emit editMenu->aboutToShow();
    EXPECT_TRUE(bar->commandAction(13)->isEnabled());
    EXPECT_TRUE(bar->commandAction(52)->isChecked());
    EXPECT_FALSE(bar->commandAction(51)->isChecked());
    EXPECT_FALSE(bar->commandAction(51)->isCheckable());
}

TEST_F(MenuBarTest, StickyModifiedFlagIsKept) {
    ctx.doc.modified = true;
    const auto bar = makeBar();
    EXPECT_TRUE(ctx.shell.stickyModified);
    EXPECT_TRUE(bar->commandAction(3)->isEnabled());
}

TEST_F(MenuBarTest, MaskEditingShowsTheLeaveItemAndGreysQuit) {
    const auto bar = makeBar();
    EXPECT_FALSE(bar->leaveMaskAction()->isVisible());
    EXPECT_TRUE(bar->commandAction(6)->isEnabled());
    ctx.shell.maskEditing = true;
    bar->prepare();
    EXPECT_TRUE(bar->leaveMaskAction()->isVisible());
    EXPECT_EQ(bar->leaveMaskAction()->text(), QStringLiteral("&Quitter"));
    EXPECT_FALSE(bar->commandAction(6)->isEnabled());
    bar->leaveMaskAction()->trigger();
    EXPECT_EQ(chosen, std::vector<int>{LeaveMaskCommand});
}

TEST_F(MenuBarTest, ChoosingAnItemSendsItsCommand) {
    const auto bar = makeBar();
    bar->commandAction(249)->trigger();  // inside the spacing detail submenu
    bar->commandAction(583)->trigger();
    EXPECT_EQ(chosen, (std::vector<int>{249, 583}));
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
    EXPECT_EQ(sent, (std::vector<int>{20, 41}));
    EXPECT_EQ(bar.button(23), nullptr);
}

// Every face paints ink inside its own rectangle on a device of twice the logical density.
TEST(PaletteBar, EveryFacePaintsAtHighDensity) {
    PaletteInputs in;
    in.undoAvailable = in.cancelAvailable = true;
    in.noteFormFlags = 3;
    for (int index = 0; index < PaletteButtonCount; ++index) {
        for (unsigned code : {0u, 1u, 2u, 4u, 10u}) {
            in.currentDuration = code;
            in.referenceValue = code;
            const int width = PaletteButtonWidth(index);
            QImage image(width * 2, PaletteHeight * 2, QImage::Format_ARGB32);
            image.setDevicePixelRatio(2.0);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                PaintPaletteFace(painter, QRectF(0, 0, width, PaletteHeight), *PaletteButtonFace(index, false, in));
            }
            int dark = 0;
            for (int y = 2; y < image.height() - 2; ++y) {
                for (int x = 2; x < image.width() - 2; ++x) dark += qGray(image.pixel(x, y)) < 80 ? 1 : 0;
            }
            EXPECT_GT(dark, 4) << "button " << index << " code " << code;
        }
    }
}

}  // namespace
}  // namespace notavera
