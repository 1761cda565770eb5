// The staff ruler ("RegleAffiche") as a model: the miniature page of a staff-layout model, and what a press, a
// drag and the keys do to the staff under the pointer in each mode. Widgets and scripts both drive it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/staff_metrics.h"
#include "score/staff_layout_model.h"

namespace notavera {

// The modes of the ruler, numbered by their radio buttons.
enum class RulerMode : int {
    IsolatedStaff = 111,  // "Portée isolée"
    Indentation = 112,    // "Indentation"
    Systems = 113,        // "Systèmes"
    StaffBlock = 114,     // "Bloc (portées)"
    Blocks = 115,         // "Blocs"
    Braces = 116,         // "Accolades"
    Lines = 117,          // "Lignes"
    Grey = 118,           // "Grisée"
    Small = 119,          // "Petite"
    Invisible = 120,      // "Invisible"
    Accessory = 121,      // "Accessoire"
};

// The keys the ruler takes, by their virtual-key numbers.
enum class RulerKey : int {
    Space = 32, Up = 38, Down = 40, C = 'C', M = 'M', N = 'N', V = 'V',
    Num1 = 97, Num3 = 99, Num7 = 103, Num9 = 105, NumPlus = 107, NumMinus = 109, NumDecimal = 110,
};

// What an action did: nothing, a change of the model or the selection, or a refusal the user hears.
enum class RulerResult { Unchanged, Changed, Refused };

// The sheet the miniature shows, in page units.
struct RulerSheet {
    int width = 2100;
    int height = 2970;
    int topOffset = 0;   // the page format's top offset, already in page units
    // The left dead margin: the lines of the printed page start this far in from the sheet's edge, and the
    // grouping marks drawn left of them stay on the sheet.
    int leftOffset = 0;
    SizeRatios ratios;
};

// A staff as the miniature draws it, in page units (y up: top above bottom).
struct RulerStaff {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

// A grouping line of the miniature: systems at the staves' left edge, blocks and braces two half-spaces further
// left, from the top of the group's first staff to the bottom of its last.
struct RulerGroupLine {
    int x = 0;
    int top = 0;
    int bottom = 0;
    bool brace = false;
};

class StaffRuler {
public:
    StaffRuler(StaffLayoutModel& model, RulerSheet sheet) : model_(model), sheet_(sheet) {}

    RulerMode mode = RulerMode::IsolatedStaff;
    int linesValue = 5;  // what the "Lignes" mode gives a staff, 1–10
    // A ruler that only picks a staff (the MIDI dialogs): presses select, and nothing moves or changes.
    bool picking = false;

    const RulerSheet& sheet() const { return sheet_; }
    int staffCount() const;
    std::uint32_t staffWord(int i) const { return model_.staffWord(i); }
    std::optional<int> selected() const { return selected_; }
    std::optional<int> groupStart() const { return groupStart_; }
    // The staff space of staff i's size under the model's current definition.
    int staffSpace(int i) const;

    // Every staff of the model, top to bottom.
    std::vector<RulerStaff> staves() const;
    std::vector<RulerGroupLine> groupLines() const;
    // The first staff whose drawn rectangle holds the height y, if any.
    std::optional<int> staffAt(int y) const;
    // The space left below the last staff, in page units.
    int bottomMargin() const;
    // "N°%d (%d lignes)…" for the selected staff, empty when none is.
    std::string statusText() const;

    // A button press at height y: selects the staff there and applies the mode to it.
    RulerResult press(int y);
    // The pointer moved to height y with the button held.
    RulerResult drag(int y);
    // A press on staff i (what space and the numeric plus key do on the selected staff, and what scripts use).
    RulerResult pressStaff(int i);
    RulerResult key(RulerKey k);

    // One interline up or down, with the next staff compensating in "Portée isolée".
    RulerResult moveUp(int i);
    RulerResult moveDown(int i);

private:
    RulerResult group(int i);
    // Clears the groupings the mode owns from staff `from` to the last.
    void clearGroupings(int from, RulerMode groupMode);
    bool moveMode() const {
        return !picking && (mode == RulerMode::IsolatedStaff || mode == RulerMode::StaffBlock);
    }

    StaffLayoutModel& model_;
    RulerSheet sheet_;
    std::optional<int> selected_;
    std::optional<int> groupStart_;
    RulerMode groupMode_ = RulerMode::Systems;
    int lastDragY_ = 0;
};

}  // namespace notavera
