// The main window's page view: the current page drawn by the page pass at the shell's zoom, page units mapped to
// physical tenths of a millimetre on the screen, the scroll bars and their rules, the insertion cursor over the
// page, the keys and characters handed on as the system's key-down and character messages, and the mouse handed
// to the core in page units.
#include "platform/qt/score_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_keys.h"
#include "render/page_pass.h"
#include "render/page_sheet.h"
#include "render/view_mapping.h"
#include "shell/continuous_view.h"
#include "shell/marker_drawing.h"
#include "shell/mouse_input.h"
#include "shell/title_bar.h"

namespace notavera {
namespace {

constexpr double LogicalPerInch = 254.0;  // tenths of a millimetre
constexpr int ScrollStepPixels = 40;
// Screens that report no size, or a size no real screen has (projectors, some televisions), are drawn at the
// desktop's logical resolution instead.
constexpr double MinPhysicalDpi = 50.0;
constexpr double MaxPhysicalDpi = 600.0;

// The scroll position nearest to a distance in logical units.
int NearestStep(int distance, int unit) { return static_cast<int>(std::lround(static_cast<double>(distance) / unit)); }

// The area around the sheet: the desktop colour of the window's background.
const QColor DeskColour(128, 128, 128);

}  // namespace

ScoreView::ScoreView(EditorContext& ctx, QWidget* parent) : QAbstractScrollArea(parent), ctx_(ctx) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    shownZoom_ = ctx_.shell.view.zoom;
    measureScreen();
}

void ScoreView::measureScreen() {
    const QScreen* screen = this->screen();
    pixelRatio_ = devicePixelRatioF();
    double dpi = screen != nullptr ? screen->physicalDotsPerInchX() : 0.0;
    if (!(dpi >= MinPhysicalDpi && dpi <= MaxPhysicalDpi)) dpi = logicalDpiX();
    // The image the page is drawn in states its resolution in whole dots per inch; the view counts with the same.
    deviceDpi_ = std::round(dpi * pixelRatio_);
}

double ScoreView::logicalPerPixel() const { return LogicalPerInch * pixelRatio_ / deviceDpi_; }
int ScoreView::clientWidth() const { return static_cast<int>(viewport()->width() * logicalPerPixel()); }
int ScoreView::clientHeight() const { return static_cast<int>(viewport()->height() * logicalPerPixel()); }
int ScoreView::unitX() const { return std::max(1, static_cast<int>(ScrollStepPixels * logicalPerPixel())); }
int ScoreView::unitY() const { return unitX(); }

notavera::Box ScoreView::zoomedSheet() const {
    if (ctx_.doc.findPage(ctx_.doc.currentPage) == nullptr) return {};
    const notavera::Box sheet = SheetBox(ctx_.doc, ctx_.doc.currentPage);
    const ZoomFraction zoom = shownZoom_;
    return {ToDevice(sheet.left, zoom), ToDevice(sheet.bottom, zoom), ToDevice(sheet.right, zoom),
            ToDevice(sheet.top, zoom)};
}

// Scroll position 0 shows the sheet's top-left corner one scroll step in from the window's; the horizontal bar
// moves the window to the right along the page and the vertical one down it.
Point ScoreView::origin() const {
    const notavera::Box sheet = zoomedSheet();
    return {sheet.left - unitX() + horizontalScrollBar()->value() * unitX(),
            sheet.top + unitY() - clientHeight() - verticalScrollBar()->value() * unitY()};
}

void ScoreView::updateScrollBars() {
    const notavera::Box sheet = zoomedSheet();
    const ZoomFraction zoom = shownZoom_;
    ScrollInput in;
    in.pageWidth = ToPage(sheet.right - sheet.left, zoom);
    in.pageHeight = ToPage(sheet.top - sheet.bottom, zoom);
    in.lineEnd = in.pageWidth;
    in.clientWidth = clientWidth();
    in.clientHeight = clientHeight();
    in.unitX = unitX();
    in.unitY = unitY();
    const ScrollRanges ranges = ComputeScrollRanges(in, zoom);
    horizontalScrollBar()->setRange(0, ranges.horizontal);
    verticalScrollBar()->setRange(0, ranges.vertical);
    horizontalScrollBar()->setPageStep(std::max(1, clientWidth() / unitX()));
    verticalScrollBar()->setPageStep(std::max(1, clientHeight() / unitY()));
}

