// The numbered French messages and the message-box helpers every subsystem reports through.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/ui_services.h"

namespace notavera {

// Buffer sizes, terminator included: a message slot, a file message, a formatted error.
inline constexpr std::size_t messageSlotCapacity = 150;
inline constexpr std::size_t fileMessageCapacity = 300;
inline constexpr std::size_t errorMessageCapacity = 200;

// The caption and the name that stand for the product and for a document without a file.
inline constexpr std::string_view productName = "Notavera";
inline constexpr std::string_view untitledName = "(sans nom)";

// The text of a string-table id; empty for an id the table does not have.
std::string_view MessageText(int id);

// `text` cut to at most `maxBytes` bytes, never inside a UTF-8 sequence.
std::string CutUtf8(std::string text, std::size_t maxBytes);

// One value put into a message. Each "%s" or "%d" of the message takes the next value, written as a
// number or as text according to the value itself, so a number meant for "%s" still reads right.
using MessageArg = std::variant<long, std::string_view>;

// Fills the placeholders of `format` ("%%" gives '%'; a placeholder without a value gives nothing) and
// cuts the result to `capacity` − 1 bytes on a UTF-8 boundary. Values are never read as formats.
std::string FormatText(std::string_view format, std::span<const MessageArg> args, std::size_t capacity);
std::string FormatMessage(int id, std::size_t capacity, std::span<const MessageArg> args);
std::string FormatMessage(int id, std::size_t capacity, const std::string& text);
std::string FormatMessage(int id, std::size_t capacity, long first, long second);

// Beep, then: with a text, the box of MessageWithName; without, the message, caption "Erreur",
// exclamation icon, OK.
void ShowError(UiServices& ui, int id, const std::string* text = nullptr);
// Beep, then the message formatted with two numbers, caption "Erreur", exclamation icon, OK.
void ShowErrorFormatted(UiServices& ui, int id, long first, long second = 0);
// The message formatted with the text ("(sans nom)" when empty), caption "Notavera", exclamation icon, OK.
void MessageWithName(UiServices& ui, int id, const std::string& text);
// The message unformatted, caption "Erreur", exclamation icon, OK.
void ErrorBox(UiServices& ui, int id);
// An editing refusal or report: the message formatted with the text, caption "Message", information icon, OK.
void ShowNotice(UiServices& ui, int id, const std::string& text = {});
// The message formatted with the text, caption "Notavera", question icon, Yes/No/Cancel; true only for Yes.
bool AskYesNo(UiServices& ui, int id, const std::string& text);
// An editing refusal: the message unformatted, caption "Message", exclamation icon, OK.
void ShowRefusal(UiServices& ui, int id);
// The system sound alone, for refusals that need no text.
void Beep(UiServices& ui);
// The "YesNoBox" dialog, for questions asked from inside another dialog; true only for "Oui".
bool YesNoBox(UiServices& ui, const std::string& text);

// Message 66 with the title ("(sans nom)" when empty), caption "Notavera", question icon, Yes/No/Cancel.
// On Yes, `save` runs; a failed save turns the answer into Cancel so the document stays open.
MessageAnswer AskSaveChanges(UiServices& ui, const std::string& title, const std::function<bool()>& save);

}  // namespace notavera
