// The settings that drive the respacing of lines: the step, the reference value, the two corrections, the
// distances after signs and the widths the walk needs, all in page units unless said otherwise.
#pragma once

#include <functional>
#include <optional>

namespace notavera {

struct ElementRecord;
struct StaffRecord;

// What a clef or time signature may change from its position on (its word1 bits 0–4, sign word bits 7–10, 25–31).
struct AdvanceRules {
    int referenceValue = 6;  // the duration code that receives the base advance of 3 steps
    int aesthetic = 1;       // 0 off, 1 on, 2 the stronger variant
    int polyphony = 0;       // 0 off, otherwise on
};

// The environment's "Distance en Pas après ...": the room left after a bar line, a time signature and a clef, in
// steps of the "Taille du Pas".
struct SignDistances {
    int afterBar = 4;
    int afterMeter = 3;
    int afterClef = 10;
};

// The x where the music of a line starts: 4 step units after the staff's left edge, so that a clef (drawn 2 step
// units before its x) stands a whole space after the staff's start, clear of the wing of a bracket.
inline constexpr int LineStartColumn(int leftEdge, int stepUnit) { return leftEdge + 4 * stepUnit; }

struct SpacingSettings {
    int step = 10;      // "Taille du Pas": the unit of every advance
    int stepUnit = 10;  // the normal staff's half space
    AdvanceRules rules;
    int tolerance = 0;        // "Résolution x (alignements)": old x within this belong to one column
    int afterBar = 4;         // distances after signs, in step units
    int afterMeter = 3;
    int afterClef = 10;
    int accidentalWidth = 20;  // the normal-size sharp
    int leftEdge = 0;          // the staff's left edge (indented or not)
    int lineLength = 0;        // x of the line's end, for the optimised mode
    // Where the staff's own key is written, after the ink of its line's clef; unset: the fixed place after the
    // left edge.
    std::optional<int> staffKeyStart;
    // Where the element after a time signature may start: the drawer's end x, which includes its own margin.
    std::function<int(const StaffRecord&, int index)> timeSignatureEnd;
};

}  // namespace notavera
