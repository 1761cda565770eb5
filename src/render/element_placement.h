// Where an element of a staff is drawn: on its own staff or, placed across, on the neighbour standing in for it;
// the staff lines it counts from, and the height of a pitched element on the page.
#pragma once

#include <optional>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// The staff an element is drawn on, as the pass placed it. Heights are page units.
struct StaffPlace {
    int index = 0;      // the staff's index in the pass (its clef changes)
    int reference = 0;  // the height every vertical offset counts from
    int topLine = 0;    // the top line of the (virtual) five-line staff
    int size = 0;       // 0 normal, 1 small
    int lines = 5;

    int bottomLine(const StaffMetrics& m) const { return topLine - m.staffHeight[size]; }
    int middleLine(const StaffMetrics& m) const { return topLine - 2 * m.staffSpace[size]; }
    // Whether y lies on a line of the staff or of its ledger lines.
    bool onLine(int y, const StaffMetrics& m) const;
};

// The staff of the pass that element `e` of `staff` is drawn on: its own, or the staff above or below for the
// cross-staff placements 1 and 2 (a placement towards a staff the page does not have stays on its own staff).
// Nullopt when the pass has not placed the staff.
std::optional<StaffPlace> PlaceOfElement(const DrawingContext& dc, const StaffRecord& staff, const ElementRecord& e);

// The height on the page of a note, rest or pitched sign: its step and octave under the clef in force at its x.
int PitchHeight(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e);

// Sets the staff size and cue flag of one element for the primitives, and restores the staff's own when it ends.
class ElementSizeScope {
public:
    ElementSizeScope(DrawingContext& dc, const StaffPlace& place, bool cue);
    ~ElementSizeScope();
    ElementSizeScope(const ElementSizeScope&) = delete;
    ElementSizeScope& operator=(const ElementSizeScope&) = delete;

private:
    DrawingContext& dc_;
    bool small_;
    bool cue_;
};

}  // namespace notavera
