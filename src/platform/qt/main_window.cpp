// The main window "Notavera": the page view with the menu bar and the palette above it, the document named on the
// command line (or a new first page), the title bar, the shell's timers, and closing through Quit.
#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "platform/qt/score_view.h"
#include "score/work_files.h"
#include "shell/dispatch.h"
#include "shell/file_commands.h"
#include "shell/shell_timers.h"

namespace notavera {

MainWindow::MainWindow(const std::string& commandLine) : ui_(this), ctx_(ui_) {
    setWindowTitle("Notavera");
    view_ = new ScoreView(ctx_, this);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    setCentralWidget(central);
    connectServices();
    openStartDocument(commandLine);
    view_->setFocus();
}

MainWindow::~MainWindow() {
    // Quit has normally taken the working file away already; a window closed any other way must not leave it.
    DeleteWorkFiles(ctx_);
}

void MainWindow::connectServices() {
    ui_.invalidated = [this] { view_->refresh(); };
    ui_.closeRequested = [this] {
        closeAccepted_ = true;
        // Not from inside the close event that asked: the window goes once that event is over.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    };
    ui_.timerTicked = [this](int id) { OnShellTimer(ctx_, id); };
    view_->keyPressed = [this](Key key, KeyModifiers modifiers) { DispatchKey(ctx_, key, modifiers); };
    view_->characterTyped = [this](char32_t c) { DispatchChar(ctx_, c); };
}

void MainWindow::openStartDocument(const std::string& commandLine) {
    OpenStartDocument(ctx_, commandLine);
    view_->showPageFromTop();
}

void MainWindow::startShellTimers() { StartShellTimers(ctx_); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeAccepted_) {
        event->accept();
        return;
    }
    // Quit asks to save a modified document; it takes the window down through closeWindow unless cancelled.
    event->ignore();
    DispatchCommand(ctx_, fileQuit);
    view_->refresh();
}

}  // namespace notavera
