// The page size derived from the page format.
#include "score/page_size.h"

#include <algorithm>

#include "score/score_document.h"

namespace notavera {

PageSize derivePageSize(const PageFormatBlock& format) {
    // A sheet outside the range the dialog allows can only come from a damaged file: keep it drawable.
    const int width = static_cast<int>(std::clamp<std::uint32_t>(format.sheetWidthMm(), 10, 1500)) * 10;
    const int height = static_cast<int>(std::clamp<std::uint32_t>(format.sheetHeightMm(), 10, 1500)) * 10;
    PageSize size;
    size.width = format.portrait() ? width : height;
    size.height = format.portrait() ? height : width;
    size.usableHeight = size.height - 40;
    return size;
}

void applyPageSize(ScoreDocument& doc) {
    const PageSize size = derivePageSize(doc.header.pageFormat());
    doc.pageWidth = size.width;
    doc.pageHeight = size.height;
}

}  // namespace notavera
