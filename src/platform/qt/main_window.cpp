// The main window "Notavera": the page view with the menu bar and the palette above it, the document named on the
// command line (or a new first page), the title bar, the shell's timers, and closing through Quit.
#include "platform/qt/drawing_window.h"
#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QVBoxLayout>

#include "platform/qt/menu_bar.h"
#include "platform/qt/palette_bar.h"
#include "platform/qt/score_view.h"
#include "platform/qt/text_window.h"
#include "platform/qt/window_sound.h"
#include "score/work_files.h"
#include "shell/command_ids.h"
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
    paletteRow_ = new QWidget(central);
    paletteRow_->setFixedHeight(PaletteHeight);
    layout->addWidget(paletteRow_);
    layout->addWidget(view_);
    setCentralWidget(central);
    buildMenusAndPalette();
    connectServices();
    openStartDocument(commandLine);
    view_->setFocus();
}

MainWindow::~MainWindow() {
    // Quit has normally taken the working file away already; a window closed any other way must not leave it.
    DeleteWorkFiles(ctx_.doc);
}

void MainWindow::buildMenusAndPalette() {
    auto inputs = [this] { return MenuInputsOf(ctx_); };
    auto isBuilt = [this](int command) { return CommandIsBuilt(ctx_, command); };
    menuBar_ = new MenuBar(ctx_, inputs, isBuilt, [this](int command) { runCommand(command); }, this);
    setMenuBar(menuBar_);
    palette_ = new PaletteBar([this] { return paletteInputs(); }, [this](int command) { runCommand(command); },
                              paletteRow_);
    paletteRow_->installEventFilter(this);
}

PaletteInputs MainWindow::paletteInputs() const {
    PaletteInputs in;
    in.noteFormFlags = ctx_.shell.input.noteFormFlags;
    in.undoAvailable = ctx_.doc.undo.undoCount != 0;
    in.cancelAvailable = ctx_.doc.undo.redoCount != 0;
    in.navigationState = ctx_.shell.input.navigationState;
    in.alternateAction = ctx_.shell.input.alternateAction;
    in.currentDuration = ctx_.doc.insertion.durationCode;
    in.referenceValue = ctx_.doc.insertion.referenceValue;
    in.paletteDuration = ctx_.shell.dialogs.menuDuration;
    return in;
}

void MainWindow::runCommand(int command) {
    DispatchCommand(ctx_, static_cast<std::uint32_t>(command));
    showNewState();
}

void MainWindow::showNewState() {
    // Mask editing adds or removes a menu-bar item at once, not only when a menu next opens.
    menuBar_->prepare();
    palette_->refresh();
    view_->refresh();
    if (textWindow_ != nullptr) textWindow_->refresh();
    if (drawingWindow_ != nullptr) drawingWindow_->refresh();
}

void MainWindow::showDrawingWindow() {
    if (drawingWindow_ == nullptr) placeBeside(*(drawingWindow_ = new DrawingWindow(ctx_, [this] { showNewState(); }, this)));
    drawingWindow_->present();
}

void MainWindow::closeDrawingWindow() {
    dismiss(drawingWindow_);
    drawingWindow_ = nullptr;
}

void MainWindow::showTextWindow() {
    if (textWindow_ == nullptr) placeBeside(*(textWindow_ = new TextWindow(ctx_, [this] { showNewState(); }, this)));
    textWindow_->present();
}

void MainWindow::closeTextWindow() {
    dismiss(textWindow_);
    textWindow_ = nullptr;
}

void MainWindow::placeBeside(PageWindow& window) {
    window.resize(size());
    window.move(pos() + QPoint(40, 40));
}

void MainWindow::dismiss(PageWindow* window) {
    if (window == nullptr) return;
    window->hide();
    window->deleteLater();
    activateWindow();
    view_->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == paletteRow_ && event->type() == QEvent::Resize) palette_->placeInClient(paletteRow_->width());
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::connectServices() {
    ui_.invalidated = [this] {
        view_->refresh();
        if (textWindow_ != nullptr) textWindow_->view().refresh();
        if (drawingWindow_ != nullptr) drawingWindow_->view().refresh();
    };
    ui_.drawingWindowShown = [this] { showDrawingWindow(); };
    ui_.drawingWindowClosed = [this] { closeDrawingWindow(); };
    ui_.drawingTitleSet = [this](const std::string& title) {
        if (drawingWindow_ != nullptr) drawingWindow_->setWindowTitle(QString::fromStdString(title));
    };
    ui_.drawingCategoryPopup = [this]() -> std::optional<int> {
        return drawingWindow_ != nullptr ? drawingWindow_->popupCategories() : std::nullopt;
    };
    ui_.textWindowShown = [this] { showTextWindow(); };
    ui_.textWindowClosed = [this] { closeTextWindow(); };
    ui_.textTitleSet = [this](const std::string& title) {
        if (textWindow_ != nullptr) textWindow_->setWindowTitle(QString::fromStdString(title));
    };
    ui_.categoryPopup = [this]() -> std::optional<int> {
        return textWindow_ != nullptr ? textWindow_->popupCategories() : std::nullopt;
    };
    ui_.closeRequested = [this] {
        closeAccepted_ = true;
        // Not from inside the close event that asked: the window goes once that event is over.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    };
    ui_.timerTicked = [this](int id) { OnShellTimer(ctx_, id); };
    ui_.setPageClient(view_);
    ui_.shownAreaOfView = [this] { return view_->shownArea(); };
    ui_.viewFollower = [this](ViewAction action) { view_->follow(action); };
    view_->keyPressed = [this](Key key, KeyModifiers modifiers) {
        DispatchKey(ctx_, key, modifiers);
        showNewState();
    };
    view_->characterTyped = [this](char32_t c) {
        DispatchChar(ctx_, c);
        showNewState();
    };
    view_->mouseHandled = [this] { showNewState(); };
}

void MainWindow::openStartDocument(const std::string& commandLine) {
    OpenStartDocument(ctx_, commandLine);
    view_->showPageFromTop();
    showNewState();
}

void MainWindow::startShellTimers() { StartShellTimers(ctx_); }

void MainWindow::attachSound(std::unique_ptr<MidiServices> services) {
    sound_ = std::make_unique<WindowSound>(ctx_, ui_, this, std::move(services));
    sound_->playbackEnded = [this] { showNewState(); };
    sound_->inputHandled = [this] { showNewState(); };
    ctx_.platformCommands = &sound_->commands();
    ctx_.soundNote = [this](const ElementRecord& note) { sound_->preview(note); };
    menuBar_->prepare();
    sound_->checkDevicesAfterFirstPaint(*view_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeAccepted_) {
        event->accept();
        return;
    }
    // Quit asks to save a modified document; it takes the window down through closeWindow unless cancelled.
    event->ignore();
    DispatchCommand(ctx_, cmd::Quit);
    view_->refresh();
}

}  // namespace notavera
