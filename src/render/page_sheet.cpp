// Sheet geometry, frame, fill and crop marks.
#include "render/page_sheet.h"

#include <algorithm>
#include <array>

#include "score/little_endian.h"

namespace notavera {
namespace {

constexpr int MaxFirstPageOffset = 15999;  // "No de page initial" at most 16000
constexpr int SheetFrameOutset = 50;

Box ToDevice(const DrawingContext& dc, Box b) {
    return {dc.toDevice(b.left), dc.toDevice(b.bottom), dc.toDevice(b.right), dc.toDevice(b.top)};
}

}  // namespace

int PrintedPageNumber(const ScoreDocument& doc, int pageNumber) {
    if (!doc.optional.pagination) return pageNumber;
    const std::uint32_t offset = le::u32(*doc.optional.pagination, 0);
    return pageNumber + static_cast<int>(std::min<std::uint32_t>(offset, MaxFirstPageOffset));
}

Box SheetBox(const ScoreDocument& doc, int pageNumber) {
    FileHeader header = doc.header;
    const PageFormatBlock format = header.pageFormat();
    const bool odd = PrintedPageNumber(doc, pageNumber) % 2 != 0;
    const int leftMargin = odd ? format.leftMarginOdd() : format.leftMarginEven();
    Box sheet;
    sheet.left = -leftMargin * 10;
    sheet.right = sheet.left + doc.pageWidth;
    sheet.top = doc.pageHeight + format.topMargin() * 10;
    sheet.bottom = sheet.top - doc.pageHeight;
    return sheet;
}

Box PageArea(const ScoreDocument& doc, int pageNumber) {
    Box area = SheetBox(doc, pageNumber);
    if ((doc.header.blockFlags() & block_flag::cropMarks) != 0) {
        constexpr int reach = CropMarkGap + CropMarkLength;
        area = {area.left - reach, area.bottom - reach, area.right + reach, area.top + reach};
    }
    return area;
}

void DrawSheetFrame(DrawingContext& dc, Box sheet) {
    if (dc.canvas == nullptr) return;
    const Box frame{sheet.left, sheet.bottom - SheetFrameOutset, sheet.right + SheetFrameOutset, sheet.top};
    dc.canvas->drawRect(ToDevice(dc, frame), ShapeStyle{Pen{0, 0}, std::nullopt});
}

void FillSheet(DrawingContext& dc, Box sheet, bool tinted) {
    if (dc.canvas == nullptr) return;
    dc.canvas->drawRect(ToDevice(dc, sheet), ShapeStyle{std::nullopt, SheetFillColour(tinted)});
}

void DrawCropMarks(DrawingContext& dc, Box sheet) {
    if (dc.canvas == nullptr) return;
    const Pen pen{0, 0, PenStyle::Solid, PenEnds::Flat};
    constexpr int near = CropMarkGap, far = CropMarkGap + CropMarkLength;
    auto stroke = [&](int x1, int y1, int x2, int y2) {
        dc.canvas->drawLine({dc.toDevice(x1), dc.toDevice(y1)}, {dc.toDevice(x2), dc.toDevice(y2)}, pen);
    };
    const std::array<int, 2> xs{sheet.left, sheet.right}, ys{sheet.bottom, sheet.top};
    for (int x : xs) {
        const int out = x == sheet.left ? -1 : 1;
        for (int y : ys) {
            const int up = y == sheet.bottom ? -1 : 1;
            stroke(x + out * near, y, x + out * far, y);  // along the horizontal edge, beyond the corner
            stroke(x, y + up * near, x, y + up * far);    // along the vertical edge
        }
    }
}

}  // namespace notavera
