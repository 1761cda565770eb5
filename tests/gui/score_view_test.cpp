// The page view offscreen: the page drawn at the physical scale of the screen, a zoom that doubles what is drawn
// and keeps the page's top-left corner in view, the scroll bars moving the page, the insertion cursor, the title
// bar, keys handed on as the dispatch numbers them, and clicks that reach the core as page points.
#include "platform/qt/score_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <vector>

#include "platform/qt/qt_ui_services.h"
#include "score/new_document.h"
#include "shell/cursor_frame.h"
#include "shell/file_commands.h"
#include "shell/title_bar.h"

namespace notavera {
namespace {

bool Dark(QRgb pixel) { return qGray(pixel) < 128; }

struct ScoreViewTest : ::testing::Test {
    QtUiServices ui;
    EditorContext ctx{ui};
    ScoreView view{ctx};

    void SetUp() override {
        SetUpNewDocument(ctx.doc, 1);
        ShowDocument(ctx);  // ready, with the cursor at the staff's first x
        ui.setWindow(&view);
        view.resize(900, 700);
        view.showPageFromTop();
    }
    const QImage& paint() {
        view.grab();
        return view.lastFrame();
    }
    double pixelsPerUnit() { return view.deviceDpi() / 254.0; }
    // The frame's column showing page x (page units), at the view's zoom and resolution.
    int ColumnOf(int pageX) {
        return static_cast<int>((ToDevice(pageX, ctx.shell.view.zoom) - view.windowOrigin().x) * pixelsPerUnit());
    }
    // The distance in device pixels between the first two staff lines met from the top in the middle of the line.
    int FirstStaffSpacePixels() {
        const QImage& frame = paint();
        std::vector<int> starts;
        for (int row = 1; row < frame.height(); ++row)
            if (Dark(frame.pixel(ColumnOf(400), row)) && !Dark(frame.pixel(ColumnOf(400), row - 1))) starts.push_back(row);
        EXPECT_GE(starts.size(), 2u);
        return starts.size() >= 2 ? starts[1] - starts[0] : 0;
    }
};

TEST_F(ScoreViewTest, DrawsTheSheetAtThePhysicalScaleOfTheScreenAndWritesTheTitleBar) {
    EXPECT_NEAR(FirstStaffSpacePixels(), 20 * pixelsPerUnit(), 1.0);  // a 2 mm staff space
    const QImage& frame = view.lastFrame();  // the sheet is white; the desk around it is not
    EXPECT_EQ(frame.pixel(ColumnOf(400), frame.height() - 2), qRgb(255, 255, 255));
    EXPECT_NE(frame.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(view.windowTitle().toStdString(), TitleBarText(TitleBarInfoOf(ctx)));
}

TEST_F(ScoreViewTest, NothingIsDrawnBeforeTheDocumentIsReady) {
    ctx.shell.documentReady = false;
    const QImage& frame = paint();
    EXPECT_NE(frame.pixel(ColumnOf(1000), frame.height() / 2), qRgb(255, 255, 255));
    EXPECT_TRUE(view.windowTitle().isEmpty());
}

TEST_F(ScoreViewTest, ZoomTwoToOneDoublesWhatIsDrawnKeepsTheCornerAndWidensTheScrollRange) {
    const int normal = FirstStaffSpacePixels();
    const int vertical = view.verticalScrollBar()->maximum();
    view.horizontalScrollBar()->setValue(4);  // away from the sheet's corner, where the zoomed view can keep it
    view.verticalScrollBar()->setValue(6);
    paint();
    const PageRegion before = view.visibleRegion();
    ctx.shell.view.zoom = {2, 1};
    view.refresh();
    EXPECT_NEAR(FirstStaffSpacePixels(), 2 * normal, 2);
    const PageRegion after = view.visibleRegion();
    // The same page point stays at the top-left corner (within a scroll step), and half as much page shows.
    EXPECT_NEAR(after.x0, before.x0, 30);
    EXPECT_NEAR(after.y1, before.y1, 30);
    EXPECT_NEAR(after.x1 - after.x0, (before.x1 - before.x0) / 2, 2);
    EXPECT_GT(view.verticalScrollBar()->maximum(), vertical);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    paint();
    EXPECT_LE(view.visibleRegion().y0, 0);  // the foot of the sheet can be reached
}

TEST_F(ScoreViewTest, ScrollBarsMoveThePageByFortyPixelSteps) {
    paint();
    const PageRegion top = view.visibleRegion();
    ASSERT_GT(view.verticalScrollBar()->maximum(), 3);
    view.verticalScrollBar()->setValue(3);
    paint();
    const PageRegion lower = view.visibleRegion();
    EXPECT_NEAR(top.y1 - lower.y1, 3 * 40 * view.devicePixelRatioF() / pixelsPerUnit(), 3);
    EXPECT_EQ(lower.x0, top.x0);
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    paint();
    EXPECT_GT(view.visibleRegion().x0, top.x0);
}

TEST_F(ScoreViewTest, InsertionCursorInvertsTheStaffAtTheCursor) {
    const QImage& frame = paint();
    // The cursor stands at the staff's first x, one step wide: over its octave the white sheet turns black and
    // the staff lines white, so its column is mostly dark where the column beside it is mostly white.
    auto darkRows = [&](int column) {
        int dark = 0;
        for (int row = 0; row < frame.height(); ++row) dark += Dark(frame.pixel(column, row));
        return dark;
    };
    EXPECT_GE(darkRows(ColumnOf(ctx.doc.defaultFirstX + 5)) - darkRows(ColumnOf(ctx.doc.defaultFirstX + 40)),
              static_cast<int>(70 * pixelsPerUnit()) / 2);
}

TEST_F(ScoreViewTest, KeysReachTheDispatchWithTheirNumbersAndCharacters) {
    std::vector<int> keys;
    std::u32string characters;
    view.keyPressed = [&](Key key, KeyModifiers mods) { keys.push_back(static_cast<int>(key) + (mods.ctrl ? 1000 : 0)); };
    view.characterTyped = [&](char32_t c) { characters.push_back(c); };
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, QString> presses[] = {{Qt::Key_F2, Qt::NoModifier, ""},
        {Qt::Key_Left, Qt::ControlModifier, ""}, {Qt::Key_D, Qt::NoModifier, "d"}, {Qt::Key_Space, Qt::NoModifier, " "},
        {Qt::Key_Z, Qt::ControlModifier, ""}};
    for (const auto& [key, modifiers, text] : presses) {
        QKeyEvent e(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(&view, &e);
    }
    EXPECT_EQ(keys, (std::vector<int>{113, 1037, 32}));
    EXPECT_EQ(characters, (std::u32string{U'd', U' ', char32_t{26}}));
}

TEST_F(ScoreViewTest, AClickOnTheFirstStaffMovesTheCursorThere) {
    paint();
    const CursorFrame f = *CursorFrameOf(ctx.doc);
    const int pageY = static_cast<int>(f.staffY[0]) - f.staffHeight * 3 / 2;
    const QPointF at((ToDevice(700, ctx.shell.view.zoom) - view.windowOrigin().x) * pixelsPerUnit(),
                     view.viewport()->height() - (ToDevice(pageY, ctx.shell.view.zoom) - view.windowOrigin().y) * pixelsPerUnit());
    const Point back = view.pagePointAt(at);
    EXPECT_NEAR(back.x, 700, 1);
    EXPECT_NEAR(back.y, pageY, 1);
    int handled = 0;
    view.mouseHandled = [&] { ++handled; };
    const QPointF global = view.viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &press);
    QCoreApplication::sendEvent(view.viewport(), &release);
    EXPECT_NEAR(ctx.shell.cursor.x, 700, 1);
    EXPECT_EQ(handled, 2);
}

}  // namespace
}  // namespace notavera
