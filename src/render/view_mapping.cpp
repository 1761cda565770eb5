// Window pixels to page units.
#include "render/view_mapping.h"

#include <cmath>

namespace notavera {

Point PagePointOfPixel(const ViewMapping& m, double px, double py) {
    const auto logicalX = static_cast<int>(std::lround(m.windowOrigin.x + px * m.logicalPerPixel));
    const auto logicalY = static_cast<int>(std::lround(m.windowOrigin.y + (m.clientHeight - py) * m.logicalPerPixel));
    return {ToPage(logicalX, m.zoom), ToPage(logicalY, m.zoom)};
}

}  // namespace notavera
