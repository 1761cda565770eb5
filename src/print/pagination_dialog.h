// The "Pagination - Entête - Pied de page" dialog: the page number, header and footer blocks and the crop marks.
#pragma once

#include <array>
#include <string_view>

#include "platform/dialog_model.h"
#include "platform/ui_services.h"

namespace notavera {

class ScoreDocument;
struct EditorContext;

struct PlacementChoice {
    std::string_view entry;  // as the position lists show it
    int code;                // position code, 50 more at the bottom of the page
};

inline constexpr std::array<PlacementChoice, 6> placements{{{"NEANT", 0},
                                                            {"Centré", 1},
                                                            {"Gauche", 2},
                                                            {"Droite", 3},
                                                            {"Extérieur", 12},
                                                            {"Intérieur", 13}}};

// The dialog on copies of the three blocks (a missing block shows as "NEANT"). The three position lists are
// "Position", "Position#2" (header) and "Position#3" (footer); the texts "Texte" (header) and "Texte#2" (footer);
// the three "Première page incluse" and the three "Police" buttons likewise in the order page number, header,
// footer.
DialogModel makePaginationDialog(const ScoreDocument& doc);
// OK: stores the blocks that are shown and frees the others with their flag bits, sets the crop-mark bit and
// marks the document modified.
void acceptPaginationDialog(const DialogModel& model, ScoreDocument& doc);

// The fonts of the three blocks while the dialog is open, in the order page number, header, footer.
struct PaginationFonts {
    std::array<FontChoice, 3> font;
    std::array<bool, 3> chosen{};  // only a font chosen with its "Police" button is stored on OK
};

// The fonts the blocks use now (a block without one: the first text font); a block of the default size opens the
// chooser at three interlines of `interline`.
PaginationFonts paginationFonts(const ScoreDocument& doc, int interline);
// Makes each "Police" button open the font chooser of `ui` on its block's font and keep the choice in `fonts`,
// which must outlive the dialog.
void connectFontButtons(DialogModel& model, UiServices& ui, PaginationFonts& fonts);
// After OK: the blocks that were stored take their chosen fonts (index in the document's font table, style, size).
// A face the full table cannot take is reported (message 69) and its block keeps the font it had.
void storeChosenFonts(const PaginationFonts& fonts, EditorContext& ctx);

// Shows the dialog and applies it on OK, writing the font table into the document's working file when there is
// one: 1 on OK, 0 on "Annuler".
int RunPaginationDialog(EditorContext& ctx);

}  // namespace notavera
