// The main window's page view: the current page drawn by the page pass at the shell's zoom, page units mapped to
// physical tenths of a millimetre on the screen, the scroll bars and their rules, the insertion cursor over the
// page, the keys and characters handed on as the system's key-down and character messages, and the mouse handed
// to the core in page units.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/canvas.h"
#include "render/drawing_context.h"
#include "render/geometry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {

class ScoreView final : public QAbstractScrollArea {
public:
    ScoreView(EditorContext& ctx, QWidget* parent = nullptr);

    // After a new document or page: the view goes back to the top-left of the sheet.
    void showPageFromTop();
    // Brings the view in line with the shell's zoom and the document (scroll ranges, the page point at the
    // top-left corner kept across a zoom change) and repaints.
    void refresh();

    // The screen's resolution in device pixels per inch, as the page is drawn (physical, so a millimetre on the
    // page is a millimetre on the glass whatever the desktop's scaling).
    double deviceDpi() const { return deviceDpi_; }
    // What the last paint showed, in page units, and where the window origin lay (zoomed logical units).
    const PageRegion& visibleRegion() const { return visible_; }
    Point windowOrigin() const { return origin(); }
    // The picture of the client area as the last paint made it, in device pixels.
    const QImage& lastFrame() const { return frame_; }
    // Called after each paint (the start-up timing and the screenshot hook use it).
    std::function<void()> painted;
    // A key-down the dispatch knows, then the characters the key typed; the view repaints after both.
    std::function<void(Key, KeyModifiers)> keyPressed;
    std::function<void(char32_t)> characterTyped;
    // Called after the core has handled a mouse event, for the window to show the new state.
    std::function<void()> mouseHandled;
    // A view of another window on the same page (the text window) takes the mouse itself: left button down, move
    // with the button held, release, and the right button, in page units.
    struct MouseRoute {
        std::function<void(Point)> leftDown;
        std::function<void(Point)> move;
        std::function<void(Point)> leftUp;
        std::function<void()> rightDown;
    };
    std::optional<MouseRoute> mouseRoute;
    // Drawn over the page after the markers, on the page's canvas.
    std::function<void(DrawingContext&)> overlay;
    // Called after each paint instead of refreshing the main window's title.
    std::function<void()> titleRefresh;
    // The page point under a pixel of the view's client area, as the last paint mapped it.
    Point pagePointAt(QPointF pixel) const;
    // The part of the page the window shows now, in page units; nothing before the first paint.
    std::optional<PageRegion> shownArea() const;
    // Scrolls as the cursor's view following asks.
    void follow(ViewAction action);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Logical units (tenths of a millimetre at the zoom) of the screen: per device-independent pixel.
    double logicalPerPixel() const;
    int clientWidth() const;   // logical units
    int clientHeight() const;
    int unitX() const;  // one scroll step: 40 pixels in logical units
    int unitY() const;
    // Qualified: inside a QFrame, Box names a frame shape.
    notavera::Box zoomedSheet() const;
    Point origin() const;
    void updateScrollBars();
    void measureScreen();
    void drawFrame();
    void afterMouse();

    EditorContext& ctx_;
    DrawingContext dc_;
    ZoomFraction shownZoom_;
    int shownPage_ = 0;
    std::filesystem::path shownPath_;
    double deviceDpi_ = 96.0;
    double pixelRatio_ = 1.0;
    PageRegion visible_;
    QImage frame_;
};

}  // namespace notavera
