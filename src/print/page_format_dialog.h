// The "Format" dialog: sheet, orientation, dead margins, stroke thicknesses and beam geometry of the document.
#pragma once

#include <array>
#include <string_view>

#include "platform/dialog_model.h"

namespace notavera {

class ScoreDocument;
struct EditorContext;
struct SystemSettings;

struct PaperSize {
    std::string_view label;
    int widthMm;
    int heightMm;
};

// The paper buttons in their order in the dialog.
inline constexpr std::array<PaperSize, 8> paperSizes{{{"A4 (210x297mm)", 210, 297},
                                                      {"A3 (297x420mm)", 297, 420},
                                                      {"B4 (250x353mm)", 250, 353},
                                                      {"B5 (176x250mm)", 176, 250},
                                                      {"A5 (148x210mm)", 148, 210},
                                                      {"B3 (353x500mm)", 353, 500},
                                                      {"A2 (420x594mm)", 420, 594},
                                                      {"B2 (500x707mm)", 500, 707}}};

// The dialog filled from the document and the editor's settings. The second "Autre :" field (the sheet height)
// is reached as "Autre :#2".
DialogModel makePageFormatDialog(ScoreDocument& doc, const SystemSettings& settings);
// OK: copies every value back, recomputes the page size and remembers the paper chosen.
void acceptPageFormatDialog(const DialogModel& model, ScoreDocument& doc, SystemSettings& settings);

// Shows the dialog and applies it on OK: 1 on OK, 0 on "Annuler".
int RunPageFormatDialog(EditorContext& ctx);

}  // namespace notavera