void ScoreView::showPageFromTop() {
    shownZoom_ = ctx_.shell.view.zoom;
    shownPage_ = ctx_.doc.currentPage;
    shownPath_ = ctx_.doc.storage.path;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void ScoreView::refresh() {
    FollowPageContinuousSetting(ctx_);
    // Another page or another document is shown from its top.
    if (ctx_.doc.currentPage != shownPage_ || ctx_.doc.storage.path != shownPath_) {
        showPageFromTop();
        return;
    }
    if (!(ctx_.shell.view.zoom == shownZoom_)) {
        // The page point at the window's top-left corner stays there across a zoom change.
        const Point before = origin();
        const int pageLeft = ToPage(before.x, shownZoom_);
        const int pageTop = ToPage(before.y + clientHeight(), shownZoom_);
        shownZoom_ = ctx_.shell.view.zoom;
        updateScrollBars();
        const notavera::Box sheet = zoomedSheet();
        horizontalScrollBar()->setValue(NearestStep(ToDevice(pageLeft, shownZoom_) - sheet.left + unitX(), unitX()));
        verticalScrollBar()->setValue(NearestStep(sheet.top + unitY() - ToDevice(pageTop, shownZoom_), unitY()));
    } else {
        updateScrollBars();
    }
    viewport()->update();
}

void ScoreView::drawFrame() {
    const QSize size = viewport()->size() * pixelRatio_;
    if (frame_.size() != size) frame_ = QImage(size, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(deviceDpi_ / 0.0254));
    frame_.setDotsPerMeterX(dotsPerMetre);
    frame_.setDotsPerMeterY(dotsPerMetre);
    frame_.setDevicePixelRatio(1.0);
    frame_.fill(DeskColour);
    if (!ctx_.shell.documentReady) return;

    QPainter painter(&frame_);
    QtCanvas canvas(painter, CanvasKind::Screen);
    const Point at = origin();
    canvas.setWindowOrigin(at);
    ApplyZoom(dc_, shownZoom_);
    visible_ = VisibleRegion(at.x, at.y, clientWidth(), clientHeight(), shownZoom_);
    dc_.visibleRegion = visible_;
    dc_.canvas = &canvas;
    dc_.metafiles = ctx_.ui.metafilePlayer();
    SetContinuousOffset(ctx_, visible_.x0);
    DrawPage(dc_, ctx_.doc, WindowDrawOptions(ctx_));
    DrawMarkers(dc_, ctx_);
    if (overlay) overlay(dc_);
    dc_.canvas = nullptr;
}

void ScoreView::paintEvent(QPaintEvent*) {
    // The window may have moved to a screen of another resolution or scaling.
    const double dpi = deviceDpi_, ratio = pixelRatio_;
    measureScreen();
    if (dpi != deviceDpi_ || ratio != pixelRatio_) updateScrollBars();
    // A zoom, page or document the scroll bars do not follow yet.
    if (!(ctx_.shell.view.zoom == shownZoom_) || ctx_.doc.currentPage != shownPage_ ||
        ctx_.doc.storage.path != shownPath_)
        refresh();
    drawFrame();
    frame_.setDevicePixelRatio(pixelRatio_);
    QPainter(viewport()).drawImage(QPointF(0, 0), frame_);
    // The page pass ends by refreshing the title: the current staff and voice may have changed with the page.
    // Until a document is ready the title stays blank.
    if (titleRefresh) titleRefresh();
    else if (ctx_.shell.documentReady) UpdateTitleBar(ctx_);
    else ctx_.ui.setTitle("");
    if (painted) painted();
}

std::optional<PageRegion> ScoreView::shownArea() const {
    if (!ctx_.shell.documentReady || shownPage_ != ctx_.doc.currentPage) return std::nullopt;
    return VisibleRegion(origin().x, origin().y, clientWidth(), clientHeight(), shownZoom_);
}

void ScoreView::follow(ViewAction action) {
    QScrollBar* across = horizontalScrollBar();
    QScrollBar* down = verticalScrollBar();
    switch (action) {
    case ViewAction::None: return;
    case ViewAction::PageRight: across->setValue(across->value() + across->pageStep()); break;
    case ViewAction::PageLeft: across->setValue(across->value() - across->pageStep()); break;
    case ViewAction::Top: down->setValue(0); break;
    case ViewAction::Bottom: down->setValue(down->maximum()); break;
    case ViewAction::FullyLeft: across->setValue(0); break;
    case ViewAction::FullyRight: across->setValue(across->maximum()); break;
    case ViewAction::Recentre: {
        // The cursor's place in the middle of the window.
        const notavera::Box sheet = zoomedSheet();
        const int x = ToDevice(ctx_.shell.cursor.x, shownZoom_);
        across->setValue((x - sheet.left + unitX() - clientWidth() / 2) / unitX());
        if (const StaffRecord* staff = ctx_.doc.staff()) {
            const int y = ToDevice(static_cast<int>(staff->y), shownZoom_);
            down->setValue((sheet.top + unitY() - y - clientHeight() / 2) / unitY());
        }
        break;
    }
    }
    viewport()->update();
}

void ScoreView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ScoreView::scrollContentsBy(int, int) { viewport()->update(); }

// Tab is a key of the score, not a way out of the view.
bool ScoreView::focusNextPrevChild(bool) { return false; }

void ScoreView::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<Key> key = KeyFromQt(event->key()); key && keyPressed)
        keyPressed(*key, ModifiersFromQt(event->modifiers()));
    if (characterTyped) {
        for (const char32_t c : CharactersOf(*event)) characterTyped(c);
    }
    refresh();
}

