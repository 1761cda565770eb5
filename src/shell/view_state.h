// How the window shows the document: its zoom and the continuous view.
#pragma once

#include "render/zoom.h"
#include "shell/command_ids.h"

namespace notavera {

struct ViewState {
    ZoomFraction zoom;                   // 1/1 at start
    int zoomMenuItem = cmd::ZoomNormal;  // the Zoom command whose item carries the check mark
    bool continuousView = false;
    int continuousOffset = 0;            // whole pages between the continuous view's first page and the view position
};

}  // namespace notavera
