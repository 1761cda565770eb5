// The user interface the MIDI devices speak to in the editor: their error boxes stay open beside the window
// instead of holding it, so that a machine without sound never stops the start-up or the work.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/ui_services.h"

class QMessageBox;

namespace notavera {

class DeviceMessageUi final : public UiServices {
public:
    // Everything but the device boxes goes to `window`, the main window's own services; `owner` carries the boxes.
    DeviceMessageUi(UiServices& window, QWidget* owner) : window_(window), owner_(owner) {}

    // An information box with OK alone is shown modeless and answered OK at once: it only reports. The same
    // text still open is raised rather than shown twice. A box that asks something stays modal.
    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    bool yesNoBox(const std::string& text) override { return window_.yesNoBox(text); }
    void beep() override { window_.beep(); }
    std::optional<std::string> openFileName(const FileDialogRequest& request) override {
        return window_.openFileName(request);
    }
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override {
        return window_.saveFileName(request);
    }
    void setTitle(const std::string& title) override { window_.setTitle(title); }
    void setWaitCursor(bool on) override { window_.setWaitCursor(on); }

private:
    UiServices& window_;
    QPointer<QWidget> owner_;
    std::vector<QPointer<QMessageBox>> open_;  // the boxes shown; a closed one is gone (deleted on close)
};

}  // namespace notavera
