// The page drawing pass, in its fixed order: sheet, masks, staff lines, groupings, page-mark line, the staves'
// contents (clefs, bars and drawings first, then every other element), running texts, crop marks.
#include "render/page_pass.h"

#include <algorithm>

#include "render/document_drawing_settings.h"
#include "render/draw_element.h"
#include "render/draw_signs.h"
#include "render/page_sheet.h"
#include "render/page_staves.h"
#include "render/octave_lines.h"
#include "render/page_texts.h"
#include "render/staff_groupings.h"
#include "render/ties.h"

namespace notavera {
namespace {

// The bar drawn in the main pass with the other elements: its shape is its own.
constexpr int SpecialBarCode = 12;

// Puts the context's drawing state back as the pass found it.
class DrawStateGuard {
public:
    explicit DrawStateGuard(DrawingContext& dc) : dc_(dc), saved_(dc.draw) {}
    ~DrawStateGuard() { dc_.draw = saved_; }
    DrawStateGuard(const DrawStateGuard&) = delete;
    DrawStateGuard& operator=(const DrawStateGuard&) = delete;

private:
    DrawingContext& dc_;
    DrawState saved_;
};

// Clefs (which build the clef state every later element reads), bars (which may reach over the staves below)
// and, outside the metafile passes, the drawing layer's items are drawn before any other element of any staff.
bool DrawnInPrePass(const ElementRecord& e, bool metafilePass) {
    if (!e.isSign()) return false;
    switch (e.signWord().signType()) {
    case SignType::Clef: return true;
    case SignType::Bar: return e.signWord().signedCode() != SpecialBarCode;
    case SignType::Drawing:
    case SignType::Picture: return !metafilePass;
    default: return false;
    }
}

// The pre-pass ends each staff with its line-start key, read in the clefs the pass has just entered.
void DrawStaffElements(DrawingContext& dc, const StaffRecord& staff, int index, bool prePass,
                       const ElementDrawer& draw) {
    BeginStaff(dc, staff, index);
    const bool metafile = dc.inMetafilePass();
    const int n = static_cast<int>(staff.elements.size());
    for (int j = 0; j < n; ++j) {
        if (DrawnInPrePass(staff.elements[static_cast<std::size_t>(j)], metafile) == prePass) draw(dc, staff, j);
    }
    if (prePass) {
        DrawStaffKeySignature(dc, staff, index);
        return;
    }
    FinishStaffCurves(dc, staff, dc.staves[static_cast<std::size_t>(index)].right);
    DrawOctaveLines(dc, staff);
}

// The contents of staves [0, count) of a page placed by dc.staves. The pre-pass runs without a canvas too, since
// it builds the clef state; the main pass draws staff `last` after all the others.
void DrawContents(DrawingContext& dc, const PageRecord& page, int count, int last, const ElementDrawer& draw) {
    const int n = std::min({count, static_cast<int>(page.staves.size()), static_cast<int>(dc.staves.size())});
    for (int i = 0; i < n; ++i) DrawStaffElements(dc, page.staves[static_cast<std::size_t>(i)], i, true, draw);
    if (dc.canvas == nullptr) return;
    for (int i = 0; i < n; ++i) {
        if (i != last && !page.staves[static_cast<std::size_t>(i)].elements.empty())
            DrawStaffElements(dc, page.staves[static_cast<std::size_t>(i)], i, false, draw);
    }
    if (last >= 0 && last < n) DrawStaffElements(dc, page.staves[static_cast<std::size_t>(last)], last, false, draw);
}

int StaffCountOf(const PageRecord& page) {
    return std::min(static_cast<int>(page.staves.size()), maxStavesPerPage);
}

// The fixed mask takes the page's own staff places; it leaves no clef state behind for the page's staves.
void DrawFixedMask(DrawingContext& dc, const PageRecord& mask, int pageStaves, const ElementDrawer& draw) {
    DrawContents(dc, mask, std::min(StaffCountOf(mask), pageStaves), -1, draw);
    for (StaffDrawState& s : dc.staves) s.clefs.clear();
}

// The variable mask is laid out by its own staff words, over no more staves than the page has.
void DrawVariableMask(DrawingContext& dc, const PageRecord& mask, int pageStaves, int pageTop, int lineEnd,
                      const ElementDrawer& draw) {
    std::vector<StaffDrawState> pageLayout = PlacePageStaves(mask, dc.metrics, pageTop, lineEnd);
    std::swap(pageLayout, dc.staves);
    const int count = std::min(StaffCountOf(mask), pageStaves);
    DrawStaffGroupings(dc, mask, count);
    DrawContents(dc, mask, count, -1, draw);
    std::swap(pageLayout, dc.staves);
}

void DrawPageMarkLine(DrawingContext& dc, Box sheet, int y) {
    const Pen pen{PageMarkColour, 0, PenStyle::Solid, PenEnds::Flat};
    dc.canvas->drawLine({dc.toDevice(sheet.left), dc.toDevice(y)}, {dc.toDevice(sheet.right), dc.toDevice(y)}, pen);
}

}  // namespace

void DrawPage(DrawingContext& dc, ScoreDocument& doc, const PageDrawOptions& options) {
    PageRecord* page = doc.page();
    if (page == nullptr) return;
    const DrawStateGuard keepDrawState(dc);
    const ElementDrawer draw = options.drawElement ? options.drawElement : ElementDrawer(DrawElement);

    UseDocumentSettings(dc, doc);
    UsePageDefinition(dc, static_cast<int>(page->layoutWord().staffSize()));
    BeginDrawingPass(dc);

    const int lineEnd = doc.lineEnd(*page);
    dc.staves = PlacePageStaves(*page, dc.metrics, doc.pageHeight, lineEnd);
    const int staffCount = static_cast<int>(dc.staves.size());
    for (int i = 0; i < staffCount; ++i)
        page->staves[static_cast<std::size_t>(i)].y = dc.staves[static_cast<std::size_t>(i)].referenceY;

    const Box sheet = SheetBox(doc, doc.currentPage);
    const bool hasCanvas = dc.canvas != nullptr;
    const bool exporting = dc.inMetafilePass();
    const bool screen = hasCanvas && dc.canvas->kind() == CanvasKind::Screen && !dc.printing && !exporting;
    if (hasCanvas && options.sheetFrame && !options.continuous && !exporting) DrawSheetFrame(dc, sheet);
    if (screen) FillSheet(dc, sheet, options.tintedSheet);

    // A mask page being edited is not drawn over itself.
    if (!dc.erasing && page->number != 0) {
        if (doc.optional.fixedMask && !page->layoutWord().withoutFixedMask())
            DrawFixedMask(dc, *doc.optional.fixedMask, staffCount, draw);
        if (doc.optional.variableMask && !page->layoutWord().withoutVariableMask())
            DrawVariableMask(dc, *doc.optional.variableMask, staffCount, doc.pageHeight, lineEnd, draw);
    }

    // The continuous view shows one line: the first system.
    const int shown = options.continuous ? std::min(StavesOfFirstSystem(*page), staffCount) : staffCount;
    if (!options.continuous) EndLinesAtClosingBars(dc, *page);
    DrawStaffLines(dc, shown);
    if (options.continuous) DrawContinuousSeparators(dc, *options.continuous, sheet.bottom);
    DrawStaffGroupings(dc, *page, shown);
    if (hasCanvas && options.pageMarkY) DrawPageMarkLine(dc, sheet, *options.pageMarkY);
    DrawContents(dc, *page, shown, doc.currentStaff, draw);

    if (!options.continuous) {
        DrawRunningTexts(dc, doc, doc.currentPage, sheet, lineEnd);
        if ((doc.header.blockFlags() & block_flag::cropMarks) != 0) DrawCropMarks(dc, sheet);
    }
}

}  // namespace notavera
