// The user interface of batch runs and tests: every message box becomes one line
// "MESSAGE <caption> <string id> <text>" and is answered from a queue of scripted answers.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/dialog_model.h"
#include "platform/headless/headless_clipboard.h"
#include "platform/ui_services.h"

namespace notavera {

class HeadlessUi : public UiServices {
public:
    explicit HeadlessUi(std::FILE* out = stdout) : out_(out) {}

    // Answers used by the next boxes and dialogs, in order.
    void queueAnswer(MessageAnswer a) { answers_.push_back(a); }
    void queueYesNo(bool yes) { yesNo_.push_back(yes); }
    void queueFileName(std::optional<std::string> name) { fileNames_.push_back(std::move(name)); }
    // The answer of the next dialog of the answer's resource name.
    void queueDialogAnswer(DialogAnswer a) { dialogAnswers_.push_back(std::move(a)); }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    bool yesNoBox(const std::string& text) override;
    void beep() override { ++beeps_; }
    std::optional<std::string> openFileName(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override;
    void setTitle(const std::string& title) override { title_ = title; }
    void setWaitCursor(bool) override {}
    // Fills the dialog from its queued answer; without one the dialog is cancelled, and noted.
    bool runDialog(DialogModel& model) override;
    // Timers are only noted: a batch run has no clock. The next `count` requests are refused, as a system out
    // of timers would.
    bool setTimer(int id, int periodMs) override;
    void killTimer(int id) override { timers_.erase(id); }
    void refuseTimers(int count) { refusedTimers_ = count; }
    const std::set<int>& timers() const { return timers_; }
    void closeWindow() override { closed_ = true; }
    bool closed() const { return closed_; }

    // What the run has shown so far.
    const std::vector<MessageBoxRequest>& messages() const { return messages_; }
    const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
    int beeps() const { return beeps_; }
    void followView(ViewAction action) override { views_.push_back(action); }
    const std::vector<ViewAction>& viewActions() const { return views_; }
    const std::vector<std::string>& dialogs() const { return dialogs_; }  // resource names, in order
    // "NAME field" for every answered field that named nothing in its dialog or was refused.
    const std::vector<std::string>& refusedFields() const { return refusedFields_; }
    // The dialogs that opened without an answer, and the answers no dialog has taken yet.
    const std::vector<std::string>& unansweredDialogs() const { return unanswered_; }
    const std::deque<DialogAnswer>& pendingDialogAnswers() const { return dialogAnswers_; }
    const std::string& title() const { return title_; }
    Clipboard* clipboard() override { return &clipboard_; }
    // A batch run has no printer; PDF files come from whoever can draw them (the batch tool with Qt).
    std::function<std::unique_ptr<PrintJob>(const std::string& path, const std::string& title)> pdfFiles;
    std::unique_ptr<PrintJob> startPdfFile(const std::string& path, const std::string& title) override {
        return pdfFiles ? pdfFiles(path, title) : nullptr;
    }
    // XML files, likewise, come from whoever has an XML writer.
    std::function<bool(const std::string&, const XmlDocumentType&, const XmlElement&)> xmlFiles;
    bool writeXmlFile(const std::string& path, const XmlDocumentType& type, const XmlElement& root) override {
        return xmlFiles && xmlFiles(path, type, root);
    }
    void storeRecentFiles(const std::vector<std::string>& recent) override { storedRecentFiles_ = recent; }
    // The list as last stored.
    const std::vector<std::string>& storedRecentFiles() const { return storedRecentFiles_; }
    HeadlessClipboard& headlessClipboard() { return clipboard_; }

    // The line printed for a box.
    static std::string formatLine(const MessageBoxRequest& request);

private:
    // Records the box and prints its line.
    void print(const MessageBoxRequest& request);
    std::optional<std::string> nextFileName(const FileDialogRequest& request);

    std::FILE* out_;
    std::deque<MessageAnswer> answers_;
    std::deque<bool> yesNo_;
    std::deque<std::optional<std::string>> fileNames_;
    std::vector<MessageBoxRequest> messages_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::deque<DialogAnswer> dialogAnswers_;
    std::vector<std::string> dialogs_;
    std::vector<std::string> refusedFields_;
    std::vector<std::string> unanswered_;
    int beeps_ = 0;
    std::vector<ViewAction> views_;
    std::string title_;
    std::set<int> timers_;
    int refusedTimers_ = 0;
    bool closed_ = false;
    HeadlessClipboard clipboard_;
    std::vector<std::string> storedRecentFiles_;
};

}  // namespace notavera
