// The numbered French messages and the message-box helpers every subsystem reports through.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/ui_services.h"

namespace notavera {

// The text of a string-table id; empty for an id the table does not have.
std::string_view MessageText(int id);

// Two 150-byte slots (149 characters at most): a caller that needs two texts at once uses both.
class MessageSlots {
public:
    const std::string& LoadMessage(int id, int slot);

private:
    std::string slots_[2];
};

// Formats a message with printf-style values, never beyond `capacity` − 1 bytes (cut on a UTF-8 boundary).
std::string FormatMessage(int id, std::size_t capacity, const std::string& text);
std::string FormatMessage(int id, std::size_t capacity, long first, long second);

// Beep, then the message (formatted with the text as MessageWithName when a text is given),
// caption "Erreur", exclamation icon, OK.
void ShowError(UiServices& ui, int id, const std::string* text = nullptr);
// Beep, then the message formatted with two numbers, caption "Erreur", exclamation icon.
void ShowErrorFormatted(UiServices& ui, int id, long first, long second = 0);
// The message formatted with the text ("(sans nom)" when empty), caption "Notavera", exclamation icon, OK.
void MessageWithName(UiServices& ui, int id, const std::string& text);
// The message unformatted, caption "Erreur", exclamation icon.
void ErrorBox(UiServices& ui, int id);
// The message formatted with the text, caption "Notavera", question icon, Yes/No/Cancel; true only for Yes.
bool AskYesNo(UiServices& ui, int id, const std::string& text);
void Beep(UiServices& ui);
bool YesNoBox(UiServices& ui, const std::string& text);

// Message 66 with the title ("(sans nom)" when empty). On Yes, `save` runs; a failed save turns
// the answer into Cancel.
MessageAnswer AskSaveChanges(UiServices& ui, const std::string& title, const std::function<bool()>& save);

}  // namespace notavera
