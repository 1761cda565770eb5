// The "Pagination - Entête - Pied de page" dialog: the page number, header and footer blocks and the crop marks.
#pragma once

#include <array>
#include <string_view>

#include "shell/dialog_model.h"

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
// the three "Première page incluse" likewise in the order page number, header, footer.
DialogModel makePaginationDialog(const ScoreDocument& doc);
// OK: stores the blocks that are shown and frees the others with their flag bits, sets the crop-mark bit and
// marks the document modified.
void acceptPaginationDialog(const DialogModel& model, ScoreDocument& doc);

// Shows the dialog and applies it on OK: 1 on OK, 0 on "Annuler".
int RunPaginationDialog(EditorContext& ctx);

}  // namespace notavera
