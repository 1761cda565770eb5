// Where a point of the window lies on the page: the window shows the page from its window origin (zoomed logical
// units, y up from the client area's bottom edge), and the zoom turns logical units back into page units.
#pragma once

#include "platform/canvas.h"
#include "render/zoom.h"

namespace notavera {

struct ViewMapping {
    Point windowOrigin;            // zoomed logical units at the client area's bottom-left corner
    double logicalPerPixel = 1.0;  // zoomed logical units (tenths of a millimetre) per window pixel
    double clientHeight = 0.0;     // window pixels
    ZoomFraction zoom;
};

// The page point under a window pixel counted from the client area's top-left corner (y down).
Point PagePointOfPixel(const ViewMapping& mapping, double px, double py);

}  // namespace notavera
