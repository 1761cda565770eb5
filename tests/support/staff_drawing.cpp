// The staff drawing fixture.
#include "support/staff_drawing.h"

#include <cmath>

#include "render/draw_element.h"
#include "render/geometry.h"
#include "score/new_document.h"
#include "support/page_fixtures.h"

namespace notavera::test {

StaffDrawing::StaffDrawing(const StaffLayoutModel& model) {
    doc.layoutModel = model;
    SetUpNewDocument(doc, 1);
    dc.canvas = &canvas;
    dc.corrections.screen = 0;
    SetStaffDefinition(dc, static_cast<int>(model.definition()));
    dc.staves = PlaceStaves(model, dc.metrics, PageFrame{2970, LeftEdge, LeftEdge, LineEnd});
    BeginDrawingPass(dc);
    canvas.clear();
}

StaffRecord& StaffDrawing::staff(int i) { return doc.page()->staves[static_cast<std::size_t>(i)]; }

void StaffDrawing::onStaff(int i) {
    doc.currentStaff = i;
    doc.currentElement = -1;
}

void StaffDrawing::drawStaff(int i) {
    canvas.clear();
    dc.staves[static_cast<std::size_t>(i)].clefs.clear();
    const StaffRecord& s = staff(i);
    BeginStaff(dc, s, i);
    for (int e = 0; e < static_cast<int>(s.elements.size()); ++e) DrawElement(dc, s, e);
}

std::vector<nlohmann::json> StaffDrawing::calls(std::string_view op) const {
    return CallsOf(canvas.calls(), std::string(op));
}

int StaffDrawing::reference(int i) const {
    return static_cast<int>(std::lround(dc.staves[static_cast<std::size_t>(i)].referenceY));
}

int StaffDrawing::line(int i, int fromTop) const {
    return reference(i) - dc.metrics.staffHeight[0] - fromTop * dc.metrics.staffSpace[0];
}

StaffLayoutModel ModelOfStaves(int count) {
    StaffLayoutModel m = StaffLayoutModel::makeDefault();
    m.setStaffCount(static_cast<unsigned>(count));
    for (int i = 0; i < count; ++i) {
        std::uint32_t& w = m.staffWord(i);
        w = 0;
        staff_model::Distance::set(w, i == 0 ? 10 : 13);
        staff_model::SystemGrouping::set(w, 3);
        staff_model::LineCount::set(w, 5);
    }
    return m;
}

}  // namespace notavera::test