Point ScoreView::pagePointAt(QPointF pixel) const {
    const ViewMapping mapping{origin(), logicalPerPixel(), static_cast<double>(viewport()->height()), shownZoom_};
    return PagePointOfPixel(mapping, pixel.x(), pixel.y());
}

void ScoreView::afterMouse() {
    if (mouseHandled) mouseHandled();
    refresh();
}

void ScoreView::mousePressEvent(QMouseEvent* event) {
    if (!ctx_.shell.documentReady) return;
    if (mouseRoute) {
        if (event->button() == Qt::LeftButton) mouseRoute->leftDown(pagePointAt(event->position()));
        else if (event->button() == Qt::RightButton) mouseRoute->rightDown();
        afterMouse();
        return;
    }
    if (event->button() == Qt::LeftButton)
        MouseLeftDown(ctx_, pagePointAt(event->position()), ModifiersFromQt(event->modifiers()));
    else if (event->button() == Qt::RightButton)
        MouseRightDown(ctx_);
    else
        return;
    afterMouse();
}

void ScoreView::mouseMoveEvent(QMouseEvent* event) {
    if (!ctx_.shell.documentReady) return;
    const bool left = (event->buttons() & Qt::LeftButton) != 0;
    if (!left) return;
    if (mouseRoute) {
        mouseRoute->move(pagePointAt(event->position()));
        afterMouse();
        return;
    }
    MouseMove(ctx_, pagePointAt(event->position()), left, ModifiersFromQt(event->modifiers()));
    afterMouse();
}

void ScoreView::mouseReleaseEvent(QMouseEvent* event) {
    if (!ctx_.shell.documentReady || event->button() != Qt::LeftButton) return;
    if (mouseRoute) {
        mouseRoute->leftUp(pagePointAt(event->position()));
        afterMouse();
        return;
    }
    MouseLeftUp(ctx_, pagePointAt(event->position()));
    afterMouse();
}

void ScoreView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!ctx_.shell.documentReady) return;
    if (mouseRoute) {
        mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        MouseDoubleClick(ctx_, pagePointAt(event->position()));
    else if (event->button() == Qt::RightButton)
        MouseRightDown(ctx_);
    else
        return;
    afterMouse();
}

}  // namespace notavera
