// The Qt text window over the text editor of the shell.
#include "platform/qt/text_window.h"

#include <QKeyEvent>

#include "platform/qt/qt_keys.h"
#include "platform/qt/score_view.h"
#include "render/drawing_context.h"
#include "shell/marker_drawing.h"
#include "shell/text_window.h"
#include "shell/text_window_menu.h"

namespace notavera {

namespace {

// The text being typed in the selection colour, its insertion point, or where the next text will start.
void DrawEditing(DrawingContext& dc, const EditorContext& ctx) {
    const Pen caretPen{HighlightColour, 1};
    if (const std::optional<TextInEditing> t = TextBeingEdited(ctx)) {
        TextFont font = t->font;
        font.height = dc.toDevice(font.height);
        const Point origin{dc.toDevice(t->origin.x), dc.toDevice(t->origin.y)};
        if (!t->utf8.empty()) dc.canvas->drawText(origin, t->utf8, font, HighlightColour);
        const int caret = dc.toDevice(t->caretX);
        dc.canvas->drawLine({caret, origin.y}, {caret, origin.y + font.height}, caretPen);
        return;
    }
    if (const std::optional<Point> at = TextCursor(ctx)) {
        const int x = dc.toDevice(at->x), y = dc.toDevice(at->y), h = dc.toDevice(30);
        dc.canvas->drawLine({x, y}, {x, y + h}, caretPen);
        dc.canvas->drawLine({x - h / 4, y}, {x + h / 4, y}, caretPen);
    }
}

}  // namespace

TextWindow::TextWindow(EditorContext& ctx, std::function<void()> changed, QWidget* parent)
    : PageWindow(ctx, "Texte",
                 Layer{TextMenus(), TextCategoryMenu(), TextMenuItem, DispatchTextCommand, TextWindowOpen, CloseTextWindow},
                 std::move(changed), parent) {
    view_->mouseRoute = ScoreView::MouseRoute{
        [this](Point p) { TextMouseLeftDown(ctx_, p); }, [this](Point p) { TextMouseMove(ctx_, p); },
        [this](Point p) { TextMouseLeftUp(ctx_, p); }, [this] { TextMouseRightDown(ctx_); }};
    view_->overlay = [this](DrawingContext& dc) { DrawEditing(dc, ctx_); };
    view_->titleRefresh = [this] { UpdateTextWindowTitle(ctx_); };
    view_->keyPressed = [this](Key key, KeyModifiers modifiers) { DispatchTextKey(ctx_, key, modifiers); };
    view_->characterTyped = [this](char32_t c) { DispatchTextChar(ctx_, c); };
    view_->mouseHandled = [this] { after(); };
    view_->installEventFilter(this);
}

bool TextWindow::eventFilter(QObject* watched, QEvent* event) {
    // Shift+Tab types no character: it reaches the editor as the key.
    if (watched == view_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backtab) {
        DispatchTextKey(ctx_, Key::Tab, KeyModifiers{false, true});
        after();
        return true;
    }
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        // The view hands the key on; the window shows the result once it is through.
        const bool handled = QMainWindow::eventFilter(watched, event);
        QMetaObject::invokeMethod(this, [this] { after(); }, Qt::QueuedConnection);
        return handled;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TextWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) DeactivateTextWindow(ctx_);
    QMainWindow::changeEvent(event);
}

}  // namespace notavera
