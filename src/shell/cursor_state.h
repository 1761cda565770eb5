// The cursor's own state kept by the shell: its position on the current staff, the pending Home, the element
// drawn highlighted, the marked-note memory and the zone and markers that region commands work on.
#pragma once

namespace notavera {

// An element named by its page, staff index and element index; page 0 names nothing.
struct ElementPlace {
    int page = 0;
    int staff = 0;
    int element = -1;
    bool empty() const { return page == 0; }
    friend bool operator==(const ElementPlace&, const ElementPlace&) = default;
};

// The marked zone: all zero when none is marked. The zone's end is open while `last` is −1.
struct ZoneRecord {
    int lastStaff = 0;     // the staff of the zone's last element
    int start = -1;        // the start element
    int last = -1;         // the last element
    int page = 0;
    int startStaff = 0;    // the start element's staff
    int xLimit = 0;        // the x limit the zone operations stop at
    int spare = 0;         // free for the zone operations
    bool marked() const { return page != 0; }
};

// The zone rectangle in page units, drawn inverted on the page while shown.
struct ZoneRectangle {
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
    bool shown = false;
};

// The staff the cross-staff placement shows at its neighbour's place; page 0 when no staff is moved.
struct StaffPlacementMemory {
    int page = 0;
    int staff = 0;
    int placedAt = 0;  // the staff whose place it takes: its own index while at its own place
    bool empty() const { return page == 0; }
};

struct CursorState {
    int x = 0;                // page units along the current staff
    int y = 0;                // the current staff's y, truncated
    bool pendingHome = false;  // Home waits for an arrow
    ElementPlace highlighted;  // the element drawn highlighted after an arrow key
    ElementPlace markedNote;   // a note whose marking ends when the cursor reaches it
    int lastViewPage = 0;      // the current page at the last view action
    StaffPlacementMemory placement;

    // Markers and the zone.
    int markerPage = 0;        // page marker, 0 when not set
    int markerX = 0;           // 0 when not set
    int markerYOffset = 0;     // the cursor's offset from the zone's start element
    bool regionMarking = false;  // the move box marks a region instead of moving elements
    ZoneRecord zone;
    ZoneRectangle zoneRect;

    // Where the template staff was entered from: left again by Up or Down.
    int templateSavedStaff = 0;
    int templateSavedElement = -1;
};

}  // namespace notavera
