// The user interface the core speaks to, on Qt: message boxes with French buttons, the file dialogs with the
// system's filters, the title of the main window, the wait cursor, the beep, the font chooser and the generic dialog
// form.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QPrinter>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "platform/qt/qt_clipboard.h"
#include "platform/ui_services.h"

namespace notavera {

class QtUiServices : public UiServices {
public:
    // Boxes and dialogs are modal to `window`, whose title the title bar sets; it may be set later. Pictures are
    // played by libwmf and XML read by QtCore.
    explicit QtUiServices(QWidget* window = nullptr);
    void setWindow(QWidget* window) { window_ = window; }
    // The page area whose top right corner the "Val" popup takes.
    void setPageClient(QWidget* client) { pageClient_ = client; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    bool yesNoBox(const std::string& text) override;
    void beep() override;
    std::optional<std::string> openFileName(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override;
    void setTitle(const std::string& title) override;
    void setWaitCursor(bool on) override;
    bool runDialog(DialogModel& model) override;
    // QFontDialog on the free face that stands in for the document's face.
    std::optional<FontChoice> chooseFont(const FontChoice& current) override;
    std::optional<int> popupValueMenu() override;
    bool runStaffLayoutDialog(DialogModel& model, StaffLayoutEditor& editor) override;
    bool runRulerDialog(DialogModel& model, StaffRuler& ruler) override;

    // The main window's own services, handed on to the window through the hooks below.
    void repaint() override;
    void closeWindow() override;
    void showAbout() override;
    bool showHelp(const std::string& path) override;
    // Repeating timers on the event loop, one per id; each tick calls timerTicked with its id.
    bool setTimer(int id, int periodMs) override;
    void killTimer(int id) override;
    // The move box shows the four arrows over the page until the mode ends.
    void beginMouseCapture() override;
    void endMouseMode() override;
    Clipboard* clipboard() override { return &clipboard_; }
    // Qt's print dialog on the printer chosen last, its paper preset to the sheet.
    PrintDialogResult printDialog(const PrintDialogRequest& request) override;
    std::unique_ptr<PrintJob> startPrintJob(const std::string& title) override;
    std::unique_ptr<PrintJob> startPdfFile(const std::string& path, const std::string& title) override;
    bool writeXmlFile(const std::string& path, const XmlDocumentType& type, const XmlElement& root) override;
    void storeRecentFiles(const std::vector<std::string>& recent) override;
    // The text window is the main window's to make, show and take down.
    void showTextWindow() override {
        if (textWindowShown) textWindowShown();
    }
    void closeTextWindow() override {
        if (textWindowClosed) textWindowClosed();
    }
    void setTextWindowTitle(const std::string& title) override {
        if (textTitleSet) textTitleSet(title);
    }
    std::optional<int> popupTextCategoryMenu() override {
        return categoryPopup ? categoryPopup() : std::nullopt;
    }

    void showDrawingWindow() override {
        if (drawingWindowShown) drawingWindowShown();
    }
    void closeDrawingWindow() override {
        if (drawingWindowClosed) drawingWindowClosed();
    }
    void setDrawingWindowTitle(const std::string& title) override {
        if (drawingTitleSet) drawingTitleSet(title);
    }
    std::optional<int> popupDrawingCategoryMenu() override {
        return drawingCategoryPopup ? drawingCategoryPopup() : std::nullopt;
    }

    std::function<void()> drawingWindowShown;
    std::function<void()> drawingWindowClosed;
    std::function<void(const std::string&)> drawingTitleSet;
    std::function<std::optional<int>()> drawingCategoryPopup;
    std::function<void()> textWindowShown;
    std::function<void()> textWindowClosed;
    std::function<void(const std::string&)> textTitleSet;
    std::function<std::optional<int>()> categoryPopup;
    std::function<void()> invalidated;
    std::function<void()> closeRequested;
    std::function<void(int)> timerTicked;
    // The page view: what it shows, and its scrolling as the cursor moves.
    std::function<std::optional<PageRegion>()> shownAreaOfView;
    std::function<void(ViewAction)> viewFollower;

    std::optional<PageRegion> shownArea() const override {
        return shownAreaOfView ? shownAreaOfView() : std::nullopt;
    }
    void followView(ViewAction action) override {
        if (viewFollower) viewFollower(action);
    }

    // The filter text of a file dialog: "label (patterns)" per filter, each pattern also in lower case, since
    // documents named on Windows in capitals are lower case on most Linux disks.
    static QString FilterText(const std::vector<FileFilter>& filters);

private:
    QWidget* parent() const;

    QPointer<QWidget> window_;
    QPointer<QWidget> pageClient_;
    int waitDepth_ = 0;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    QtClipboard clipboard_;
    std::unique_ptr<QPrinter> printer_;  // the printer chosen last, kept for the next print
};

}  // namespace notavera
