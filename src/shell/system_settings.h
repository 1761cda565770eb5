// Settings held by the running editor rather than by a document: they start from fixed values at every
// start-up and are changed through the settings dialogs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/spacing_settings.h"
#include "score/staff_layout_model.h"

namespace notavera {

// The staff-layout dialog's last values, kept for its next opening.
struct StaffLayoutMemory {
    int mode = 111;                  // the ruler's mode, by its radio button
    int lines = 5;                   // "Lignes"
    int superposeLeft = 2;           // the two group sizes of "Superposer portées (md/mg)"
    int superposeRight = 2;
    bool copyDefinitionOnly = false;  // "Copier Définition seulement"
    // The model as it was before "Ecarter/réunir portées" spread its staves, and the page it was spread on.
    std::optional<StaffLayoutModel> spreadCopy;
    int spreadPage = 0;
};

struct SystemSettings {
    int verticalShift = 0;        // "Décalage vertical", not saved with the document
    int paperButton = 0;          // the paper chosen last in "Format" (index into the paper list), −1 for "Autre :"
    bool invertVerticalText = false;  // "Invers.Txt Vertical"
    int keyboardEcho = 1;         // "Echo clavier (instr. ou -1):"
    int midiInputCycles = 40;     // "Cycles entrée MIDI:"
    // "Distance en Pas après ...", in steps: spacing multiplies them by the document's step when it runs, so a
    // step changed later still counts.
    SignDistances distanceSteps;
    StaffLayoutMemory staffLayout;
    std::vector<std::string> recentFiles;  // "Fichiers récents": absolute paths, the most recent first
};

}  // namespace notavera
