// The lines of a page and the spacing settings of a staff of the open document.
#include "render/document_spacing.h"

#include <algorithm>

#include "render/document_drawing_settings.h"
#include "render/draw_signs.h"
#include "render/drawing_context.h"
#include "render/page_staves.h"
#include "score/score_document.h"

namespace notavera {

LineRange BlockOfStaff(const PageRecord& page, int staff) {
    const int count = static_cast<int>(page.staves.size());
    if (staff < 0 || staff >= count) return {staff, staff};
    const auto at = [&](int i) { return page.staves[static_cast<std::size_t>(i)].voice(); };
    const int position = static_cast<int>(at(staff).positionInGroup());
    const int size = static_cast<int>(at(staff).groupSize());
    if (position < 1 || size < 1 || position > size) return {staff, staff};
    const int first = staff - (position - 1);
    const int last = staff + (size - position);
    if (first < 0 || last >= count) return {staff, staff};
    // The staves in between must agree on the block, or the fields cannot be trusted.
    for (int i = first; i <= last; ++i)
        if (static_cast<int>(at(i).positionInGroup()) != i - first + 1) return {staff, staff};
    return {first, last};
}

std::vector<LineRange> LinesOfPage(const PageRecord& page) {
    std::vector<LineRange> lines;
    for (int i = 0; i < static_cast<int>(page.staves.size());) {
        LineRange r = BlockOfStaff(page, i);
        if (r.first != i) r = {i, i};  // a staff inside a block that does not start with it stands alone
        lines.push_back(r);
        i = r.last + 1;
    }
    return lines;
}

std::vector<StaffRecord*> StavesOf(PageRecord& page, LineRange line) {
    std::vector<StaffRecord*> staves;
    for (int i = line.first; i <= line.last; ++i) staves.push_back(&page.staves.at(static_cast<std::size_t>(i)));
    return staves;
}

int LeftEdgeOf(const PageRecord& page, const StaffRecord& staff) {
    return staff.key().indented() ? static_cast<int>(page.indent & 0xFFFFFFu) : 0;
}

int LineLengthOf(const PageRecord& page) { return static_cast<int>(page.lineLength & 0xFFFFFFu); }

int StartColumnOf(const PageRecord& page, const StaffRecord& staff, int stepUnit) {
    return LineStartColumn(LeftEdgeOf(page, staff), stepUnit);
}

DocumentSpacing::DocumentSpacing(const ScoreDocument& doc, const SignDistances& distances)
    : doc_(doc), distances_(distances), dc_(std::make_shared<DrawingContext>()) {
    dc_->canvas = nullptr;  // measuring only: the drawer reports its end x without writing anything
    UseDocumentSettings(*dc_, doc);
}

DocumentSpacing::~DocumentSpacing() = default;

SpacingSettings DocumentSpacing::forStaff(const PageRecord& page, const StaffRecord& staff) {
    const ScoreDocument& doc = doc_;
    if (placedPage_ != static_cast<int>(page.number)) {
        UsePageDefinition(*dc_, static_cast<int>(page.layoutWord().staffSize()));
        dc_->staves = PlacePageStaves(page, dc_->metrics, doc.pageHeight, doc.lineEnd(page));
        placedPage_ = static_cast<int>(page.number);
    }
    SpacingSettings s;
    s.stepUnit = std::max(doc.stepUnit, 1);
    s.step = std::max(doc.spacingStep, 1);
    s.rules.aesthetic = doc.settings.aestheticCorrection ? 1 : 0;
    s.rules.polyphony = doc.settings.polyphonyCorrection ? 1 : 0;
    s.tolerance = static_cast<signed char>(doc.settings.alignmentResolution);
    s.afterBar = distances_.afterBar;
    s.afterMeter = distances_.afterMeter;
    s.afterClef = distances_.afterClef;
    if (dc_->widths.accidentalWidth[0][0] > 0) s.accidentalWidth = dc_->widths.accidentalWidth[0][0];
    s.leftEdge = LeftEdgeOf(page, staff);
    s.lineLength = doc.lineEnd(page);
    s.staffKeyStart = StaffKeyStart(*dc_, staff, s.leftEdge, staff.key().small());
    std::shared_ptr<DrawingContext> dc = dc_;
    s.timeSignatureEnd = [dc](const StaffRecord& st, int index) { return DrawTimeSignature(*dc, st, index, true); };
    return s;
}

}  // namespace notavera
