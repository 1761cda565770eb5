// The skeleton the text and drawing windows share.
#include "platform/qt/page_window.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "platform/qt/score_view.h"

namespace notavera {

PageWindow::PageWindow(EditorContext& ctx, const char* name, const Layer& layer, std::function<void()> changed,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      ctx_(ctx),
      layer_(layer),
      changed_(std::move(changed)),
      menus_(
          this, [this](int command) { return layer_.state(ctx_, command); },
          [this](int command) {
              layer_.dispatch(ctx_, command);
              after();
          }) {
    setObjectName(name);
    view_ = new ScoreView(ctx_, this);
    setCentralWidget(view_);
    for (const Menu& m : layer_.menus) menuBar()->addMenu(menus_.build(m, this));
    categoryPopup_ = menus_.build(layer_.categories, this);
}

void PageWindow::after() {
    if (changed_) changed_();
}

void PageWindow::refresh() {
    menus_.prepare();
    view_->refresh();
}

std::optional<int> PageWindow::popupCategories() { return menus_.popup(categoryPopup_); }

void PageWindow::present() {
    show();
    raise();
    activateWindow();
    view_->showPageFromTop();
    view_->setFocus();
}

void PageWindow::closeEvent(QCloseEvent* event) {
    // The close box is the window's Quitter; the main window takes the window down through the services.
    event->ignore();
    if (layer_.open(ctx_)) {
        layer_.close(ctx_);
        after();
    }
}

}  // namespace notavera
