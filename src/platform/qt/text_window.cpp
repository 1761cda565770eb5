// The Qt text window over the text editor of the shell.
#include "platform/qt/text_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/qt_keys.h"
#include "platform/qt/score_view.h"
#include "render/drawing_context.h"
#include "shell/marker_drawing.h"
#include "shell/text_window.h"
#include "shell/text_window_menu.h"

namespace notavera {

namespace {

// Menu labels keep their '&' as Qt's access-key mark.
QString LabelOf(std::string_view label) { return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())); }

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
    : QMainWindow(parent, Qt::Window), ctx_(ctx), changed_(std::move(changed)) {
    setObjectName("Texte");
    view_ = new ScoreView(ctx_, this);
    setCentralWidget(view_);
    view_->mouseRoute = ScoreView::MouseRoute{
        [this](Point p) { TextMouseLeftDown(ctx_, p); }, [this](Point p) { TextMouseMove(ctx_, p); },
        [this](Point p) { TextMouseLeftUp(ctx_, p); }, [this] { TextMouseRightDown(ctx_); }};
    view_->overlay = [this](DrawingContext& dc) { DrawEditing(dc, ctx_); };
    view_->titleRefresh = [this] { UpdateTextWindowTitle(ctx_); };
    view_->keyPressed = [this](Key key, KeyModifiers modifiers) { DispatchTextKey(ctx_, key, modifiers); };
    view_->characterTyped = [this](char32_t c) { DispatchTextChar(ctx_, c); };
    view_->mouseHandled = [this] { after(); };
    view_->installEventFilter(this);
    buildMenus();
}

void TextWindow::buildMenus() {
    for (const Menu& m : TextMenus()) menuBar()->addMenu(buildMenu(m, this));
    categoryPopup_ = buildMenu(TextCategoryMenu(), this);
}

QMenu* TextWindow::buildMenu(const Menu& menu, QWidget* parent) {
    auto* qmenu = new QMenu(LabelOf(menu.title), parent);
    connect(qmenu, &QMenu::aboutToShow, this, [this] { prepareMenus(); });
    for (const MenuEntry& e : menu.entries) {
        if (e.kind == MenuEntryKind::Separator) {
            qmenu->addSeparator();
        } else if (e.kind == MenuEntryKind::Submenu) {
            qmenu->addMenu(buildMenu(Menu{e.label, e.submenu}, qmenu));
        } else {
            QAction* action = qmenu->addAction(LabelOf(e.label));
            action->setCheckable(true);
            const int command = e.command;
            connect(action, &QAction::triggered, this, [this, command] { run(command); });
            actions_[command].push_back(action);
        }
    }
    return qmenu;
}

void TextWindow::prepareMenus() {
    for (auto& [command, actions] : actions_) {
        const TextMenuItemState state = TextMenuItem(ctx_, command);
        for (QAction* a : actions) {
            a->setEnabled(state.enabled);
            a->setChecked(state.checked);
        }
    }
}

void TextWindow::run(int command) {
    DispatchTextCommand(ctx_, command);
    after();
}

void TextWindow::after() {
    if (changed_) changed_();
}

void TextWindow::refresh() {
    prepareMenus();
    view_->refresh();
}

std::optional<int> TextWindow::popupCategories() {
    prepareMenus();
    QAction* chosen = categoryPopup_->exec(QCursor::pos());
    if (chosen == nullptr) return std::nullopt;
    for (const auto& [command, actions] : actions_)
        for (QAction* a : actions)
            if (a == chosen) return command;
    return std::nullopt;
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

void TextWindow::closeEvent(QCloseEvent* event) {
    // The close box is the window's Quitter; the main window takes the window down through the services.
    event->ignore();
    if (TextWindowOpen(ctx_)) {
        CloseTextWindow(ctx_);
        after();
    }
}

}  // namespace notavera
