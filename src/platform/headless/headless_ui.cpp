// Scripted message boxes and dialogs for batch runs and tests.
#include "platform/headless/headless_ui.h"

#include <algorithm>

namespace notavera {

// A text that came from a file name may hold line breaks or NULs; the printed line stays one line.
std::string HeadlessUi::formatLine(const MessageBoxRequest& request) {
    std::string line = "MESSAGE " + request.caption + " " + std::to_string(request.stringId) + " " + request.text;
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r' || c == '\0'; }, ' ');
    return line;
}

namespace {

// Without a scripted answer a box takes its default button: OK, or Cancel for a question.
MessageAnswer defaultAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::YesNo: return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
        case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

// A real box can only answer with one of its buttons.
bool offers(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
        case MessageButtons::Ok: return answer == MessageAnswer::Ok;
        case MessageButtons::YesNo: return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return answer == MessageAnswer::Yes || answer == MessageAnswer::No || answer == MessageAnswer::Cancel;
        case MessageButtons::RetryCancel: return answer == MessageAnswer::Retry || answer == MessageAnswer::Cancel;
    }
    return false;
}

}  // namespace

void HeadlessUi::print(const MessageBoxRequest& request) {
    messages_.push_back(request);
    if (!out_) return;
    std::fprintf(out_, "%s\n", formatLine(request).c_str());
    std::fflush(out_);
}

// Each box takes the next scripted answer; one its buttons cannot give counts as the box's default.
MessageAnswer HeadlessUi::showMessage(const MessageBoxRequest& request) {
    print(request);
    if (answers_.empty()) return defaultAnswer(request.buttons);
    const MessageAnswer a = answers_.front();
    answers_.pop_front();
    return offers(request.buttons, a) ? a : defaultAnswer(request.buttons);
}

// The "YesNoBox" dialog is answered from its own queue; without an answer it says "Non".
bool HeadlessUi::yesNoBox(const std::string& text) {
    print({"Message", 0, text, MessageIcon::Question, MessageButtons::YesNo});
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

bool HeadlessUi::runDialog(DialogModel& model) {
    dialogs_.push_back(model.name());
    const auto it = std::find_if(dialogAnswers_.begin(), dialogAnswers_.end(),
                                 [&model](const DialogAnswer& a) { return a.name == model.name(); });
    if (it == dialogAnswers_.end()) {
        unanswered_.push_back(model.name());
        return false;
    }
    const DialogAnswer answer = std::move(*it);
    dialogAnswers_.erase(it);
    for (const std::string& key : applyAnswer(model, answer)) refusedFields_.push_back(model.name() + " " + key);
    return answer.ok;
}

bool HeadlessUi::setTimer(int id, int) {
    if (refusedTimers_ > 0) {
        --refusedTimers_;
        return false;
    }
    timers_.insert(id);
    return true;
}

}  // namespace notavera
