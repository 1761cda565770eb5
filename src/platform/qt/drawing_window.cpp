// The Qt drawing window over the drawing layer of the shell.
#include "platform/qt/drawing_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>

#include "platform/qt/qt_keys.h"
#include "platform/qt/score_view.h"
#include "render/draw_drawings.h"
#include "render/drawing_context.h"
#include "shell/drawing_window.h"
#include "shell/drawing_window_menu.h"
#include "shell/marker_drawing.h"

namespace notavera {

namespace {

Point Device(const DrawingContext& dc, PagePoint p) {
    return {dc.toDevice(static_cast<int>(std::lround(p.x))), dc.toDevice(static_cast<int>(std::lround(p.y)))};
}

// The cross of the cursor, the recording so far, the shape in progress, the selection and the marked region.
void DrawFeedback(DrawingContext& dc, const EditorContext& ctx) {
    const std::optional<DrawingFeedback> f = DrawingWindowFeedback(ctx);
    if (!f || dc.canvas == nullptr) return;
    const Pen pen{HighlightColour, 0};
    if (f->recording) ReplayRecording(dc, *f->recording, f->origin.x, f->origin.y, HighlightColour);
    std::vector<Point> open;
    for (const PagePoint& p : f->openShape) open.push_back(Device(dc, p));
    if (open.size() >= 2) dc.canvas->drawPolyline(open, Pen{HighlightColour, 0, PenStyle::Dot});
    const Point c = Device(dc, f->cursor);
    const int arm = dc.toDevice(25);
    dc.canvas->drawLine({c.x - arm, c.y}, {c.x + arm, c.y}, pen);
    dc.canvas->drawLine({c.x, c.y - arm}, {c.x, c.y + arm}, pen);
    const auto frame = [&](Box b, PenStyle style) {
        const Box d{dc.toDevice(b.left), dc.toDevice(b.bottom), dc.toDevice(b.right), dc.toDevice(b.top)};
        dc.canvas->drawRect(d, ShapeStyle{Pen{HighlightColour, 0, style}, std::nullopt});
    };
    if (f->selection) frame(*f->selection, PenStyle::Solid);
    if (f->region) frame(*f->region, PenStyle::Dash);
}

// The keypad's digits and plus reach the drawing layer as keys; Qt tells them apart by a modifier.
std::optional<Key> DrawingKeyOf(const QKeyEvent& event) {
    if (event.modifiers().testFlag(Qt::KeypadModifier)) {
        if (event.key() >= Qt::Key_1 && event.key() <= Qt::Key_9)
            return static_cast<Key>(static_cast<int>(Key::Numpad1) + (event.key() - Qt::Key_1));
        if (event.key() == Qt::Key_Plus) return Key::NumpadAdd;
    }
    return KeyFromQt(event.key());
}

}  // namespace

DrawingWindow::DrawingWindow(EditorContext& ctx, std::function<void()> changed, QWidget* parent)
    : PageWindow(ctx, "Dessin",
                 Layer{DrawingMenus(), DrawingCategoryMenu(), DrawingMenuItem, DispatchDrawingCommand,
                       DrawingWindowOpen, CloseDrawingWindow},
                 std::move(changed), parent) {
    view_->overlay = [this](DrawingContext& dc) { DrawFeedback(dc, ctx_); };
    view_->titleRefresh = [this] { UpdateDrawingWindowTitle(ctx_); };
    view_->viewport()->installEventFilter(this);
    view_->installEventFilter(this);
}

// The window takes the keys and the mouse before the view: it needs the releases, the double clicks and the
// modifiers of the clicks.
bool DrawingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!ctx_.shell.documentReady) return QMainWindow::eventFilter(watched, event);
    const auto mouse = [&] { return static_cast<QMouseEvent*>(event); };
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<Key> k = DrawingKeyOf(*key);
        if (k) DispatchDrawingKey(ctx_, *k, ModifiersFromQt(key->modifiers()));
        if (!key->modifiers().testFlag(Qt::KeypadModifier))
            for (const char32_t c : CharactersOf(*key)) DispatchDrawingChar(ctx_, c);
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Held keys repeat as releases and presses: only the last release lets the key go.
        if (key->isAutoRepeat()) return true;
        if (const std::optional<Key> k = DrawingKeyOf(*key)) DispatchDrawingKeyUp(ctx_, *k);
        return true;
    }
    case QEvent::MouseButtonPress:
        if (mouse()->button() == Qt::LeftButton)
            DrawingMouseLeftDown(ctx_, view_->pagePointAt(mouse()->position()), ModifiersFromQt(mouse()->modifiers()));
        else if (mouse()->button() == Qt::RightButton)
            DrawingMouseRightDown(ctx_, ModifiersFromQt(mouse()->modifiers()));
        break;
    case QEvent::MouseButtonDblClick:
        if (mouse()->button() == Qt::LeftButton) DrawingMouseDoubleClick(ctx_, view_->pagePointAt(mouse()->position()));
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: return true;
    default: return QMainWindow::eventFilter(watched, event);
    }
    view_->refresh();
    after();
    return true;
}

}  // namespace notavera
