// The main window "Notavera": the page view with the menu bar and the palette above it, the document named on the
// command line (or a new first page), the title bar, the shell's timers, and closing through Quit.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "platform/qt/qt_ui_services.h"
#include "shell/palette.h"
#include "shell/editor_context.h"

namespace notavera {

class MenuBar;
class MidiServices;
class PaletteBar;
class ScoreView;
class PageWindow;
class TextWindow;
class DrawingWindow;
class WindowSound;

class MainWindow final : public QMainWindow {
public:
    // `commandLine` is the one optional document path, with or without surrounding double quotes.
    explicit MainWindow(const std::string& commandLine);
    ~MainWindow() override;

    EditorContext& context() { return ctx_; }
    ScoreView& view() { return *view_; }
    MenuBar& menus() { return *menuBar_; }
    PaletteBar& palette() { return *palette_; }

    // Timers 1 (250 ms) and 2 (one minute) through the shell's rules: none while autosave is off.
    void startShellTimers();
    // Gives the window the machine's MIDI services: the "Son" commands and the keyboard echo work from now on,
    // and the devices are checked once the page has first been painted. Without it the window has no sound and
    // those items stay grey.
    void attachSound(std::unique_ptr<MidiServices> services);
    WindowSound* sound() { return sound_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Keeps the palette against the right edge of its row as the window is resized.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenusAndPalette();
    PaletteInputs paletteInputs() const;
    void runCommand(int command);
    // The menus and the palette show the state a command, key or character may have changed.
    void showNewState();
    void openStartDocument(const std::string& commandLine);
    void connectServices();
    void showTextWindow();
    void closeTextWindow();
    void showDrawingWindow();
    void closeDrawingWindow();
    // A second window opens over the main one, shifted a little, the first time.
    void placeBeside(PageWindow& window);
    void dismiss(PageWindow* window);

    QtUiServices ui_;
    EditorContext ctx_;
    ScoreView* view_ = nullptr;
    MenuBar* menuBar_ = nullptr;
    QWidget* paletteRow_ = nullptr;
    PaletteBar* palette_ = nullptr;
    TextWindow* textWindow_ = nullptr;
    DrawingWindow* drawingWindow_ = nullptr;
    bool closeAccepted_ = false;  // set once Quit has agreed to take the window down
    std::unique_ptr<WindowSound> sound_;  // last: its devices close before anything they report to
};

}  // namespace notavera
