// Temporary element drawer: draws nothing until the element drawing joins the page pass.
#include "render/draw_element.h"

namespace notavera {

void DrawElement(DrawingContext&, const StaffRecord&, int) {}

}  // namespace notavera
