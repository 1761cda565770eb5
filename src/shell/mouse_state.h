// What the main window remembers between mouse events: the button held and the drag's anchor, the element the
// last click selected, a Ctrl+click waiting for its release, and the move box.
#pragma once

#include "platform/canvas.h"

namespace notavera {

// The move box: started by Shift+click or the character #, sized by its first two clicks; later presses drag
// what it encloses (or, while a region is being marked, the second click marks the region).
struct MoveBox {
    bool running = false;
    int clicks = 0;         // corners given so far (0, 1 or 2)
    Point corner;           // the first corner
    Box rect;               // page units, once both corners are given
    bool dragging = false;  // a press inside the sized box waits for its release
    Point dragFrom;
    bool handleSet = false;  // the keys steer the box with a handle, which starts at the cursor
    Point handle;
};

struct MouseState {
    bool leftHeld = false;
    bool dragArmed = false;        // the press was one whose drag acts on the score
    Point anchor;                  // the last point the quantised drag accepted
    bool elementSelected = false;  // the last click fell within one step of the current element
    bool clickSettle = false;      // set by a click on the current staff, cleared by timer 1
    bool markerXPending = false;   // a Ctrl+click moves the block to marker X on its release
    MoveBox box;
    bool freeSlurStarted = false;  // the free-slur tool has its first point
    Point freeSlurStart;
    bool freeSlurDrawn = false;      // the free slur of the current tool has been drawn
    bool slurHandleSet = false;      // the keys steer the free-slur tool with a handle, which starts at the cursor
    Point slurHandle;
    bool curveSteering = false;      // the keys steer the control points of the curve just placed
    int curvePage = 0;
    int curveStaff = 0;
    int curveElement = -1;
    int curvePoint = 0;              // 0 its end point, 1 its middle control points, 2 its start point
    bool curveSteered = false;       // the curve drag has saved its undo step
};

}  // namespace notavera
