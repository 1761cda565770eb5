// Scripted message boxes and dialogs for batch runs and tests.
#include "platform/headless/headless_ui.h"

namespace notavera {

std::string HeadlessUi::formatLine(const MessageBoxRequest& request) {
    return "MESSAGE " + request.caption + " " + std::to_string(request.stringId) + " " + request.text;
}

// Without a scripted answer a box takes its default button: OK, or Cancel for a question.
static MessageAnswer defaultAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::YesNo: return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
        case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

MessageAnswer HeadlessUi::showMessage(const MessageBoxRequest& request) {
    messages_.push_back(request);
    if (out_) {
        std::fprintf(out_, "%s\n", formatLine(request).c_str());
        std::fflush(out_);
    }
    if (answers_.empty()) return defaultAnswer(request.buttons);
    const MessageAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}

bool HeadlessUi::yesNoBox(const std::string& text) {
    messages_.push_back({"Message", 0, text, MessageIcon::Question, MessageButtons::YesNo});
    if (out_) std::fprintf(out_, "MESSAGE Message 0 %s\n", text.c_str());
    if (yesNo_.empty()) return false;
    const bool yes = yesNo_.front();
    yesNo_.pop_front();
    return yes;
}

std::optional<std::string> HeadlessUi::nextFileName(const FileDialogRequest& request) {
    fileDialogs_.push_back(request);
    if (fileNames_.empty()) return std::nullopt;
    auto name = std::move(fileNames_.front());
    fileNames_.pop_front();
    return name;
}

std::optional<std::string> HeadlessUi::openFileName(const FileDialogRequest& request) { return nextFileName(request); }
std::optional<std::string> HeadlessUi::saveFileName(const FileDialogRequest& request) { return nextFileName(request); }

}  // namespace notavera
