// Drawing and picture elements: placing them by page point, finding, moving and resizing them.
#include "edit/drawing_elements.h"

#include <algorithm>
#include <cmath>

#include "render/page_staves.h"
#include "render/staff_metrics.h"
#include "score/element_creation.h"

namespace notavera {

std::optional<DrawingStaffFrame> DrawingStaffFrameOf(const ScoreDocument& doc, int staff) {
    const std::optional<PlacedStaff> placed = PlaceStaffOfCurrentPage(doc, staff);
    if (!placed) return std::nullopt;
    const StaffDrawState& s = placed->state;
    // The drawing pass counts from the rounded reference: so does the placement.
    const int unit = placed->metrics.eighthSpace[s.small ? 1 : 0];
    return DrawingStaffFrame{static_cast<double>(std::lround(s.referenceY)), unit, s.topLine};
}

bool IsDrawingElement(const ElementRecord& e) {
    return e.isSignOfType(SignType::Drawing) || e.isSignOfType(SignType::Picture);
}

namespace {

struct Placement {
    int x = 0;
    int param = 0;
    PagePoint stored;  // the page point the element stands for
};

std::optional<Placement> PlaceAt(const ScoreDocument& doc, int staff, PagePoint at) {
    const std::optional<DrawingStaffFrame> f = DrawingStaffFrameOf(doc, staff);
    if (!f || f->eighthSpace <= 0) return std::nullopt;
    Placement p;
    p.x = static_cast<int>(std::lround(at.x));
    p.param = static_cast<int>(std::lround((at.y - f->reference) / f->eighthSpace));
    p.stored = {static_cast<double>(p.x), f->reference + p.param * f->eighthSpace};
    return p;
}

std::optional<int> Place(ScoreDocument& doc, int staff, const Placement& p, int code, SignType type,
                         std::span<const std::uint8_t> blob) {
    doc.currentStaff = staff;
    const StaffRecord* s = doc.staff();
    if (s == nullptr) return std::nullopt;
    // The new sign goes in staff order: the current element is the last one at or left of its x.
    int current = -1;
    for (int i = 0; i < static_cast<int>(s->elements.size()); ++i)
        if (s->elements[static_cast<std::size_t>(i)].x <= p.x) current = i;
    doc.currentElement = current >= 0 ? current : (s->elements.empty() ? -1 : 0);
    if (CreateSign(doc, p.x, p.param, code, type, 0, blob) == nullptr) return std::nullopt;
    return doc.currentElement;
}

}  // namespace

std::optional<int> InsertDrawing(ScoreDocument& doc, int staff, PagePoint at, const DrawingRecording& recording,
                                 int slot) {
    const std::optional<Placement> p = PlaceAt(doc, staff, at);
    if (!p || recording.points.empty()) return std::nullopt;
    const PointStep first = recording.points.front();
    const PointStep moved{static_cast<float>(first.dx + (at.x - p->stored.x)),
                          static_cast<float>(first.dy + (at.y - p->stored.y))};
    return Place(doc, staff, *p, slot, SignType::Drawing, EncodeRecording(WithFirstStep(recording, moved)));
}

std::optional<int> InsertPicture(ScoreDocument& doc, int staff, PagePoint at, const PictureHead& head,
                                 std::span<const std::uint8_t> metafile) {
    if (metafile.size() > maxPictureBytes) return std::nullopt;
    const std::optional<Placement> p = PlaceAt(doc, staff, at);
    if (!p) return std::nullopt;
    return Place(doc, staff, *p, 0, SignType::Picture, EncodePicture(head, metafile));
}

std::optional<Box> DrawingElementExtent(const ElementRecord& e, PagePoint origin) {
    if (!e.hasBlob()) return std::nullopt;
    const auto x = static_cast<int>(std::lround(origin.x)), y = static_cast<int>(std::lround(origin.y));
    if (e.isSignOfType(SignType::Picture)) {
        const std::optional<PictureBlob> p = DecodePicture(e.blob.payload());
        if (!p) return std::nullopt;
        return Box{x, y - p->head.yExtent, x + p->head.xExtent, y};
    }
    const std::optional<DrawingRecording> r =
        e.isSignOfType(SignType::Drawing) ? DecodeRecording(e.blob.payload()) : std::nullopt;
    if (!r || r->points.empty()) return std::nullopt;
    double left = origin.x + r->points.front().dx, bottom = origin.y + r->points.front().dy;
    double right = left, top = bottom, at = left, up = bottom;
    for (std::size_t i = 1; i < r->points.size(); ++i) {
        at += r->points[i].dx;
        up += r->points[i].dy;
        left = std::min(left, at), right = std::max(right, at);
        bottom = std::min(bottom, up), top = std::max(top, up);
    }
    const auto whole = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); };
    return Box{whole(left), whole(bottom), whole(right), whole(top)};
}

std::optional<int> NeighbourDrawing(const StaffRecord& staff, int from, bool forward) {
    const int count = static_cast<int>(staff.elements.size());
    for (int i = forward ? from + 1 : from - 1; i >= 0 && i < count; i += forward ? 1 : -1)
        if (IsDrawingElement(staff.elements[static_cast<std::size_t>(i)])) return i;
    return std::nullopt;
}

void MoveDrawing(ElementRecord& e, int steps) { e.param += steps; }

void ScaleDrawing(ElementRecord& e, double fx, double fy) {
    if (!e.isSignOfType(SignType::Drawing) || !e.hasBlob()) return;
    std::optional<DrawingRecording> r = DecodeRecording(e.blob.payload());
    if (!r) return;
    ScaleRecording(*r, fx, fy);
    e.attachBlob(EncodeRecording(*r));
}

void ResizePicture(ElementRecord& e, int dx, int dy) {
    if (!e.isSignOfType(SignType::Picture) || !e.hasBlob()) return;
    const auto payload = e.blob.payload();
    std::optional<PictureBlob> p = DecodePicture(payload);
    if (!p) return;
    std::vector<std::uint8_t> bytes(payload.begin(), payload.end());
    SetPictureExtents(bytes, std::max(p->head.xExtent + dx, 1), std::max(p->head.yExtent + dy, 1));
    e.attachBlob(bytes);
}

}  // namespace notavera
