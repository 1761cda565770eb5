// The font chooser as a plain dialog model ("Police"), for user interfaces without a system font chooser: scripts
// answer it with `answer Police Police="Arial" Style=Gras Taille=40 ok`.
#pragma once

#include <optional>

#include "platform/dialog_model.h"
#include "platform/ui_services.h"

namespace notavera {

namespace font_choice_field {
inline constexpr const char* face = "Police";
inline constexpr const char* style = "Style";  // "Normal", "Italique", "Gras", "Gras italique"
inline constexpr const char* size = "Taille";  // page units, 1–255: what the stored byte holds
}  // namespace font_choice_field

// The largest size a stored font can have (one byte).
inline constexpr int maxFontHeight = 255;

DialogModel MakeFontChoiceDialog(const FontChoice& current);
// The font the dialog shows; nothing when its face was left empty.
std::optional<FontChoice> FontChoiceOf(const DialogModel& dialog);

}  // namespace notavera
