// What the core asks of the user interface: message boxes, the beep, file dialogs, the title bar,
// the wait cursor. The Qt layer shows real boxes; the headless layer prints them and answers from a script.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/metafile_player.h"
#include "platform/page_device.h"
#include "platform/page_region.h"
#include "platform/xml_building.h"
#include "platform/xml_tree.h"

namespace notavera {

class Clipboard;
class DialogModel;
class StaffLayoutEditor;
class StaffRuler;

// How the main window must scroll after the cursor moved.
enum class ViewAction { None, PageRight, PageLeft, Top, Bottom, FullyLeft, FullyRight, Recentre };

enum class MessageIcon { Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNoCancel, YesNo, RetryCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel, Retry };

struct MessageBoxRequest {
    std::string caption;  // "Erreur", "Message" or "Notavera"
    int stringId = 0;     // the string-table id of the text, 0 for a literal text
    std::string text;     // the text as shown, already formatted
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = MessageButtons::Ok;
};

struct FileFilter {
    std::string label;     // e.g. "Fichiers RECUPERATION (*.SAV)"
    std::string patterns;  // e.g. "*.SAV"
};

struct FileDialogRequest {
    std::string title;
    std::string proposedPath;
    std::vector<FileFilter> filters;
};

// A text font as the font chooser shows it: the face, its size (the em) in page units, weight and slant.
struct FontChoice {
    std::string face;  // UTF-8
    int height = 0;
    bool bold = false;
    bool italic = false;
};

class UiServices {
public:
    virtual ~UiServices() = default;

    // Shows a modal box and returns the button chosen.
    virtual MessageAnswer showMessage(const MessageBoxRequest& request) = 0;
    // The "YesNoBox" dialog: true only for "Oui".
    virtual bool yesNoBox(const std::string& text) = 0;
    virtual void beep() = 0;
    virtual std::optional<std::string> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialogRequest& request) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setWaitCursor(bool on) = 0;
    // Shows a modal dialog on the model, the user's changes going into it: true for OK, false for "Annuler".
    // A user interface without dialogs answers as "Annuler" would, so that nothing changes.
    virtual bool runDialog(DialogModel& model);
    // The font chooser opened on `current`: the font chosen, nothing when it was cancelled. A user interface
    // without a chooser of its own shows the chooser's fields as the dialog "Police" (font_choice_dialog.h).
    virtual std::optional<FontChoice> chooseFont(const FontChoice& current);

    // The main window's own services. Their defaults suit an interface without a window: nothing to repaint,
    // close or show, and no timer ticks.
    // The whole view must be drawn again (zoom, new document). While repaints are held (a command is running) the
    // repaint waits for the release, so that a command calling this several times repaints once, at its end.
    void invalidate() {
        if (repaintHolds_ > 0) repaintPending_ = true;
        else repaint();
    }
    void holdRepaints() { ++repaintHolds_; }
    void releaseRepaints() {
        if (repaintHolds_ > 0 && --repaintHolds_ == 0 && repaintPending_) {
            repaintPending_ = false;
            repaint();
        }
    }
    // Takes the main window down (Quit).
    virtual void closeWindow() {}
    virtual void showAbout() {}
    // Opens the help file at its contents; false when it cannot be shown.
    virtual bool showHelp(const std::string& path);
    // Starts (or restarts) a repeating timer of the main window; false when the system refuses one.
    virtual bool setTimer(int id, int periodMs);
    virtual void killTimer(int id);
    // A pending click mode ended early: the normal cursor comes back and the mouse capture is released.
    virtual void endMouseMode() {}
    // A mode that takes every mouse event (the move box) begins: the mouse is captured and shows the four arrows
    // until endMouseMode.
    virtual void beginMouseCapture() {}
    // The "Val" menu as a popup at the top right of the page: the command chosen, nothing when dismissed.
    virtual std::optional<int> popupValueMenu();
    // The staff-layout dialog: its fields in `model`, its staff ruler in `editor`. A user interface without a
    // ruler of its own shows the fields alone, as runDialog does.
    virtual bool runStaffLayoutDialog(DialogModel& model, StaffLayoutEditor& editor);
    // A dialog whose field 110 is a staff ruler that picks a staff: a click types the staff's number (from 1)
    // into that field. A user interface without a ruler of its own shows the fields alone, as runDialog does.
    virtual bool runRulerDialog(DialogModel& model, StaffRuler& ruler);
    // The part of the page the window shows; nothing without a window (the whole page then counts as shown).
    virtual std::optional<PageRegion> shownArea() const { return std::nullopt; }
    // Scrolls the view as the cursor requires.
    virtual void followView(ViewAction) {}
    // The text window: made or brought to the front, and taken down. An interface without windows keeps the text
    // window's state alone (scripts then address it by name).
    virtual void showTextWindow() {}
    virtual void closeTextWindow() {}
    // The text window's own title bar.
    virtual void setTextWindowTitle(const std::string& title) { (void)title; }
    // The text window's "Catégorie" menu as a popup at the mouse: the item chosen, nothing when dismissed.
    virtual std::optional<int> popupTextCategoryMenu() { return std::nullopt; }
    // The drawing window, its title bar and its "Catégorie" menu as a popup, as for the text window.
    virtual void showDrawingWindow() {}
    virtual void closeDrawingWindow() {}
    virtual void setDrawingWindowTitle(const std::string& title) { (void)title; }
    virtual std::optional<int> popupDrawingCategoryMenu() { return std::nullopt; }
    // The system clipboard; null where there is none.
    virtual Clipboard* clipboard() { return nullptr; }
    // The print dialog, the printer chosen last already selected. Without a printer the dialog fails.
    virtual PrintDialogResult printDialog(const PrintDialogRequest& request) {
        (void)request;
        return {std::nullopt, true};
    }
    // A job on the printer chosen in the dialog, titled `title`, with its progress box shown and the window
    // disabled until it finishes; null when the printer refuses to start.
    virtual std::unique_ptr<PrintJob> startPrintJob(const std::string& title) {
        (void)title;
        return nullptr;
    }
    // Writes an XML document (UTF-8, with its document type) safely over `path`; false when it cannot be written
    // or the interface has no XML writer.
    virtual bool writeXmlFile(const std::string& path, const XmlDocumentType& type, const XmlElement& root) {
        (void)path;
        (void)type;
        (void)root;
        return false;
    }
    // The list of "Fichiers récents" changed: an interface that keeps settings from one run to the next writes it
    // at once, so that a crash does not lose it.
    virtual void storeRecentFiles(const std::vector<std::string>& recent) { (void)recent; }
    // A PDF file of whole pages at `path`, which appears only once the job finishes; null when it cannot be made.
    virtual std::unique_ptr<PrintJob> startPdfFile(const std::string& path, const std::string& title) {
        (void)path;
        (void)title;
        return nullptr;
    }

    // The readers the program was built with, which the core has none of: the program gives them to its interface
    // before any command runs. Without a player pictures draw nothing; without an XML reader "Importer MusicXML…"
    // refuses with a beep.
    void provideMetafilePlayer(const MetafilePlayer* player) { metafiles_ = player; }
    const MetafilePlayer* metafilePlayer() const { return metafiles_; }
    void provideXmlReader(XmlFileReader reader) { readXml_ = std::move(reader); }
    const XmlFileReader& xmlReader() const { return readXml_; }

protected:
    // Draws the whole view again now.
    virtual void repaint() {}

private:
    int repaintHolds_ = 0;
    bool repaintPending_ = false;
    const MetafilePlayer* metafiles_ = nullptr;
    XmlFileReader readXml_;
};

}  // namespace notavera
