// The Qt menu bar and palette offscreen: items following menu preparation when a menu opens, the mask item, the
// commands sent, palette buttons placed as the palette layout says, and every face painted at a high density.
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
    const auto bar = makeBar([](int command) { return command != 53; });
    EXPECT_EQ(bar->commandAction(284)->text(), QString::fromUtf8("Recalc&uler Distances"));
    EXPECT_EQ(bar->commandAction(482), nullptr);
    EXPECT_FALSE(bar->commandAction(53)->isEnabled());  // not built
    EXPECT_TRUE(bar->commandAction(52)->isEnabled());
    EXPECT_FALSE(bar->commandAction(13)->isEnabled());
    EXPECT_TRUE(bar->commandAction(51)->isChecked());
    EXPECT_TRUE(ctx.shell.stickyModified);
    EXPECT_TRUE(bar->commandAction(3)->isEnabled());
    inputs.copyBufferFilled = true;
    ctx.shell.zoomMenuItem = 52;  // the Zoom item chosen last carries the mark
    emit bar->actions().at(1)->menu()->aboutToShow();
    EXPECT_TRUE(bar->commandAction(13)->isEnabled());
    EXPECT_TRUE(bar->commandAction(52)->isChecked());
    EXPECT_FALSE(bar->commandAction(51)->isChecked());
    EXPECT_FALSE(bar->commandAction(51)->isCheckable());
}

TEST_F(MenuBarTest, ItemsSendTheirCommandsAndMaskEditingShowsItsOwnQuit) {
    const auto bar = makeBar();
    EXPECT_FALSE(bar->leaveMaskAction()->isVisible());
    bar->commandAction(249)->trigger();  // inside the spacing detail submenu
    bar->commandAction(583)->trigger();
    ctx.shell.maskEditing = true;
    bar->prepare();
    EXPECT_TRUE(bar->leaveMaskAction()->isVisible());
    EXPECT_EQ(bar->leaveMaskAction()->text(), QStringLiteral("&Quitter"));
    EXPECT_FALSE(bar->commandAction(6)->isEnabled());
    bar->leaveMaskAction()->trigger();
    EXPECT_EQ(chosen, (std::vector<int>{249, 583, LeaveMaskCommand}));
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
